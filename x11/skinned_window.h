// A top-level window framed by the program itself with the skin: the window
// manager draws no decorations, the borders, title bar, title text and title-bar
// buttons are painted from the core's bitmaps, the window's shape is the skin's
// region, and the title bar's mouse input goes through TitleBarInput. Dragging
// the title moves the window (through the window manager when it offers that,
// else by itself), the minimise button iconifies it, the close button, the
// window manager's close and a double click on the icon ask the owner to close
// it. Focus changes draw it active or inactive. The client area is the owner's:
// a hook paints it and hooks get its mouse and keys.
//
// Owns its X window, its back buffer and its font; not the display or the skin,
// which must outlive it. Events are fed by the owner's loop (Dispatch).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "look/skin_layout.h"
#include "look/title_bar_input.h"
#include "look/win_skin_data.h"
#include "x11/scoped_x.h"
#include "x11/xft_canvas.h"

namespace pimblo::x11 {

struct SkinnedWindowSetup {
  std::string title;          // UTF-8
  Rect bounds;                // the whole window, frame included, on the screen
  bool minimiseBox = true;    // a dialog box has none
  bool dialog = false;        // a dialog's frame, and the window manager's dialog type
  Bitmap icon;                // the title's small icon, 16 x 16, magenta see-through; empty: none
  std::string className = "pimblo";
};

// The mouse in the client area, in client coordinates.
struct ClientMouse {
  enum Kind { kMove, kDown, kUp, kLeave };
  Kind kind = kMove;
  std::int32_t x = 0;
  std::int32_t y = 0;
  unsigned button = 0;  // kDown, kUp: X's button number
};

class SkinnedWindow {
 public:
  struct Hooks {
    std::function<void(Canvas& client)> paintClient;         // (0, 0) is the client area's corner
    std::function<void(const ClientMouse&)> clientMouse;
    std::function<void(KeySym)> key;
    // Close asked for (the close button, the window manager, a double click on the icon). Unset:
    // the window hides.
    std::function<void()> close;
    // The system menu asked for at a screen point (a right click on the title, a click on the
    // icon). Runs the menu to its end and acts through Minimise(), Restore() and RequestClose().
    // Unset: no menu.
    std::function<void(std::int32_t screenX, std::int32_t screenY)> systemMenu;
  };

  SkinnedWindow(Display* display, const TSkinData& skin, SkinnedWindowSetup setup, Hooks hooks);

  // The frame a window of that setup gets with the skin: for a window made to fit its content.
  static BorderSizes FrameOf(const TSkinData& skin, const SkinnedWindowSetup& setup);
  SkinnedWindow(const SkinnedWindow&) = delete;
  SkinnedWindow& operator=(const SkinnedWindow&) = delete;

  Window Handle() const { return window_.Get(); }
  // Whether an event is this window's.
  bool Owns(const XEvent& event) const { return event.xany.window == window_.Get(); }
  void Dispatch(const XEvent& event);

  // Mapped and raised; the first time at the setup's place, later where the user left it.
  void Show();
  void Hide();
  void Minimise();
  void Restore();
  void RequestClose();
  // Paints the whole window again (the client area's look changed).
  void Redraw();

  bool Visible() const { return mapped_; }
  bool Active() const { return state_.active; }
  // The window as the title's layout sees it (for the system menu: SystemMenuItems).
  const ChromeState& State() const { return state_; }
  const BorderSizes& Borders() const { return borders_; }
  const TitleLayout& Layout() const { return layout_; }
  Rect ClientArea() const;  // window coordinates
  std::int32_t ButtonState(std::int32_t part) const { return input_.State(part); }

 private:
  void SetProperties();
  void OpenCaptionFont();
  void Relayout();
  void Paint();
  void Present();
  Bitmap RenderTitle() const;  // the title bar with its buttons and icon, without its text
  void Act(const TitleBarDecision& decision, std::int32_t screenX, std::int32_t screenY);
  void RunCommand(std::int32_t action);
  TitleBarEvent EventAt(TitleBarEvent::Kind kind, std::int32_t x, std::int32_t y, Time time) const;
  void OnPress(const XButtonEvent& e);
  void OnRelease(const XButtonEvent& e);
  void OnMotion(const XMotionEvent& e);
  void OnLeave();
  void OnFocus(bool in);
  void OnConfigure(const XConfigureEvent& e);
  // The mouse at a screen point, still held since the press on the title.
  void StartMove(std::int32_t rootX, std::int32_t rootY, Time time);
  bool ManagerMoves() const;
  void Activate();

  Display* display_;
  int screen_;
  const TSkinData& skin_;
  SkinnedWindowSetup setup_;
  Hooks hooks_;
  ScopedWindow window_;
  ScopedPixmap back_;
  std::optional<XftFontOwner> captionFont_;  // while shown
  std::string shownTitle_;
  ChromeState state_;
  BorderSizes borders_;
  TitleLayout layout_;
  TitleBarInput input_;
  bool mapped_ = false;
  bool placed_ = false;  // shown once: the user's place counts from then on
  bool shapeActive_ = false;  // the shape was cut for this state and size
  std::int32_t shapeWidth_ = -1, shapeHeight_ = -1;
  bool clientHeld_ = false;   // the mouse was pressed in the client area and is held
  // Pressed on the title: a move begins once the mouse goes a few pixels while held, so that a
  // click is only a click.
  bool movePending_ = false;
  std::int32_t pressX_ = 0, pressY_ = 0;  // where, in the window
  std::int32_t pressRootX_ = 0, pressRootY_ = 0;  // and on the screen
  bool dragging_ = false;      // moving the window ourselves
  std::int32_t dragDx_ = 0, dragDy_ = 0;
  Atom deleteWindow_, protocols_;
};

}  // namespace pimblo::x11
