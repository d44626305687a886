#include "sprites/mirror.h"

#include <algorithm>

namespace pimblo {

void MirrorBitmap(Bitmap& bitmap) {
  for (std::int32_t y = 0; y < bitmap.height; ++y) {
    auto row = bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width;
    std::reverse(row, row + bitmap.width);
  }
}

void MakeMaskedCopy(const Bitmap& source, Mask& target, ColorRef colour) {
  const Pixel key = PixelFromColorRef(colour);
  target = Mask(source.width, source.height);
  for (std::int32_t y = 0; y < source.height; ++y)
    for (std::int32_t x = 0; x < source.width; ++x) target.Set(x, y, source.At(x, y) == key);
}

}  // namespace pimblo
