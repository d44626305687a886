#include "x11/desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cassert>
#include <utility>

#include "x11/error_trap.h"
#include "x11/window_stack.h"

namespace pimblo::x11 {
namespace {

// How deep below a root child a window manager puts the client it frames.
constexpr int kClientSearchDepth = 3;
// The root's events the desktop keeps track by: its own size, its children's lives.
constexpr long kRootEvents = StructureNotifyMask | SubstructureNotifyMask;
constexpr int kRandrEvents = RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask;

Rect OuterRect(int x, int y, int width, int height, int border) {
  return Rect{x, y, x + width + 2 * border, y + height + 2 * border};
}

template <class T, auto Free>
struct FreeWith {
  void operator()(T* p) const {
    if (p) Free(p);
  }
};
using ScreenResources = std::unique_ptr<XRRScreenResources, FreeWith<XRRScreenResources, XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeWith<XRROutputInfo, XRRFreeOutputInfo>>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeWith<XRRCrtcInfo, XRRFreeCrtcInfo>>;

struct XFreeDeleter {
  void operator()(void* p) const {
    if (p) XFree(p);
  }
};

}  // namespace

struct X11Desktop::State {
  Display* display = nullptr;  // not owned
  Window root = None;
  WindowStack stack;
  Window pet = None;
  std::vector<Rect> petOpaque;
  Rect rootRect;
  std::int32_t screenWidth = 0;
  std::int32_t screenHeight = 0;
  bool randr = false;
  int randrEventBase = 0;
  Atom windowType = None;
  Atom windowTypeDesktop = None;
  std::int64_t roundTrips = 0;

  // The window's _NET_WM_WINDOW_TYPE: whether it names the desktop type; nothing
  // when the window has none.
  std::optional<bool> DesktopTypeOf(Window window) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, windowType, 0, 32, False, XA_ATOM, &type, &format, &count, &after,
                           &data) != Success)
      return std::nullopt;
    const std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
    if (type != XA_ATOM || format != 32 || !data) return std::nullopt;
    const auto* atoms = reinterpret_cast<const long*>(data);  // format 32 comes as longs
    return std::any_of(atoms, atoms + count, [&](long a) { return static_cast<Atom>(a) == windowTypeDesktop; });
  }

  // The root child stands for the desktop when it, or the client a window manager
  // framed in it, is of the desktop type. The client is the first window below
  // with a window type: a window manager may mark it with WM_STATE only after
  // showing the frame. Round trips: asked when the child is mapped, never in a probe.
  bool IsDesktopType(Window child) {
    ErrorTrap trap(display);  // the window may be gone already
    std::vector<Window> level{child};
    for (int depth = 0; depth <= kClientSearchDepth && !level.empty(); ++depth) {
      std::vector<Window> next;
      for (Window window : level) {
        if (const std::optional<bool> desktop = DesktopTypeOf(window)) return *desktop;
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) continue;
        const std::unique_ptr<Window, XFreeDeleter> owned(children);
        next.insert(next.end(), children, children + count);
      }
      level = std::move(next);
    }
    return false;
  }

  // The root's size and the primary monitor's (RandR's primary output's CRTC; the
  // first CRTC that shows something when none is primary; the root without RandR).
  void ReadScreen() {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, root, &attributes)) rootRect = Rect{0, 0, attributes.width, attributes.height};
    screenWidth = rootRect.Width();
    screenHeight = rootRect.Height();
    if (!randr) return;
    const ScreenResources resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources) return;
    const auto crtcSize = [&](RRCrtc crtc) -> std::optional<std::pair<int, int>> {
      if (crtc == None) return std::nullopt;
      const CrtcInfo info(XRRGetCrtcInfo(display, resources.get(), crtc));
      if (!info || info->mode == None || info->width == 0 || info->height == 0) return std::nullopt;
      return std::pair{static_cast<int>(info->width), static_cast<int>(info->height)};
    };
    std::optional<std::pair<int, int>> size;
    if (const RROutput primary = XRRGetOutputPrimary(display, root); primary != None) {
      const OutputInfo output(XRRGetOutputInfo(display, resources.get(), primary));
      if (output) size = crtcSize(output->crtc);
    }
    for (int i = 0; !size && i < resources->ncrtc; ++i) size = crtcSize(resources->crtcs[i]);
    if (size) {
      screenWidth = size->first;
      screenHeight = size->second;
    }
  }

  // The root's children as they are now, read while no other client can change them.
  void ReadTree() {
    Window rootReturn = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<StackedWindow> bottomFirst;
    {
      ErrorTrap trap(display);
      if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        const std::unique_ptr<Window, XFreeDeleter> owned(children);
        for (unsigned int i = 0; i < count; ++i) {
          XWindowAttributes a{};
          if (!XGetWindowAttributes(display, children[i], &a)) continue;
          const bool mapped = a.map_state != IsUnmapped;
          bottomFirst.push_back(StackedWindow{children[i], OuterRect(a.x, a.y, a.width, a.height, a.border_width),
                                              mapped, false});
        }
      }
    }
    for (StackedWindow& w : bottomFirst)
      if (w.mapped) w.desktopType = IsDesktopType(static_cast<Window>(w.id));
    stack.Reset(std::move(bottomFirst));
  }

  // A window reparented to the root arrives on top, unmapped (a MapNotify follows
  // when it was mapped); its geometry is not in the event.
  void Adopt(Window window) {
    Rect rect;
    {
      ErrorTrap trap(display);
      XWindowAttributes a{};
      if (XGetWindowAttributes(display, window, &a) && trap.FirstError() == Success)
        rect = OuterRect(a.x, a.y, a.width, a.height, a.border_width);
    }
    stack.Created(window, rect);
  }

  // The pet counts at a point only where its shape is opaque (its window has no border).
  bool PetClearAt(const StackedWindow& w, std::int32_t x, std::int32_t y) const {
    if (w.id != pet) return false;
    const std::int32_t px = x - w.rect.left, py = y - w.rect.top;
    return std::none_of(petOpaque.begin(), petOpaque.end(), [&](const Rect& r) { return r.Contains(px, py); });
  }
};

