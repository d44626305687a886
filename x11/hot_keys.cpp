#include "x11/hot_keys.h"

#include <X11/keysym.h>

#include <algorithm>
#include <array>

#include "x11/error_trap.h"

namespace pimblo::x11 {
namespace {

// Ctrl+Alt, as the hot keys are registered on Windows; Alt is the first modifier.
constexpr unsigned kModifiers = ControlMask | Mod1Mask;
// Num Lock is on the second modifier on the servers we know; a grab names the
// lock keys' states exactly, so each combination is grabbed.
constexpr unsigned kNumLockMask = Mod2Mask;
constexpr std::array<unsigned, 4> kLockVariants{0, LockMask, kNumLockMask, LockMask | kNumLockMask};

// The keys as X names them, and what each does.
struct KeyOfSym {
  KeySym sym;
  HotKeys::Key key;
};
constexpr std::array<KeyOfSym, 2> kKeys{{{XK_F11, HotKeys::Key::Start}, {XK_F12, HotKeys::Key::Stop}}};

}  // namespace

HotKeys::HotKeys(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
  for (const KeyOfSym& key : kKeys) {
    const KeyCode code = XKeysymToKeycode(display_, key.sym);
    if (code == 0) continue;  // no such key on this keyboard
    ErrorTrap trap(display_);
    for (unsigned locks : kLockVariants) XGrabKey(display_, code, kModifiers | locks, root_, True, GrabModeAsync, GrabModeAsync);
    if (trap.FirstError() == Success) {
      grabs_.push_back({key.key, code});
    } else {
      // Another client holds the key (BadAccess): the variants we did get go back.
      for (unsigned locks : kLockVariants) XUngrabKey(display_, code, kModifiers | locks, root_);
    }
  }
}

HotKeys::~HotKeys() {
  for (const Grab& grab : grabs_)
    for (unsigned locks : kLockVariants) XUngrabKey(display_, grab.code, kModifiers | locks, root_);
}

std::optional<HotKeys::Key> HotKeys::KeyOf(const XEvent& event) const {
  if (event.type != KeyPress) return std::nullopt;
  const XKeyEvent& key = event.xkey;
  // Exactly Ctrl+Alt, whatever the lock keys, as the grabs take it (Shift too is another chord).
  constexpr unsigned kModifierKeys = ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask |
                                     Mod5Mask;  // not the mouse buttons
  if ((key.state & kModifierKeys & ~(LockMask | kNumLockMask)) != kModifiers) return std::nullopt;
  auto grab = std::find_if(grabs_.begin(), grabs_.end(), [&](const Grab& g) { return g.code == key.keycode; });
  if (grab == grabs_.end()) return std::nullopt;
  return grab->key;
}

bool HotKeys::Holds(Key key) const {
  return std::any_of(grabs_.begin(), grabs_.end(), [&](const Grab& g) { return g.key == key; });
}

}  // namespace pimblo::x11
