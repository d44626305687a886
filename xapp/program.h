// The Linux program: the connection to the X server, the pet's sheets, the
// desktop, the hot keys, the pet's window with its engine, and the loop that
// takes the server's events and ticks the pet every 10 ms while it moves.
// Does not own the display, which must outlive it.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/context_menu_entries.h"
#include "app/user_skin.h"
#include "pet/platform.h"
#include "pet/random.h"
#include "pet/zibbet.h"
#include "sprites/pet_sheets.h"
#include "x11/desktop.h"
#include "x11/hot_keys.h"
#include "x11/pet_window.h"
#include "look/win_skin_data.h"
#include "x11/posix_file_system.h"
#include "x11/tray_icon.h"
#include "x11/xdg_autostart.h"
#include "xapp/context_menu.h"
#include "xapp/help_window.h"
#include "xapp/message_box.h"

namespace pimblo::xapp {

class Program {
 public:
  // Takes every event the loop receives; true when it was its own.
  using EventHandler = std::function<bool(const XEvent&)>;

  // Loads the sheets and the skin, seeds the generator, grabs the hot keys, makes a
  // first start's note and question, and then the pet at the cursor, shown and moving,
  // and the notification icon. Throws std::runtime_error when the sheets cannot be read.
  explicit Program(Display* display);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Runs the loop until Quit(); the program's exit status. Meanwhile SIGUSR1
  // prints the pet's steps and the desktop's round trips so far to stderr as
  // "pimblo: ticks N round-trips M" (what the benchmark reads).
  int Run();
  void Quit() { quitting_ = true; }

  // The motion's timer: on ticks the pet every 10 ms, off leaves it where it is.
  void SetMotion(bool on);
  bool Motion() const { return motion_; }

  // More takers of the events (the help window, a box), after the desktop, the pet,
  // the hot keys and the notification icon; each event goes to every one of them.
  void AddEventHandler(EventHandler handler) { handlers_.push_back(std::move(handler)); }

  // The context menu at a screen point (a right click on the pet, a press on the
  // icon): the pet goes on walking while it is open; the command chosen is done.
  void OpenMenu(ScreenPoint at);
  void Do(MenuCommand command);

  // The help window, which stops the pet while it is shown.
  void ShowHelp();

  Display* GetDisplay() const { return display_; }
  x11::X11Desktop& Desktop() { return desktop_; }
  x11::X11PetWindow& PetWindow() { return *petWindow_; }
  TZibbetForm& Pet() { return petWindow_->Pet(); }
  // The process-wide damping factor the pet reads at every tick (the speed commands change it).
  double& SpeedFactor() { return speedFactor_; }

 private:
  void TakeEvents();
  // Hands one event to every taker.
  void Dispatch(const XEvent& event);
  // The pet's step, for loops that have taken the events just before (the main loop's, the menu's).
  void Step();
  // Puts the pet back on top when another window came above it.
  void KeepOnTop();
  // What keeps the program going while a message box waits for its answer.
  ModalLoop Modal();
  // Wears the user's skin (Pimblo.skn beside the program, or in the program's
  // configuration folder) when it came, changed or went, and tells the user once
  // about one that does not load. True when the skin was loaded again.
  bool FollowUserSkin();
  class BoxShell;
  // When the loop must wake next: the pet's tick while it moves, the icon's tip.
  std::optional<std::chrono::steady_clock::time_point> NextDue(std::chrono::steady_clock::time_point tick) const;

  Display* display_;
  TSkinData skin_;
  UserSkinFollower userSkin_;
  std::string skinMessage_;  // what the skin's reader had to say, shown once the skin is whole again
  PetSheets sheets_;
  LinearRandom random_;
  double speedFactor_;
  x11::X11Desktop desktop_;
  x11::HotKeys hotKeys_;
  std::unique_ptr<x11::X11PetWindow> petWindow_;
  std::vector<EventHandler> handlers_;
  ContextMenu menu_;
  bool menuOpen_ = false;
  std::optional<HelpWindow> help_;  // made when first shown: it opens fonts
  bool helpDue_ = false;    // the first start asked for the help window
  bool keepOnTop_ = false;  // a window was mapped or restacked since the last look
  std::optional<std::chrono::steady_clock::time_point> modalDue_;
  // Start with the system, and the first start's marker.
  x11::PosixFileSystem files_;
  x11::NoMachineKey machineKey_;
  x11::XdgAutostartKey userKey_;
  std::wstring exePath_;
  std::optional<x11::TrayIcon> tray_;  // after the desktop, which selects the root's events first
  bool motion_ = true;
  bool quitting_ = false;
  bool restartTicks_ = true;  // the next tick is due 10 ms from now
  // For the tests: one line a tick of the pet's place, when PIMBLO_TRACE names a file.
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> trace_;
  std::int64_t ticks_ = 0;  // the pet's steps since the start, traced and printed on SIGUSR1
};

}  // namespace pimblo::xapp
