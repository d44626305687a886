// A list of equally sized frames, each with an optional mask: the platform-free
// model of the image lists that hold the pet's sprite sheets.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sprites/bitmap.h"

namespace pimblo {

class ImageList {
 public:
  explicit ImageList(std::int32_t width = 32, std::int32_t height = 32) : width_(width), height_(height) {}

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(frames_.size()); }

  // Appends a frame; without a mask the frame is drawn whole. The image is
  // cropped or padded (black) to the list's frame size.
  void Add(const Bitmap& image, const Mask* mask);

  // Draws frame `index` at (0, 0) of `target` through its mask, after giving the
  // target the frame size (its content stays when it already has that size).
  // An index outside 0 … Count() − 1 leaves the target as it was.
  void Draw(std::int32_t index, Bitmap& target) const;

  const Bitmap& Image(std::int32_t index) const { return frames_.at(static_cast<std::size_t>(index)).image; }
  const std::optional<Mask>& FrameMask(std::int32_t index) const {
    return frames_.at(static_cast<std::size_t>(index)).mask;
  }

 private:
  struct Frame {
    Bitmap image;
    std::optional<Mask> mask;
  };
  std::int32_t width_;
  std::int32_t height_;
  std::vector<Frame> frames_;
};

}  // namespace pimblo
