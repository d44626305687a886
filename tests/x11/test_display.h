// The one connection to the X server that the checks of a test program share,
// open from the first use to the program's end: an X server with no client
// left resets itself, and a connection opened meanwhile fails.
#pragma once

#include <X11/Xlib.h>

namespace pimblo::x11 {

inline Display* TestDisplay() {
  static Display* const display = XOpenDisplay(nullptr);
  return display;
}

}  // namespace pimblo::x11
