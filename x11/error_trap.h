// Catches the X errors of the requests made while it lives, instead of Xlib's
// default handler, which ends the program: a window that went away between an
// event and a question about it, a key another client has grabbed already.
// Traps nest; each restores the handler before it. Does not own the display.
#pragma once

#include <X11/Xlib.h>

namespace pimblo::x11 {

class ErrorTrap {
 public:
  // Waits for the replies to earlier requests first, so that their errors are not caught here.
  explicit ErrorTrap(Display* display);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits for the replies to the requests made so far; the first error's code
  // (BadAccess, BadWindow…) or Success.
  int FirstError();

 private:
  static int OnError(Display* display, XErrorEvent* error);
  Display* display_;
  ErrorTrap* outer_;
  int (*previousHandler_)(Display*, XErrorEvent*);
  int firstError_ = Success;
};

}  // namespace pimblo::x11
