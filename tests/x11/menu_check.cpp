// The pet's context menu as a user meets it on an X server of its own: opened,
// looked at, pointed at, keyed and clicked with xdotool while the program's
// tick keeps running. Screenshots go to $PIMBLO_SHOT_DIR when it is set.
// GoogleTest comes before X, whose macros (None, Bool…) would break it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "look/menu_colors.h"
#include "x11/menu_layout.h"
#include "x11/scoped_x.h"
#include "x11/x_menu_canvas.h"
#include "xapp/context_menu.h"
#include "tests/x11/test_display.h"

namespace pimblo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kActPatience = 10s;  // a busy machine is slow, a broken menu never gets there
// What the user sees: the selection bar's fill (the highlight lightened), and
// text ink, darker than anything else on the light menu.
constexpr Pixel kBarFill = MakePixel(190, 222, 255);
constexpr int kInkLevel = 100;
constexpr int kIconColumn = 24;
constexpr int kTextIndent = 5;

// The index of the first entry of a command in the table.
int IndexOf(MenuCommand command) {
  for (std::size_t i = 0; i < kContextMenuEntries.size(); ++i)
    if (kContextMenuEntries[i].command == command) return static_cast<int>(i);
  ADD_FAILURE() << "no such entry";
  return 0;
}

void Xdo(const std::string& arguments) {
  const std::string command = "xdotool " + arguments;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void Shot(const std::string& name) {
  const char* dir = std::getenv("PIMBLO_SHOT_DIR");
  if (!dir) return;
  const std::string command = "import -window root " + std::string(dir) + "/" + name + ".png";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

class MenuCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(D()) << "no X display";
    Xdo("mousemove 5 5");  // well away from every menu below
  }

  Display* D() const { return x11::TestDisplay(); }
  Window Root() const { return DefaultRootWindow(D()); }

  // The screen now, as a picture.
  Bitmap Screen() {
    const int w = DisplayWidth(D(), DefaultScreen(D())), h = DisplayHeight(D(), DefaultScreen(D()));
    XImage* image = XGetImage(D(), Root(), 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                              ZPixmap);
    Bitmap shot(w, h);
    if (!image) return shot;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) shot.At(x, y) = static_cast<Pixel>(XGetPixel(image, x, y)) & 0xFFFFFF;
    XDestroyImage(image);
    return shot;
  }

  // The menu on the screen: the top-most shown window that says it is a popup menu.
  std::optional<Rect> MenuOnScreen() {
    const Atom type = XInternAtom(D(), "_NET_WM_WINDOW_TYPE", False);
    const Atom popupMenu = XInternAtom(D(), "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(D(), Root(), &root, &parent, &children, &count)) return std::nullopt;
    const std::unique_ptr<Window, int (*)(void*)> owned(children, XFree);
    for (unsigned i = count; i-- > 0;) {
      XWindowAttributes a;
      if (!XGetWindowAttributes(D(), children[i], &a) || a.map_state != IsViewable) continue;
      Atom actual = 0;
      int format = 0;
      unsigned long items = 0, left = 0;
      unsigned char* value = nullptr;
      if (XGetWindowProperty(D(), children[i], type, 0, 1, False, XA_ATOM, &actual, &format, &items, &left, &value) !=
          Success)
        continue;
      const bool menu = value && items == 1 && *reinterpret_cast<Atom*>(value) == popupMenu;
      if (value) XFree(value);
      if (menu) return Rect{a.x, a.y, a.x + a.width, a.y + a.height};
    }
    return std::nullopt;
  }

  // The items' rectangles on the screen for a menu at `menu`, as measured by its look.
  std::vector<Rect> ItemsOn(ContextMenu& contextMenu, const Rect& menu) {
    const int screen = DefaultScreen(D());
    x11::XMenuCanvas canvas(D(), Root(), 1, 1, DefaultVisual(D(), screen), DefaultColormap(D(), screen),
                            DefaultDepth(D(), screen));
    std::vector<MenuSize> sizes;
    MenuEntry& root = contextMenu.Tree().Items();
    for (int i = 0; i < root.Count(); ++i) {
      int w = 0, h = 0;
      root.Items(i).OnMeasureItem.Call(root.Items(i), canvas, w, h);
      sizes.push_back({w, h});
    }
    std::vector<Rect> items = x11::LayOutMenu(sizes).items;
    for (Rect& r : items) r = {r.left + menu.left, r.top + menu.top, r.right + menu.left, r.bottom + menu.top};
    return items;
  }

  // Opens the menu at (x, y) and runs the acts from its tick, each until it
  // says it is done; an act that never is fails and closes the menu.
  std::optional<MenuCommand> Run(ContextMenu& menu, int x, int y, std::vector<std::function<bool()>> acts,
                                 const std::function<void(XEvent&)>& other = [](XEvent&) {}) {
    std::size_t at = 0;
    auto since = Clock::now();
    ticks_ = 0;
    const auto tick = [&] {
      ++ticks_;
      if (at < acts.size() && acts[at]()) {
        ++at;
        since = Clock::now();
      } else if (Clock::now() - since > kActPatience) {
        ADD_FAILURE() << (at < acts.size() ? "act " + std::to_string(at) + " never came about"
                                            : std::string("the menu stayed open"));
        at = acts.size();
        since = Clock::now();
        Xdo("key Escape");
      }
    };
    return menu.Popup(D(), x, y, tick, other);
  }

  int ticks_ = 0;
};

