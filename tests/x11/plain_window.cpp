// plain_window X Y WIDTH HEIGHT: one plain top-level window, no border, at that
// place on the screen, for the pet to walk on. Says "shown" on standard output
// once the server has mapped it, then keeps it until it is killed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: plain_window X Y WIDTH HEIGHT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return Usage();
  int numbers[4];
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    numbers[i] = static_cast<int>(std::strtol(argv[i + 1], &end, 10));
    if (*end != '\0' || end == argv[i + 1]) return Usage();
  }
  const auto [x, y, width, height] = numbers;
  if (width <= 0 || height <= 0) return Usage();

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "plain_window: no X display\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  constexpr unsigned kNoBorder = 0;
  const Window window =
      XCreateSimpleWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), kNoBorder, BlackPixel(display, screen),
                          WhitePixel(display, screen));
  XStoreName(display, window, "a window to walk on");
  // Where it asked to be, should a window manager look.
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  hints.x = x;
  hints.y = y;
  hints.width = width;
  hints.height = height;
  XSetWMNormalHints(display, window, &hints);
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify) {
      std::printf("shown\n");
      std::fflush(stdout);
    }
  }
}
