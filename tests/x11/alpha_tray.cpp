// A small system tray of our own whose window and icons are in a 32-bit visual
// with alpha, as trays of composited desktops ask: it takes the screen's tray
// selection, names the visual, announces itself, and embeds each icon that asks
// at 22×22 pixels. Ends on SIGTERM or SIGINT.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <string>

#include "x11/scoped_x.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void Stop(int) { g_stop = 1; }

constexpr int kTrayWidth = 64, kTrayHeight = 24;  // at the screen's bottom right corner
constexpr int kIconSide = 22;
constexpr unsigned long kOpaqueGrey = 0xFF404040;  // the tray's background, alpha first
constexpr long kRequestDock = 0;
constexpr long kXEmbedEmbeddedNotify = 0;
constexpr long kXEmbedVersion = 0;

}  // namespace

int main() {
  using namespace pimblo::x11;
  const ScopedDisplay display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "alpha_tray: no X display\n");
    return 1;
  }
  Display* d = display.Get();
  const int screen = DefaultScreen(d);
  const Window root = RootWindow(d, screen);
  XVisualInfo visual{};
  if (!XMatchVisualInfo(d, screen, 32, TrueColor, &visual)) {
    std::fprintf(stderr, "alpha_tray: the server has no 32-bit visual\n");
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = Stop;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  const ScopedColormap colormap(d, XCreateColormap(d, root, visual.visual, AllocNone));
  XSetWindowAttributes attributes{};
  attributes.colormap = colormap.Get();
  attributes.border_pixel = 0;
  attributes.background_pixel = kOpaqueGrey;
  attributes.override_redirect = True;
  const ScopedWindow tray(
      d, XCreateWindow(d, root, DisplayWidth(d, screen) - kTrayWidth, DisplayHeight(d, screen) - kTrayHeight, kTrayWidth,
                       kTrayHeight, 0, 32, InputOutput, visual.visual,
                       CWColormap | CWBorderPixel | CWBackPixel | CWOverrideRedirect, &attributes));
  XMapWindow(d, tray.Get());

  const Atom selection = XInternAtom(d, ("_NET_SYSTEM_TRAY_S" + std::to_string(screen)).c_str(), False);
  const Atom opcode = XInternAtom(d, "_NET_SYSTEM_TRAY_OPCODE", False);
  const Atom xembed = XInternAtom(d, "_XEMBED", False);
  const long visualId = static_cast<long>(visual.visualid);
  XChangeProperty(d, tray.Get(), XInternAtom(d, "_NET_SYSTEM_TRAY_VISUAL", False), XA_VISUALID, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&visualId), 1);
  XSetSelectionOwner(d, selection, tray.Get(), CurrentTime);
  if (XGetSelectionOwner(d, selection) != tray.Get()) {
    std::fprintf(stderr, "alpha_tray: another tray holds the selection\n");
    return 1;
  }
  XEvent manager{};
  manager.xclient.type = ClientMessage;
  manager.xclient.window = root;
  manager.xclient.message_type = XInternAtom(d, "MANAGER", False);
  manager.xclient.format = 32;
  manager.xclient.data.l[0] = CurrentTime;
  manager.xclient.data.l[1] = static_cast<long>(selection);
  manager.xclient.data.l[2] = static_cast<long>(tray.Get());
  XSendEvent(d, root, False, StructureNotifyMask, &manager);
  XFlush(d);

  int docked = 0;
  while (!g_stop) {
    while (XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      if (event.type != ClientMessage || event.xclient.message_type != opcode || event.xclient.data.l[1] != kRequestDock)
        continue;
      const auto icon = static_cast<Window>(event.xclient.data.l[2]);
      XReparentWindow(d, icon, tray.Get(), kTrayWidth - kIconSide * (++docked) - 1, 1);
      XResizeWindow(d, icon, kIconSide, kIconSide);
      XMapWindow(d, icon);
      XEvent notify{};
      notify.xclient.type = ClientMessage;
      notify.xclient.window = icon;
      notify.xclient.message_type = xembed;
      notify.xclient.format = 32;
      notify.xclient.data.l[0] = CurrentTime;
      notify.xclient.data.l[1] = kXEmbedEmbeddedNotify;
      notify.xclient.data.l[3] = static_cast<long>(tray.Get());
      notify.xclient.data.l[4] = kXEmbedVersion;
      XSendEvent(d, icon, False, NoEventMask, &notify);
      XFlush(d);
    }
    pollfd connection{ConnectionNumber(d), POLLIN, 0};
    poll(&connection, 1, -1);
  }
  return 0;
}