int CountIn(const Bitmap& shot, const Rect& r, const std::function<bool(Pixel)>& wanted) {
  int n = 0;
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, shot.height); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.right, shot.width); ++x)
      if (wanted(shot.At(x, y))) ++n;
  return n;
}
bool Ink(Pixel p) { return (RedOf(p) + GreenOf(p) + BlueOf(p)) / 3 < kInkLevel; }
bool Bar(Pixel p) { return p == kBarFill; }

// The rows of the screen that hold the selection bar: the items it lies in.
std::vector<int> BarredItems(const Bitmap& shot, const std::vector<Rect>& items) {
  std::vector<int> barred;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (CountIn(shot, items[i], Bar) > items[i].Width()) barred.push_back(static_cast<int>(i));
  return barred;
}

TEST_F(MenuCheck, ShowsEveryCaptionAndGlyphAndTheBarFollowsThePointer) {
  ContextMenu menu;
  std::vector<Rect> items;
  const int stop = IndexOf(MenuCommand::Stop), faster = IndexOf(MenuCommand::SpeedUp);
  const auto pointAt = [&](int item) {
    const Rect& r = items[static_cast<std::size_t>(item)];
    Xdo("mousemove " + std::to_string(r.left + r.Width() / 2) + " " + std::to_string(r.top + r.Height() / 2));
  };
  const auto barOn = [&](int item) { return BarredItems(Screen(), items) == std::vector<int>{item}; };

  const auto chosen = Run(menu, 300, 200, {
      [&] {
        const std::optional<Rect> shown = MenuOnScreen();
        if (!shown) return false;
        EXPECT_EQ(shown->left, 300);
        EXPECT_EQ(shown->top, 200);
        items = ItemsOn(menu, *shown);
        Shot("menu-open");
        const Bitmap shot = Screen();
        EXPECT_TRUE(BarredItems(shot, items).empty()) << "nothing is selected before the pointer comes";
        for (std::size_t i = 0; i < items.size(); ++i) {
          const Rect& r = items[i];
          const Rect icon{r.left, r.top, r.left + kIconColumn, r.bottom};
          const Rect text{r.left + kIconColumn + kTextIndent, r.top, r.right, r.bottom};
          const int ink = CountIn(shot, text, Ink);
          const int iconInk = CountIn(shot, icon, [&](Pixel p) { return p != shot.At(r.left, r.top + 1); });
          if (kContextMenuEntries[i].command == MenuCommand::Separator) {
            EXPECT_EQ(ink, 0) << "separator " << i;
            EXPECT_GT(CountIn(shot, text, [&](Pixel p) { return p != shot.At(r.right - 1, r.top); }), 30)
                << "separator " << i << " has its line";
          } else {
            EXPECT_GT(ink, 40) << "caption of item " << i;
            EXPECT_GT(iconInk, 100) << "glyph of item " << i;
          }
        }
        // The same Chinese characters look the same and different ones differently:
        // 开机自动运行 and 取消自动运行 share their last four.
        const int on = IndexOf(MenuCommand::AutostartOn), off = IndexOf(MenuCommand::AutostartOff);
        const int screen = DefaultScreen(D());
        x11::XMenuCanvas canvas(D(), Root(), 1, 1, DefaultVisual(D(), screen), DefaultColormap(D(), screen),
                                DefaultDepth(D(), screen));
        const int head = canvas.TextExtent(L" 开机").cx, whole = canvas.TextExtent(L" 开机自动运行").cx;
        const auto inkMask = [&](int item, int from, int to) {
          const Rect& r = items[static_cast<std::size_t>(item)];
          std::vector<bool> mask;
          for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left + kIconColumn + kTextIndent + from; x < r.left + kIconColumn + kTextIndent + to; ++x)
              mask.push_back(Ink(shot.At(x, y)));
          return mask;
        };
        EXPECT_TRUE(inkMask(on, 0, head) != inkMask(off, 0, head)) << "different characters are drawn differently";
        EXPECT_TRUE(inkMask(on, head, whole) == inkMask(off, head, whole)) << "the same characters are drawn alike";
        pointAt(stop);
        return true;
      },
      [&] { return barOn(stop); },
      [&] {
        Shot("menu-pointed-first");
        pointAt(faster);
        return true;
      },
      [&] { return barOn(faster); },
      [&] {
        Shot("menu-pointed-faster");
        Xdo("key Escape");
        return true;
      },
  });
  EXPECT_EQ(chosen, std::nullopt) << "Esc closes with nothing chosen";
  EXPECT_EQ(MenuOnScreen(), std::nullopt) << "and the menu is gone";
  EXPECT_GT(ticks_, 0) << "the pet moved on while the menu was open";
}

