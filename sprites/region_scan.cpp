#include "sprites/region_scan.h"

#include <algorithm>

namespace pimblo {

std::vector<std::uint8_t> ToBottomUpDib(const Bitmap& bitmap) {
  const std::ptrdiff_t stride = DibStride(bitmap.width);
  std::vector<std::uint8_t> dib(static_cast<std::size_t>(stride) * static_cast<std::size_t>(bitmap.height));
  for (std::int32_t y = 0; y < bitmap.height; ++y) {
    std::uint8_t* row = dib.data() + static_cast<std::ptrdiff_t>(bitmap.height - 1 - y) * stride;
    for (std::int32_t x = 0; x < bitmap.width; ++x) {
      const Pixel p = bitmap.At(x, y);
      std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 4, &p, 4);
    }
  }
  return dib;
}

void RectBatches::Append(const Rect& r) {
  current_.push_back(r);
  bound_.left = std::min(bound_.left, r.left);
  bound_.top = std::min(bound_.top, r.top);
  bound_.right = std::max(bound_.right, r.right);
  bound_.bottom = std::max(bound_.bottom, r.bottom);
}

void RectBatches::EmitBatch() {
  batches.push_back(Batch{std::move(current_), bound_, capacity_});
  current_.clear();
  bound_ = kEmptyBound;
}

std::vector<Rect> RectBatches::AllRects() const {
  std::vector<Rect> all;
  for (const Batch& b : batches) all.insert(all.end(), b.rects.begin(), b.rects.end());
  return all;
}

RectBatches ScanBitmap(const Bitmap& bitmap, std::uint32_t key, std::uint32_t tolerance) {
  const std::vector<std::uint8_t> dib = ToBottomUpDib(bitmap);
  RectBatches sink;
  ScanRegionRows(dib.data(), bitmap.width, bitmap.height, DibStride(bitmap.width), MakeKeyRange(key, tolerance),
                 sink);
  return sink;
}

}  // namespace pimblo
