#include "sprites/image_list.h"

#include <algorithm>

namespace pimblo {

void ImageList::Add(const Bitmap& image, const Mask* mask) {
  Frame frame{Bitmap(width_, height_), std::nullopt};
  if (mask) frame.mask = Mask(width_, height_, true);
  for (std::int32_t y = 0; y < std::min(height_, image.height); ++y) {
    for (std::int32_t x = 0; x < std::min(width_, image.width); ++x) {
      frame.image.At(x, y) = image.At(x, y);
      if (mask) frame.mask->Set(x, y, x < mask->width && y < mask->height && mask->IsTransparent(x, y));
    }
  }
  frames_.push_back(std::move(frame));
}

void ImageList::Draw(std::int32_t index, Bitmap& target) const {
  if (index < 0 || index >= Count()) return;
  target.SetSize(width_, height_);
  const Frame& frame = frames_[static_cast<std::size_t>(index)];
  for (std::int32_t y = 0; y < height_; ++y) {
    for (std::int32_t x = 0; x < width_; ++x) {
      if (frame.mask && frame.mask->IsTransparent(x, y)) continue;
      target.At(x, y) = frame.image.At(x, y);
    }
  }
}

}  // namespace pimblo