TEST_F(MenuCheck, ArrowsWrapAndSkipSeparatorsAndEnterChooses) {
  ContextMenu menu;
  std::vector<Rect> items;
  const int quit = IndexOf(MenuCommand::Quit), visit = IndexOf(MenuCommand::Visit), help = IndexOf(MenuCommand::Help);
  const auto keyThenBar = [&](const char* key, int item) -> std::vector<std::function<bool()>> {
    return {[&, key] {
              Xdo(std::string("key ") + key);
              return true;
            },
            [&, item] { return BarredItems(Screen(), items) == std::vector<int>{item}; }};
  };
  std::vector<std::function<bool()>> acts{[&] {
    const std::optional<Rect> shown = MenuOnScreen();
    if (shown) items = ItemsOn(menu, *shown);
    return shown.has_value();
  }};
  for (auto [key, item] : {std::pair{"Down", 0}, {"Up", quit}, {"Up", visit}, {"Up", help}})
    for (auto& act : keyThenBar(key, item)) acts.push_back(act);
  acts.push_back([&] {
    Shot("menu-keyed-help");
    Xdo("key Return");
    return true;
  });
  EXPECT_EQ(Run(menu, 300, 200, acts), MenuCommand::Help);
  EXPECT_EQ(MenuOnScreen(), std::nullopt);
}

TEST_F(MenuCheck, AClickOnAnItemChoosesIt) {
  ContextMenu menu;
  const int go = IndexOf(MenuCommand::Go);
  const auto chosen = Run(menu, 300, 200, {[&] {
    const std::optional<Rect> shown = MenuOnScreen();
    if (!shown) return false;
    const Rect r = ItemsOn(menu, *shown)[static_cast<std::size_t>(go)];
    Xdo("mousemove " + std::to_string(r.left + 40) + " " + std::to_string(r.top + r.Height() / 2) + " click 1");
    return true;
  }});
  EXPECT_EQ(chosen, MenuCommand::Go);
}

TEST_F(MenuCheck, AClickOutsideClosesWithNothingChosen) {
  ContextMenu menu;
  const auto chosen = Run(menu, 300, 200, {[&] {
    if (!MenuOnScreen()) return false;
    Xdo("mousemove 900 600 click 1");
    return true;
  }});
  EXPECT_EQ(chosen, std::nullopt);
  EXPECT_EQ(MenuOnScreen(), std::nullopt);
}

TEST_F(MenuCheck, TheProgramsOtherWindowsAreStillServed) {
  ContextMenu menu;
  // A window of the program's own, shown while the menu is open: the program
  // hears that it must draw it.
  const x11::ScopedWindow pet(D(), XCreateSimpleWindow(D(), Root(), 600, 100, 32, 32, 0, 0, 0));
  XSelectInput(D(), pet.Get(), ExposureMask);
  bool exposed = false;
  const auto chosen = Run(
      menu, 300, 200,
      {[&] {
         if (!MenuOnScreen()) return false;
         XMapWindow(D(), pet.Get());
         XFlush(D());
         return true;
       },
       [&] { return exposed; },
       [&] {
         Xdo("key Escape");
         return true;
       }},
      [&](XEvent& event) { exposed = exposed || (event.type == Expose && event.xany.window == pet.Get()); });
  EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(MenuCheck, OpensLeftAndUpOfAPointNearTheScreensCorner) {
  ContextMenu menu;
  const int w = DisplayWidth(D(), DefaultScreen(D())), h = DisplayHeight(D(), DefaultScreen(D()));
  const auto chosen = Run(menu, w - 4, h - 8, {[&] {
    const std::optional<Rect> shown = MenuOnScreen();
    if (!shown) return false;
    EXPECT_EQ(shown->right, w - 4);
    EXPECT_EQ(shown->bottom, h - 8);
    Shot("menu-corner");
    Xdo("key Escape");
    return true;
  }});
  EXPECT_EQ(chosen, std::nullopt);
}

}  // namespace
}  // namespace pimblo
