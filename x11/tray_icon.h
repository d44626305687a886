// The program's icon in the desktop's notification area, through the system
// tray protocol over XEmbed: finds the tray that owns the screen's tray
// selection, asks it to dock a small window of ours, draws the icon there at the
// size the tray gives it, and tells the program of a left or right press with
// the pointer's place on the screen. Hovering shows a tip. With no tray
// running it waits for one to announce itself, and goes back to waiting when
// the tray it sits in goes away.
//
// It never blocks: the program's event loop hands it every event and asks it
// how long it may sleep before the tip is due. Owns its icon window and tip;
// does not own the display. It adds the root window's structure events to what
// this client selects there (a new tray announces itself with them) and keeps
// what was selected before; a later XSelectInput on the root must keep
// StructureNotifyMask too.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "look/ico_read.h"
#include "pet/platform.h"
#include "x11/scoped_x.h"
#include "x11/tip_window.h"

namespace pimblo::x11 {

class TrayIcon {
 public:
  using Clock = std::chrono::steady_clock;
  using PressHandler = std::function<void(ScreenPoint)>;

  // How long the pointer rests on the icon before the tip shows.
  static constexpr std::chrono::milliseconds kTipDelay{500};

  // Looks for the tray of the display's default screen and docks into it, or waits for one.
  // `pictures`: the icon's pictures (at least one), the nearest in size to the tray's slot is drawn
  // scaled to it. `tip`: UTF-8. `onPress`: called with the pointer's place on a left or right press.
  TrayIcon(Display* display, std::vector<IconPicture> pictures, std::string tip, PressHandler onPress);
  // Destroys the icon window, so that the tray drops it.
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Takes every event the program receives; true when it was one of the icon's or its tip's. Some
  // of those matter to others as well (a tray's top-level window going), so a loop hands every
  // event to each of its takers rather than stopping at the first.
  bool Handle(const XEvent& event);

  // How long the loop may wait for events before calling OnTime: while the pointer rests on the
  // icon and the tip is still to come; nothing when no time matters.
  std::optional<Clock::duration> TimeUntilDue(Clock::time_point now) const;
  // Shows the tip once its delay has passed.
  void OnTime(Clock::time_point now);

  // Whether a tray has taken the icon in.
  bool Docked() const { return docked_; }

 private:
  void FindTray();
  void DockInto(Window tray);
  void Undock();
  void CreateIconWindow();
  void AskForSide(int side);
  void DropIconWindow();
  void Render();
  void Paint();
  void HideTip();

  Display* display_;
  int screen_;
  Window root_;
  Atom selection_, manager_, opcode_, visualProperty_, xembed_, xembedInfo_;
  std::vector<IconPicture> pictures_;
  std::string tip_;
  PressHandler onPress_;

  Window tray_ = None;      // the selection's owner we dock into; not ours
  ScopedWindow window_;     // our icon window, while a tray is known
  ScopedColormap colormap_;  // for a tray visual other than the default one
  Visual* visual_ = nullptr;
  int depth_ = 0;
  bool docked_ = false;     // the tray told us it embedded the window
  int width_ = 0, height_ = 0;
  int askedSide_ = 0;       // the square the window's size hints ask the tray for
  ScopedPixmap picture_;    // the icon at the window's size, and where it is opaque
  ScopedPixmap opaque_;
  ScopedGc gc_;
  int pictureSide_ = 0;

  TipWindow tipWindow_;
  std::optional<Clock::time_point> tipDue_;  // while the pointer rests on the icon, tip not shown yet
  ScreenPoint pointer_;  // where the pointer was last seen on the icon
  int iconTop_ = 0;      // the icon window's top on the screen then
};

}  // namespace pimblo::x11
