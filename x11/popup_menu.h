// A popup menu on X: a MenuTree's top-level items in an override-redirect
// window at a screen point, measured and painted by the items' own handlers
// (the flat look hooks them), with the pointer and the keyboard grabbed while
// it is open. The item under the pointer is selected; a click on an enabled
// item or Enter on the selected one chooses it; the arrows move the selection
// over the enabled items, wrapping; Esc or a click outside closes it with
// nothing chosen.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "look/xp_menu.h"
#include "x11/menu_layout.h"
#include "x11/scoped_x.h"
#include "x11/x_menu_canvas.h"

namespace pimblo::x11 {

enum class MenuState { Open, Chosen, Dismissed };

// The menu's frame: the flat look's (its border and margin from the button face), or
// the system's plain one (the button shadow's line round the menu colour), for a
// menu whose items paint themselves in another look.
enum class MenuFrame { Flat, System };

// One showing of a menu; the window goes with the object. Does not own the
// display or the menu tree, which must outlive it.
class PopupMenu {
 public:
  // Shows the menu with its top-left corner at the screen point (x, y), or
  // flipped and moved to stay on the screen. A menu that cannot grab the
  // pointer and the keyboard is Dismissed at once.
  PopupMenu(Display* display, MenuTree& menu, int x, int y, MenuFrame frame = MenuFrame::Flat);
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // Whether the event is the menu's: its window's, or input it grabbed.
  bool Owns(const XEvent& event) const;
  // Takes one of the menu's events.
  MenuState Handle(const XEvent& event);

  MenuState State() const { return state_; }
  // The chosen entry once State() is Chosen, else none.
  MenuEntry* Chosen() const { return chosen_; }
  std::optional<int> Selected() const { return selected_; }
  Window WindowId() const { return window_.Get(); }
  const MenuLayout& Layout() const { return layout_; }

 private:
  MenuEntry& Entry(int index) const;
  bool Selectable(int index) const;
  void Select(std::optional<int> index);
  void PaintItem(int index);
  void PaintFrame();
  void PaintAll();
  void Show();
  void Close(MenuState state, MenuEntry* chosen);

  Display* display_;
  MenuTree& menu_;
  ScopedWindow window_;
  ScopedPixmap picture_;
  std::unique_ptr<XMenuCanvas> canvas_;
  MenuLayout layout_;
  std::optional<int> selected_;
  MenuState state_ = MenuState::Open;
  MenuEntry* chosen_ = nullptr;
  MenuFrame frame_;
  bool grabbed_ = false;
};

// How often the pet is moved while the menu is open.
constexpr std::chrono::milliseconds kMenuTickInterval{10};

// Shows the menu at (x, y) and waits for the user: `tick` runs every
// kMenuTickInterval, events of other windows go to `other`. Returns the chosen
// entry, or none when the menu was closed.
MenuEntry* RunPopupMenu(Display* display, MenuTree& menu, int x, int y, const std::function<void()>& tick,
                        const std::function<void(XEvent&)>& other, MenuFrame frame = MenuFrame::Flat);

}  // namespace pimblo::x11
