// The pet on Linux: the program on the X display of $DISPLAY.
#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <exception>

#include "x11/scoped_x.h"
#include "xapp/program.h"

int main() {
  // The browser the menu opens is never waited for: its end leaves no zombie behind.
  std::signal(SIGCHLD, SIG_IGN);
  const pimblo::x11::ScopedDisplay display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "pimblo: cannot open the X display \"%s\"\n", XDisplayName(nullptr));
    return 1;
  }
  try {
    pimblo::xapp::Program program(display.Get());
    return program.Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pimblo: %s\n", error.what());
    return 1;
  }
}
