// The program's two hot keys on X11, Ctrl+Alt+F11 and Ctrl+Alt+F12, grabbed on
// the root window whatever the lock keys (Caps Lock, Num Lock) are, and their
// key presses told as the start or the stop of the motion. A key another
// client holds already is gone without a word, as on Windows. Does not own the
// display.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace pimblo::x11 {

class HotKeys {
 public:
  // Grabs the keys that are free.
  explicit HotKeys(Display* display);
  ~HotKeys();
  HotKeys(const HotKeys&) = delete;
  HotKeys& operator=(const HotKeys&) = delete;

  enum class Key { Start, Stop };

  // Which hot key an event presses, for every event the program receives; nothing
  // for any other event.
  std::optional<Key> KeyOf(const XEvent& event) const;

  // Whether the key is ours (no other client held it).
  bool Holds(Key key) const;

 private:
  struct Grab {
    Key key;
    KeyCode code;
  };
  Display* display_;
  Window root_;
  std::vector<Grab> grabs_;
};

}  // namespace pimblo::x11
