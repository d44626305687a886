#include "x11/menu_layout.h"

#include <algorithm>
#include <cassert>

namespace pimblo::x11 {

MenuLayout LayOutMenu(const std::vector<MenuSize>& measured) {
  constexpr int kFrame = kMenuBorder + kMenuMargin;
  int widest = 0;
  for (const MenuSize& size : measured) widest = std::max(widest, size.cx);
  const int itemWidth = widest + kCheckMarkRoom;
  MenuLayout layout;
  int y = kFrame;
  for (const MenuSize& size : measured) {
    layout.items.push_back({kFrame, y, kFrame + itemWidth, y + size.cy});
    y += size.cy;
  }
  layout.width = itemWidth + 2 * kFrame;
  layout.height = y + kFrame;
  return layout;
}

std::optional<int> ItemAt(const MenuLayout& layout, int x, int y) {
  for (std::size_t i = 0; i < layout.items.size(); ++i)
    if (layout.items[i].Contains(x, y)) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<int> NextSelectable(const std::vector<bool>& selectable, std::optional<int> from, int direction) {
  assert((direction == 1 || direction == -1) && "keys move one item at a time");
  const int count = static_cast<int>(selectable.size());
  if (count == 0) return std::nullopt;
  int at = from ? *from : (direction > 0 ? -1 : count);
  for (int tried = 0; tried < count; ++tried) {
    at = ((at + direction) % count + count) % count;
    if (selectable[static_cast<std::size_t>(at)]) return at;
  }
  return std::nullopt;
}

MenuOrigin PlaceMenu(int x, int y, int width, int height, const Rect& screen) {
  MenuOrigin origin{x, y};
  if (origin.x + width > screen.right) origin.x = x - width;
  if (origin.y + height > screen.bottom) origin.y = y - height;
  origin.x = std::max(screen.left, std::min(origin.x, screen.right - width));
  origin.y = std::max(screen.top, std::min(origin.y, screen.bottom - height));
  return origin;
}

}  // namespace pimblo::x11
