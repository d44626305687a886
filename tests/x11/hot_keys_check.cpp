// The hot keys against a real X server: grabbed for every lock key, so that no
// other client can take them; left without a word when another client has them;
// their presses told apart from every other key event. (The server itself takes
// Ctrl+Alt+F-key presses for its terminals, so they are made here as events.)
#include <gtest/gtest.h>  // before Xlib's macros (None)

#include <X11/keysym.h>

#include <optional>

#include "x11/error_trap.h"
#include "x11/hot_keys.h"
#include "tests/x11/test_display.h"

namespace pimblo::x11 {
namespace {

using Key = HotKeys::Key;

constexpr unsigned kChord = ControlMask | Mod1Mask;
constexpr unsigned kLocks[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

// Whether another client can grab the key with those modifiers on the root (and lets it go again).
bool FreeFor(Display* other, KeySym key, unsigned modifiers) {
  const Window root = DefaultRootWindow(other);
  const KeyCode code = XKeysymToKeycode(other, key);
  ErrorTrap trap(other);
  XGrabKey(other, code, modifiers, root, True, GrabModeAsync, GrabModeAsync);
  const bool free = trap.FirstError() == Success;
  if (free) XUngrabKey(other, code, modifiers, root);
  XSync(other, False);
  return free;
}

XEvent KeyEvent(Display* display, int type, KeySym key, unsigned state) {
  XEvent event{};
  event.xkey.type = type;
  event.xkey.display = display;
  event.xkey.window = DefaultRootWindow(display);
  event.xkey.keycode = XKeysymToKeycode(display, key);
  event.xkey.state = state;
  return event;
}

TEST(HotKeys, HeldForEveryLockKeyAndToldApart) {
  Display* display = TestDisplay();
  ASSERT_NE(display, nullptr);
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  {
    const HotKeys keys(display);
    XSync(display, False);
    EXPECT_TRUE(keys.Holds(Key::Start));
    EXPECT_TRUE(keys.Holds(Key::Stop));
    for (unsigned locks : kLocks) {
      EXPECT_FALSE(FreeFor(other, XK_F11, kChord | locks)) << "locks " << locks;
      EXPECT_FALSE(FreeFor(other, XK_F12, kChord | locks)) << "locks " << locks;
    }
    EXPECT_TRUE(FreeFor(other, XK_F12, ControlMask)) << "Ctrl+F12 alone stays free";
    struct Case {
      const char* what;
      int type;
      KeySym key;
      unsigned state;
      std::optional<Key> told;
    } cases[] = {
        {"Ctrl+Alt+F11", KeyPress, XK_F11, kChord, Key::Start},
        {"Ctrl+Alt+F12", KeyPress, XK_F12, kChord, Key::Stop},
        {"with Caps and Num Lock", KeyPress, XK_F12, kChord | LockMask | Mod2Mask, Key::Stop},
        {"its release", KeyRelease, XK_F12, kChord, std::nullopt},
        {"Ctrl+F12", KeyPress, XK_F12, ControlMask, std::nullopt},
        {"Ctrl+Alt+Shift+F12", KeyPress, XK_F12, kChord | ShiftMask, std::nullopt},
        {"Ctrl+Alt+F10", KeyPress, XK_F10, kChord, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(keys.KeyOf(KeyEvent(display, c.type, c.key, c.state)), c.told) << c.what;
  }
  XSync(display, False);
  EXPECT_TRUE(FreeFor(other, XK_F12, kChord)) << "let go with the object";
  XCloseDisplay(other);
}

TEST(HotKeys, AKeyAnotherClientHoldsIsLeftQuietly) {
  Display* display = TestDisplay();
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  XGrabKey(other, XKeysymToKeycode(other, XK_F12), kChord, DefaultRootWindow(other), True, GrabModeAsync,
           GrabModeAsync);
  XSync(other, False);
  const HotKeys keys(display);  // Xlib's own handler would end the test on an error
  XSync(display, False);
  EXPECT_TRUE(keys.Holds(Key::Start));
  EXPECT_FALSE(keys.Holds(Key::Stop));
  XCloseDisplay(other);
}

}  // namespace
}  // namespace pimblo::x11
