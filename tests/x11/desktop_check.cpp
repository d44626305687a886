// Checks that the desktop kept from the structure events agrees with the X
// server. A second connection plays the other clients and changes the windows at
// random from a fixed seed; after each batch the kept children, their order and
// rectangles, and the answers at random points are compared with what the server
// says, and a burst of probes must send it nothing.
//
// desktop_check [SEED [BATCHES]] on $DISPLAY, with or without a window manager.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "x11/desktop.h"
#include "x11/scoped_x.h"
#include "x11/window_stack.h"

namespace pimblo::x11 {
namespace {

constexpr int kProbesPerBatch = 300;
constexpr int kMaxChanges = 8;
constexpr std::size_t kMaxWindows = 24;
constexpr int kManagerWaits = 400;
constexpr std::chrono::milliseconds kManagerWait{5};

Display* g_ours = nullptr;
int g_ourErrors = 0;

// Errors of the other clients are the ones a random client makes (a window its
// own change has destroyed, a reparent into its own child); ours are faults.
int OnError(Display* display, XErrorEvent* error) {
  if (display == g_ours) {
    char text[128];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "error on the desktop's connection: %s (request %d)\n", text, error->request_code);
    ++g_ourErrors;
  }
  return 0;
}

bool UnderWindowManager(Display* display) {
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), 0,
                     1, False, XA_WINDOW, &type, &format, &n, &after, &data);
  if (data) XFree(data);
  return type == XA_WINDOW && n == 1;
}

std::string Show(const Rect& r) {
  std::ostringstream out;
  out << '(' << r.left << ',' << r.top << ' ' << r.right << ',' << r.bottom << ')';
  return out.str();
}

std::string Show(const std::vector<StackedWindow>& windows) {
  std::ostringstream out;
  for (const StackedWindow& w : windows)
    out << "  0x" << std::hex << w.id << std::dec << ' ' << Show(w.rect) << (w.desktopType ? " desktop" : "") << '\n';
  return out.str();
}

// The server's answers, asked on the desktop's own connection while it holds the server.
class Reference {
 public:
  explicit Reference(Display* display)
      : display_(display), root_(DefaultRootWindow(display)),
        windowType_(XInternAtom(display, "_NET_WM_WINDOW_TYPE", False)),
        desktopType_(XInternAtom(display, "_NET_WM_WINDOW_TYPE_DESKTOP", False)) {}

  // The root's viewable children, bottom first, with their outer rectangles.
  std::vector<StackedWindow> Viewable() const {
    Window rootReturn = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<StackedWindow> result;
    if (!XQueryTree(display_, root_, &rootReturn, &parent, &children, &count)) return result;
    for (unsigned int i = 0; i < count; ++i) {
      XWindowAttributes a{};
      if (!XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable) continue;
      result.push_back(StackedWindow{children[i],
                                     {a.x, a.y, a.x + a.width + 2 * a.border_width, a.y + a.height + 2 * a.border_width},
                                     true, StandsForDesktop(children[i])});
    }
    if (children) XFree(children);
    return result;
  }

  Rect RootRect() const {
    XWindowAttributes a{};
    XGetWindowAttributes(display_, root_, &a);
    return {0, 0, a.width, a.height};
  }

 private:
  // The window's type names the desktop; nothing when it has no type.
  std::optional<bool> IsDesktop(Window w) const {
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, w, windowType_, 0, 32, False, XA_ATOM, &type, &format, &n, &after, &data);
    std::optional<bool> desktop;
    if (data && format == 32 && type == XA_ATOM) {
      desktop = false;
      for (unsigned long i = 0; i < n; ++i) *desktop |= static_cast<Atom>(reinterpret_cast<long*>(data)[i]) == desktopType_;
    }
    if (data) XFree(data);
    return desktop;
  }
  // The window itself, or the client a window manager framed below it (the
  // first window with a type, at most three levels down), is of the desktop type.
  bool StandsForDesktop(Window child) const {
    std::vector<Window> level{child};
    for (int depth = 0; depth <= 3 && !level.empty(); ++depth) {
      std::vector<Window> next;
      for (Window w : level) {
        if (const auto desktop = IsDesktop(w)) return *desktop;
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, w, &rootReturn, &parent, &children, &count)) continue;
        next.insert(next.end(), children, children + count);
        if (children) XFree(children);
      }
      level = std::move(next);
    }
    return false;
  }

  Display* display_;
  Window root_;
  Atom windowType_, desktopType_;
};