X11Desktop::X11Desktop(Display* display) : state_(std::make_unique<State>()) {
  assert(display && "the desktop needs a connection");
  State& s = *state_;
  s.display = display;
  s.root = DefaultRootWindow(display);
  s.windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  s.windowTypeDesktop = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
  int errorBase = 0;
  s.randr = XRRQueryExtension(display, &s.randrEventBase, &errorBase);

  XGrabServer(display);
  XWindowAttributes rootAttributes{};
  XGetWindowAttributes(display, s.root, &rootAttributes);
  // Keeps whatever else this program has asked of the root.
  XSelectInput(display, s.root, rootAttributes.your_event_mask | kRootEvents);
  if (s.randr) XRRSelectInput(display, s.root, kRandrEvents);
  s.ReadTree();
  s.ReadScreen();
  XUngrabServer(display);
  XSync(display, False);
}

// The root's event selection stays: other parts of the program may rely on it.
X11Desktop::~X11Desktop() = default;

bool X11Desktop::Handle(const XEvent& event) {
  State& s = *state_;
  if (s.randr && event.type == s.randrEventBase + RRScreenChangeNotify) {
    XRRUpdateConfiguration(const_cast<XEvent*>(&event));  // Xlib's own copy of the screen's size
    s.ReadScreen();
    return true;
  }
  if (s.randr && event.type == s.randrEventBase + RRNotify) {
    s.ReadScreen();
    return true;
  }
  switch (event.type) {
    case CreateNotify: {
      const XCreateWindowEvent& e = event.xcreatewindow;
      if (e.parent != s.root) return false;
      s.stack.Created(e.window, OuterRect(e.x, e.y, e.width, e.height, e.border_width));
      return true;
    }
    case DestroyNotify:
      if (event.xdestroywindow.event != s.root) return false;
      s.stack.Removed(event.xdestroywindow.window);
      return true;
    case ConfigureNotify: {
      const XConfigureEvent& e = event.xconfigure;
      if (e.event != s.root) return false;
      if (e.window == s.root) s.ReadScreen();
      else s.stack.Configured(e.window, OuterRect(e.x, e.y, e.width, e.height, e.border_width), e.above);
      return true;
    }
    case MapNotify:
      if (event.xmap.event != s.root) return false;
      s.stack.Mapped(event.xmap.window, s.IsDesktopType(event.xmap.window));
      return true;
    case UnmapNotify:
      if (event.xunmap.event != s.root) return false;
      s.stack.Unmapped(event.xunmap.window);
      return true;
    case ReparentNotify: {
      const XReparentEvent& e = event.xreparent;
      if (e.event != s.root) return false;
      if (e.parent == s.root) s.Adopt(e.window);
      else s.stack.Removed(e.window);
      return true;
    }
    case CirculateNotify: {
      const XCirculateEvent& e = event.xcirculate;
      if (e.event != s.root) return false;
      s.stack.Circulated(e.window, e.place == PlaceOnTop ? StackEnd::Top : StackEnd::Bottom);
      return true;
    }
    case GravityNotify: {
      const XGravityEvent& e = event.xgravity;
      if (e.event != s.root) return false;
      s.stack.Moved(e.window, e.x, e.y);
      return true;
    }
    default: return false;
  }
}

void X11Desktop::SetPet(Window pet, std::vector<Rect> opaque) {
  state_->pet = pet;
  state_->petOpaque = std::move(opaque);
}

WindowHandle X11Desktop::WindowFromPoint(ScreenPoint p) {
  const State& s = *state_;
  const StackedWindow* w = s.stack.At(p.x, p.y, [&](const StackedWindow& c) { return s.PetClearAt(c, p.x, p.y); });
  if (!w || w->desktopType) return s.root;
  return w->id;
}

std::optional<Rect> X11Desktop::GetWindowRect(WindowHandle window) {
  const State& s = *state_;
  if (window == s.root) return s.rootRect;
  const StackedWindow* w = s.stack.Find(window);
  if (!w) return std::nullopt;
  return w->rect;
}

std::int32_t X11Desktop::GetSystemMetrics(Metric metric) {
  const State& s = *state_;
  switch (metric) {
    case Metric::ScreenWidth: return s.screenWidth;
    case Metric::ScreenHeight: return s.screenHeight;
    case Metric::DesktopLeft: return s.rootRect.left;
    case Metric::DesktopTop: return s.rootRect.top;
    case Metric::DesktopWidth: return s.rootRect.Width();
    case Metric::DesktopHeight: return s.rootRect.Height();
  }
  return 0;
}

ScreenPoint X11Desktop::GetCursorPos() {
  State& s = *state_;
  ++s.roundTrips;
  Window rootReturn = None, child = None;
  int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
  unsigned int buttons = 0;
  XQueryPointer(s.display, s.root, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY, &buttons);
  return {rootX, rootY};
}

WindowHandle X11Desktop::GetTopWindow() {
  const StackedWindow* top = state_->stack.Top();
  return top ? top->id : 0;
}

std::int64_t X11Desktop::RoundTrips() const { return state_->roundTrips; }

std::vector<StackedWindow> KeptWindows(const X11Desktop& desktop) { return desktop.state_->stack.BottomFirst(); }

}  // namespace pimblo::x11
