// Where a popup menu's items lie and where the menu goes on the screen: plain
// arithmetic over the sizes the look measured, without any window.
#pragma once

#include <optional>
#include <vector>

#include "look/menu_canvas.h"
#include "sprites/rect.h"

namespace pimblo::x11 {

// The menu's frame: a one-pixel border, then a margin in the items' colour.
constexpr int kMenuBorder = 1;
constexpr int kMenuMargin = 2;
// The room added to every item's measured width, as Windows adds it to an
// owner-drawn item for the check mark.
constexpr int kCheckMarkRoom = 12;

// The menu window's size and its items' rectangles in the window.
struct MenuLayout {
  int width = 0;
  int height = 0;
  std::vector<Rect> items;
};

// Items one under the other, each as tall as measured and all as wide as the widest.
MenuLayout LayOutMenu(const std::vector<MenuSize>& measured);

// The item at a point of the window, if any.
std::optional<int> ItemAt(const MenuLayout& layout, int x, int y);

// The next item a key moves to: from `from` (none: from before the first or
// after the last) in `direction` (+1 down, -1 up), wrapping, skipping those not
// selectable; none when no item is.
std::optional<int> NextSelectable(const std::vector<bool>& selectable, std::optional<int> from, int direction);

// The top-left corner of a menu of this size opened at (x, y): right of and
// below the point, flipped to the left of it or above it where it would leave
// the screen, then kept on the screen.
struct MenuOrigin {
  int x = 0;
  int y = 0;
  friend bool operator==(const MenuOrigin&, const MenuOrigin&) = default;
};
MenuOrigin PlaceMenu(int x, int y, int width, int height, const Rect& screen);

}  // namespace pimblo::x11