// The other clients: top-levels and override-redirect windows made, moved,
// restacked, reparented and destroyed at random.
class Others {
 public:
  Others(Display* display, unsigned seed) : display_(display), root_(DefaultRootWindow(display)), random_(seed) {
    windowType_ = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    desktopType_ = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
  }

  // The pet: override-redirect, no border, on top; only moved and restacked.
  Window MakePet() {
    XSetWindowAttributes set{};
    set.override_redirect = True;
    pet_ = XCreateWindow(display_, root_, 300, 300, 64, 64, 0, CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect, &set);
    XMapRaised(display_, pet_);
    windows_.push_back({pet_, false, false});
    return pet_;
  }

  void Batch() {
    const int changes = 1 + Pick(kMaxChanges);
    for (int i = 0; i < changes; ++i) Change();
  }

  const std::vector<Window>& Gone() const { return gone_; }

 private:
  struct Made {
    Window id;
    bool desktop;
    bool away;  // reparented into another of ours
  };

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  Made& Any() { return windows_[static_cast<std::size_t>(Pick(static_cast<int>(windows_.size())))]; }
  Made* AnyButPet() {
    Made& m = Any();
    return m.id == pet_ ? nullptr : &m;
  }

  void Create() {
    XSetWindowAttributes set{};
    set.override_redirect = Pick(3) == 0;
    set.background_pixel = static_cast<unsigned long>(Pick(0xffffff));
    const Window w = XCreateWindow(display_, root_, Pick(1100) - 50, Pick(850) - 50,
                                   static_cast<unsigned>(1 + Pick(400)), static_cast<unsigned>(1 + Pick(300)),
                                   static_cast<unsigned>(Pick(6)), CopyFromParent, InputOutput, CopyFromParent,
                                   CWOverrideRedirect | CWBackPixel, &set);
    const bool desktop = !set.override_redirect && Pick(12) == 0;
    if (desktop) {
      const long type = static_cast<long>(desktopType_);
      XChangeProperty(display_, w, windowType_, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&type), 1);
    }
    if (Pick(3) != 0) XMapWindow(display_, w);
    windows_.push_back({w, desktop, false});
  }

  void Destroy() {
    Made* m = AnyButPet();
    if (!m) return;
    XDestroyWindow(display_, m->id);
    gone_.push_back(m->id);
    windows_.erase(windows_.begin() + (m - windows_.data()));
  }

  void Configure() {
    Made& m = Any();
    XWindowChanges c{};
    c.x = Pick(1100) - 50;
    c.y = Pick(850) - 50;
    c.width = 1 + Pick(400);
    c.height = 1 + Pick(300);
    c.border_width = Pick(6);
    unsigned mask = CWX | CWY;
    if (m.id != pet_) mask |= Pick(2) ? CWWidth | CWHeight : 0;
    if (m.id != pet_ && Pick(3) == 0) mask |= CWBorderWidth;
    XConfigureWindow(display_, m.id, mask, &c);
  }

  void Restack() {
    switch (Pick(5)) {
      case 0: XRaiseWindow(display_, Any().id); break;
      case 1: XLowerWindow(display_, Any().id); break;
      case 2: {
        std::vector<Window> list;
        const int n = 2 + Pick(3);
        for (int i = 0; i < n; ++i) list.push_back(Any().id);
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        std::shuffle(list.begin(), list.end(), random_);
        XRestackWindows(display_, list.data(), static_cast<int>(list.size()));
        break;
      }
      case 3: XCirculateSubwindows(display_, root_, Pick(2) ? RaiseLowest : LowerHighest); break;
      default: {
        XWindowChanges c{};
        c.sibling = Any().id;
        c.stack_mode = Pick(2) ? Above : Below;
        const Window w = Any().id;
        if (w != c.sibling) XConfigureWindow(display_, w, CWSibling | CWStackMode, &c);
      }
    }
  }

  void Reparent() {
    Made* m = AnyButPet();
    if (!m || m->desktop) return;
    if (m->away) {
      XReparentWindow(display_, m->id, root_, Pick(900), Pick(700));
      m->away = false;
      return;
    }
    Made* into = AnyButPet();
    if (!into || into == m || into->desktop) return;
    XReparentWindow(display_, m->id, into->id, Pick(50), Pick(50));
    m->away = true;
  }

  void Change() {
    if (windows_.size() < 3 || (windows_.size() < kMaxWindows && Pick(5) == 0)) return Create();
    switch (Pick(9)) {
      case 0: Destroy(); break;
      case 1: XMapWindow(display_, Any().id); break;
      case 2: {
        Made* m = AnyButPet();
        if (m) XUnmapWindow(display_, m->id);
        break;
      }
      case 3:
      case 4: Configure(); break;
      case 5:
      case 6: Restack(); break;
      case 7: Reparent(); break;
      default: windows_.size() >= kMaxWindows ? Destroy() : Create();
    }
  }

  Display* display_;
  Window root_;
  std::mt19937 random_;
  Atom windowType_ = None, desktopType_ = None;
  Window pet_ = None;
  std::vector<Made> windows_;
  std::vector<Window> gone_;
};

