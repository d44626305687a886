// A rectangle of pixels: left and top inclusive, right and bottom exclusive. The
// one rectangle of the core: the desktop's windows, a region's runs, the skin's
// parts and the menu's items.
#pragma once

#include <cstdint>

namespace pimblo {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(std::int32_t x, std::int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace pimblo
