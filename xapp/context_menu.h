// The pet's context menu in the Linux program: the entries of the shared table
// (app/context_menu_entries.h) with their glyphs, drawn in the flat look, shown
// as a popup menu on X.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/context_menu_entries.h"
#include "look/xp_menu.h"

namespace pimblo {

class ContextMenu {
 public:
  ContextMenu();
  ContextMenu(const ContextMenu&) = delete;
  ContextMenu& operator=(const ContextMenu&) = delete;

  // Shows the menu with its corner at the screen point (x, y) and waits for the
  // user's choice; meanwhile `tick` runs every 10 ms and the events of other
  // windows go to `other`. The command chosen, or none when it was closed.
  std::optional<MenuCommand> Popup(Display* display, int x, int y, const std::function<void()>& tick,
                                   const std::function<void(XEvent&)>& other);

  // The speed entry shows the speed now (SpeedCaption of app/commands.h).
  void SetSpeedCaption(std::wstring caption);

  MenuTree& Tree() { return tree_; }
  // The command of one of the menu's entries, none for another.
  std::optional<MenuCommand> CommandOf(const MenuEntry* entry) const;

 private:
  MenuOwner owner_;
  TXPMenu look_;
  MenuTree& tree_;
  std::vector<MenuEntry*> entries_;  // in the table's order; owned by tree_
};

}  // namespace pimblo