// The pet's opaque rectangles, in its window's coordinates.
const std::vector<Rect> kPetOpaque = {{0, 0, 32, 16}, {8, 16, 24, 40}};

bool PetClearAt(const StackedWindow& w, Window pet, std::int32_t x, std::int32_t y) {
  if (w.id != pet) return false;
  return std::none_of(kPetOpaque.begin(), kPetOpaque.end(),
                      [&](const Rect& r) { return r.Contains(x - w.rect.left, y - w.rect.top); });
}

int Run(unsigned seed, int batches) {
  ScopedDisplay ours(XOpenDisplay(nullptr));
  ScopedDisplay theirs(XOpenDisplay(nullptr));
  if (!ours || !theirs) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  g_ours = ours.Get();
  XSetErrorHandler(&OnError);
  Display* d = ours.Get();
  const Window root = DefaultRootWindow(d);

  Others others(theirs.Get(), seed);
  const Window pet = others.MakePet();
  XSync(theirs.Get(), False);
  X11Desktop desktop(d);
  desktop.SetPet(pet, kPetOpaque);
  Reference reference(d);
  std::mt19937 points(seed ^ 0x5eedu);
  long probes = 0;
  long managerWaits = 0;
  const bool managed = UnderWindowManager(d);

  const auto fail = [&](int batch, const std::string& what) {
    std::fprintf(stderr, "MISMATCH seed %u batch %d: %s\n", seed, batch, what.c_str());
    XUngrabServer(d);  // the other connection closes after this one's grab
    XSync(d, False);
    return 1;
  };

  for (int batch = 0; batch <= batches; ++batch) {
    if (batch > 0) others.Batch();
    XSync(theirs.Get(), False);
    // Held while comparing, so that neither the other clients nor a window
    // manager change anything between the events taken and the answers read.
    const auto holdAndTake = [&] {
      XGrabServer(d);
      XSync(d, False);
      while (XPending(d)) {
        XEvent event;
        XNextEvent(d, &event);
        desktop.Handle(event);
      }
    };
    const auto kept = [&] {
      std::vector<StackedWindow> mapped;
      for (const StackedWindow& w : KeptWindows(desktop))
        if (w.mapped) mapped.push_back(w);
      return mapped;
    };
    holdAndTake();
    std::vector<StackedWindow> server = reference.Viewable();
    // A window manager may be caught halfway (a framed client destroyed, its
    // frame not yet taken down): it is let go on until it has done.
    for (int wait = 0; managed && kept() != server && wait < kManagerWaits; ++wait, ++managerWaits) {
      XUngrabServer(d);
      XSync(d, False);
      std::this_thread::sleep_for(kManagerWait);
      holdAndTake();
      server = reference.Viewable();
    }
    if (kept() != server)
      return fail(batch, "the viewable children differ\nserver:\n" + Show(server) + "kept:\n" + Show(kept()));
    const Rect rootRect = reference.RootRect();

    // The probes: nothing may reach the server.
    const unsigned long requestsBefore = XNextRequest(d);
    const std::int64_t tripsBefore = desktop.RoundTrips();
    for (int i = 0; i < kProbesPerBatch; ++i, ++probes) {
      const ScreenPoint p{std::uniform_int_distribution<int>(-20, rootRect.right + 20)(points),
                          std::uniform_int_distribution<int>(-20, rootRect.bottom + 20)(points)};
      Window expected = root;
      Rect expectedRect = rootRect;
      for (auto it = server.rbegin(); it != server.rend(); ++it) {
        if (!it->rect.Contains(p.x, p.y) || PetClearAt(*it, pet, p.x, p.y)) continue;
        if (!it->desktopType) expected = static_cast<Window>(it->id), expectedRect = it->rect;
        break;
      }
      const WindowHandle got = desktop.WindowFromPoint(p);
      const std::optional<Rect> rect = desktop.GetWindowRect(got);
      if (got != expected || rect != expectedRect) {
        std::ostringstream out;
        out << "at (" << p.x << ',' << p.y << ") the desktop answers 0x" << std::hex << got << std::dec << ' '
            << (rect ? Show(*rect) : "none") << ", the server 0x" << std::hex << expected << std::dec << ' '
            << Show(expectedRect) << "\nserver:\n" << Show(server);
        return fail(batch, out.str());
      }
    }
    const WindowHandle top = desktop.GetTopWindow();
    const WindowHandle expectedTop = server.empty() ? 0 : server.back().id;
    if (top != expectedTop) return fail(batch, "the top window differs");
    for (Window gone : others.Gone())
      if (desktop.GetWindowRect(gone)) return fail(batch, "a destroyed window still has a rectangle");
    if (desktop.GetSystemMetrics(Metric::DesktopWidth) != rootRect.right ||
        desktop.GetSystemMetrics(Metric::DesktopHeight) != rootRect.bottom ||
        desktop.GetSystemMetrics(Metric::DesktopLeft) != 0 || desktop.GetSystemMetrics(Metric::DesktopTop) != 0)
      return fail(batch, "the desktop's metrics differ from the root's size");
    // Xvfb's one monitor covers its screen.
    if (desktop.GetSystemMetrics(Metric::ScreenWidth) != rootRect.right ||
        desktop.GetSystemMetrics(Metric::ScreenHeight) != rootRect.bottom)
      return fail(batch, "the monitor's size differs from the screen's");
    if (XNextRequest(d) != requestsBefore || desktop.RoundTrips() != tripsBefore)
      return fail(batch, "the probes sent requests to the server");
    XUngrabServer(d);
    XFlush(d);
    if (g_ourErrors) return fail(batch, "the desktop's connection had errors");
  }
  // What the last batch left on the screen, for a person to look at.
  if (const char* shot = std::getenv("PIMBLO_DESKTOP_CHECK_SHOT")) {
    const std::string command = "import -window root '" + std::string(shot) + "'";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "no screenshot taken\n");
  }
  const std::int64_t trips = desktop.RoundTrips();
  desktop.GetCursorPos();
  if (desktop.RoundTrips() != trips + 1) return fail(batches, "the cursor's position is not counted as a round trip");
  std::printf("desktop_check: seed %u, %d batches, %ld probes agree with the server%s (%ld waits for it)\n", seed,
              batches, probes, managed ? " under a window manager" : "", managerWaits);
  return 0;
}

}  // namespace
}  // namespace pimblo::x11

int main(int argc, char** argv) {
  const unsigned seed = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 1u;
  const int batches = argc > 2 ? std::atoi(argv[2]) : 300;
  return pimblo::x11::Run(seed, batches);
}
