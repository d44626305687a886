// The help window: how to use the pet, eleven lines in a read-only text area,
// and a "返回" button that closes the window, framed by the skin. While it is on
// the screen the pet stands still: the program learns of its showing and its
// closing through hooks.
//
// Owns its skinned window; not the display or the skin, which must outlive it.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <optional>

#include "look/push_button.h"
#include "look/win_skin_data.h"
#include "x11/skinned_window.h"
#include "x11/xft_canvas.h"

namespace pimblo::xapp {

class HelpWindow {
 public:
  struct Hooks {
    std::function<void()> shown;   // the pet stops
    std::function<void()> closed;  // the pet goes on
    // The title's system menu at a screen point; unset: none (see SkinnedWindow::Hooks).
    std::function<void(x11::SkinnedWindow& window, std::int32_t screenX, std::int32_t screenY)> systemMenu;
  };

  // icon: the program's small icon for the title, 16 x 16, magenta see-through (may be empty).
  HelpWindow(Display* display, const TSkinData& skin, Bitmap icon, Hooks hooks);

  // Shows the window (brought forward when it is up already).
  void Show();
  // Hides the window; the closed hook runs when it was up.
  void Close();
  bool Visible() const { return shown_; }

  bool Owns(const XEvent& event) const { return window_.Owns(event); }
  void Dispatch(const XEvent& event) { window_.Dispatch(event); }
  x11::SkinnedWindow& Window() { return window_; }

  // The window's place and size on the screen, frame included, before the user moves it.
  static Rect Bounds();
  // The "返回" button's place in the client area.
  static Rect ReturnButtonPlace();

 private:
  void PaintClient(x11::Canvas& canvas);
  void OnMouse(const x11::ClientMouse& mouse);

  Display* display_;
  const TSkinData& skin_;
  Hooks hooks_;
  std::optional<x11::XftFontOwner> textFont_;  // while shown
  std::optional<x11::XftFontOwner> buttonFont_;
  PushButtonInput returnButton_;
  bool shown_ = false;
  x11::SkinnedWindow window_;  // last: its hooks reach the members above
};

}  // namespace pimblo::xapp
