// Shows only the notification icon and says on its output what the program would
// hear: "waiting" or "docked" as the icon's state changes, and "press X Y" with
// the screen point of each press. Ends on SIGTERM or SIGINT, taking the icon away.
#include <poll.h>
#include <signal.h>

#include <chrono>
#include <cstdio>

#include "look/ico_read.h"
#include "resources/embedded_assets.h"
#include "x11/scoped_x.h"
#include "x11/tray_icon.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void Stop(int) { g_stop = 1; }

}  // namespace

int main() {
  using namespace pimblo;
  using namespace pimblo::x11;
  const ScopedDisplay display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "tray_probe: no X display\n");
    return 1;
  }
  auto pictures = ReadIco(assets::IconFile());
  if (!pictures) {
    std::fprintf(stderr, "tray_probe: the built icon does not read\n");
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = Stop;  // no SA_RESTART: the wait below returns at once
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  TrayIcon icon(display.Get(), std::move(*pictures), "桌面Pimblo6.0", [](ScreenPoint p) {
    std::printf("press %d %d\n", p.x, p.y);
    std::fflush(stdout);
  });
  int said = -1;  // the state last reported: 0 waiting, 1 docked
  while (!g_stop) {
    while (XPending(display.Get())) {
      XEvent event;
      XNextEvent(display.Get(), &event);
      icon.Handle(event);
    }
    if (int docked = icon.Docked() ? 1 : 0; docked != said) {
      std::printf("%s\n", docked ? "docked" : "waiting");
      std::fflush(stdout);
      said = docked;
    }
    const auto due = icon.TimeUntilDue(TrayIcon::Clock::now());
    pollfd connection{ConnectionNumber(display.Get()), POLLIN, 0};
    const int waitMs =
        due ? static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*due).count()) : -1;
    poll(&connection, 1, waitMs);
    icon.OnTime(TrayIcon::Clock::now());
  }
  return 0;
}
