// The bare floor of the pet's walk on X: plain Xlib and the Shape extension, no
// code of the program. A 32x32 override-redirect window cut to an outline moves
// along a line every 10 ms on five ticks of six (83 %, as the walking pet's
// window does) and is cut anew every tenth tick, waiting in ppoll between ticks
// as the program's loop does. SIGUSR1 prints "floor: ticks N" to stderr.
//   pbfloor [X Y LENGTH]   the line: from (X, Y), LENGTH pixels to the right and back
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kTickPeriod{10};
constexpr int kSize = 32;
constexpr int kMoveTicksOf = 6;     // no move on one tick of this many
constexpr int kShapeEvery = 10;     // a new outline every this many ticks
constexpr int kStepPixels = 1;

volatile std::sig_atomic_t countersAsked = 0;
void AskCounters(int) { countersAsked = 1; }

// A round outline, or a slightly smaller one on odd calls: two outlines as the
// pet's pictures have more than one.
std::vector<XRectangle> Outline(bool smaller) {
  std::vector<XRectangle> rows;
  const int inset = smaller ? 2 : 0;
  const double r = kSize / 2.0 - inset;
  for (int y = inset; y < kSize - inset; ++y) {
    const double dy = y + 0.5 - kSize / 2.0;
    double half = r * r - dy * dy;
    if (half <= 0) continue;
    int w = 0;
    while ((w + 1) * (w + 1) <= half) ++w;
    rows.push_back(XRectangle{static_cast<short>(kSize / 2 - w), static_cast<short>(y),
                              static_cast<unsigned short>(2 * w), 1});
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  const int left = argc > 1 ? std::atoi(argv[1]) : 300;
  const int top = argc > 2 ? std::atoi(argv[2]) : 368;
  const int length = argc > 3 ? std::atoi(argv[3]) : 368;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "floor: no X display\n");
    return 1;
  }
  int eventBase = 0, errorBase = 0;
  if (!XShapeQueryExtension(display, &eventBase, &errorBase)) {
    std::fprintf(stderr, "floor: the X server has no Shape extension\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixmap = None;
  attributes.event_mask = ExposureMask;
  const Window window = XCreateWindow(display, DefaultRootWindow(display), left, top, kSize, kSize, 0,
                                      DefaultDepth(display, screen), InputOutput, DefaultVisual(display, screen),
                                      CWOverrideRedirect | CWBackPixmap | CWEventMask, &attributes);
  XStoreName(display, window, "floor");
  const GC gc = XCreateGC(display, window, 0, nullptr);
  XSetForeground(display, gc, 0x3070c0);
  const std::vector<XRectangle> outlines[2] = {Outline(false), Outline(true)};
  auto cut = [&](int which) {
    XShapeCombineRectangles(display, window, ShapeBounding, 0, 0, const_cast<XRectangle*>(outlines[which].data()),
                            static_cast<int>(outlines[which].size()), ShapeSet, Unsorted);
  };
  cut(0);
  XMapRaised(display, window);
  XFlush(display);

  sigset_t counters, waiting;
  sigemptyset(&counters);
  sigaddset(&counters, SIGUSR1);
  sigprocmask(SIG_BLOCK, &counters, &waiting);
  sigdelset(&waiting, SIGUSR1);
  struct sigaction ask {};
  ask.sa_handler = AskCounters;
  sigaction(SIGUSR1, &ask, nullptr);

  long long ticks = 0;
  int x = 0, direction = kStepPixels;
  Clock::time_point due = Clock::now() + kTickPeriod;
  const int fd = ConnectionNumber(display);
  for (;;) {
    if (countersAsked) {
      countersAsked = 0;
      std::fprintf(stderr, "floor: ticks %lld\n", ticks);
    }
    if (XPending(display) == 0) {
      const auto left_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
          std::max(Clock::duration::zero(), due - Clock::now())).count();
      timespec timeout{static_cast<time_t>(left_ns / 1000000000), static_cast<long>(left_ns % 1000000000)};
      pollfd server{fd, POLLIN, 0};
      if (ppoll(&server, 1, &timeout, &waiting) < 0 && errno != EINTR) return 1;
    }
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == Expose) XFillRectangle(display, window, gc, 0, 0, kSize, kSize);
    }
    const Clock::time_point now = Clock::now();
    if (now < due) continue;
    ++ticks;
    if (ticks % kMoveTicksOf != 0) {
      if (x + direction < 0 || x + direction > length) direction = -direction;
      x += direction;
      XMoveWindow(display, window, left + x, top);
    }
    if (ticks % kShapeEvery == 0) cut(static_cast<int>(ticks / kShapeEvery % 2));
    XFlush(display);
    due += kTickPeriod;
    if (due <= now) due = now + kTickPeriod;
  }
}
