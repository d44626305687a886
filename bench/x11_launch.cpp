// The start of a program to its first frame on X: starts PROGRAM, waits for the
// first override-redirect window to be mapped on the screen (the pet's window,
// cut to its outline before it is mapped), prints the milliseconds from just
// before the start to that map, then ends the program (SIGTERM) and waits for it.
//   pblaunch PROGRAM [ARGS…]
// Does not look at the window's content: the map is what the user sees first.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pblaunch PROGRAM [ARGS…]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "pblaunch: no X display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  constexpr auto kGiveUp = std::chrono::seconds(20);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
    std::fprintf(stderr, "pblaunch: cannot start %s\n", argv[1]);
    return 1;
  }
  bool seen = false;
  std::chrono::steady_clock::time_point mapped{};
  while (!seen && std::chrono::steady_clock::now() - start < kGiveUp) {
    if (XPending(display) == 0) {
      pollfd server{ConnectionNumber(display), POLLIN, 0};
      poll(&server, 1, 100);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && event.xmap.override_redirect) {
      mapped = std::chrono::steady_clock::now();
      seen = true;
    }
  }
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  XCloseDisplay(display);
  if (!seen) {
    std::fprintf(stderr, "pblaunch: no window was mapped\n");
    return 1;
  }
  std::printf("%.2f\n", std::chrono::duration<double, std::milli>(mapped - start).count());
  return 0;
}
