#include "x11/error_trap.h"

namespace pimblo::x11 {
namespace {
// The innermost trap of the thread that talks to the server.
thread_local ErrorTrap* g_innermost = nullptr;
}  // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display), outer_(g_innermost) {
  XSync(display_, False);
  previousHandler_ = XSetErrorHandler(&ErrorTrap::OnError);
  g_innermost = this;
}

ErrorTrap::~ErrorTrap() {
  XSync(display_, False);
  g_innermost = outer_;
  XSetErrorHandler(previousHandler_);
}

int ErrorTrap::FirstError() {
  XSync(display_, False);
  return firstError_;
}

int ErrorTrap::OnError(Display*, XErrorEvent* error) {
  if (g_innermost && g_innermost->firstError_ == Success) g_innermost->firstError_ = error->error_code;
  return 0;
}

}  // namespace pimblo::x11
