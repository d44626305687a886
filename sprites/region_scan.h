// The heart of the bitmap-to-region routine: scanning 32-bit pixels for runs
// that are not of a key colour. The window system's side (device contexts, the
// movable rectangle buffer, ExtCreateRegion) plugs in as a sink; so do the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "sprites/bitmap.h"
#include "sprites/rect.h"

namespace pimblo {

constexpr std::int32_t kRectBlock = 100;   // first capacity of the buffer and its growth step
constexpr std::int32_t kBatchLimit = 2000;  // rectangles per partial region
constexpr Rect kEmptyBound{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};

// The pet's cut: the key is the COLORREF of RGB(0, 0, 255), which, compared
// byte by byte with blue-green-red pixel words, matches pure red.
constexpr std::uint32_t kPetKey = 0x00FF0000;
constexpr std::uint32_t kPetTolerance = 0x00101010;

// Inclusive ranges for bytes 0, 1 and 2 of a pixel word.
struct KeyRange {
  std::uint8_t low[3];
  std::uint8_t high[3];
};

constexpr KeyRange MakeKeyRange(std::uint32_t key, std::uint32_t tolerance) {
  KeyRange r{};
  for (int k = 0; k < 3; ++k) {
    const unsigned low = (key >> (8 * k)) & 0xFF;
    const unsigned high = low + ((tolerance >> (8 * k)) & 0xFF);
    r.low[k] = static_cast<std::uint8_t>(low);
    r.high[k] = static_cast<std::uint8_t>(high > 255 ? 255 : high);
  }
  return r;
}

// A pixel is transparent when each of its bytes 0, 1, 2 lies in its range.
constexpr bool IsKeyPixel(std::uint32_t word, const KeyRange& range) {
  for (int k = 0; k < 3; ++k) {
    const auto b = static_cast<std::uint8_t>(word >> (8 * k));
    if (b < range.low[k] || b > range.high[k]) return false;
  }
  return true;
}

// Scans a bottom-up 32-bit DIB (`bits` is the first row in memory, the picture's
// bottom row) top row first, and appends every maximal run of non-key pixels as a
// rectangle one pixel high. The sink provides:
//   Count(), Capacity()  rectangles held and room for them;
//   Grow()               room for kRectBlock more;
//   Append(rect)         store the rectangle and widen the bound;
//   EmitBatch()          turn what is held into a partial region and start afresh.
// The last batch is emitted after the scan, also when it is empty.
template <class Sink>
void ScanRegionRows(const std::uint8_t* bits, std::int32_t width, std::int32_t height, std::ptrdiff_t stride,
                    const KeyRange& range, Sink& sink) {
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(height - 1 - y) * stride;
    std::int32_t x = 0;
    while (x < width) {
      const std::int32_t x0 = x;
      while (x < width) {
        std::uint32_t word;
        std::memcpy(&word, row + static_cast<std::ptrdiff_t>(x) * 4, 4);
        if (IsKeyPixel(word, range)) break;
        ++x;
      }
      if (x > x0) {
        if (sink.Count() == sink.Capacity()) sink.Grow();
        sink.Append(Rect{x0, y, x, y + 1});
      }
      if (sink.Count() == kBatchLimit) sink.EmitBatch();
      ++x;  // over the transparent pixel that ended the run
    }
  }
  sink.EmitBatch();
}

// Row length of a 32-bit DIB in bytes, rounded up to a multiple of 4.
constexpr std::ptrdiff_t DibStride(std::int32_t width) { return (static_cast<std::ptrdiff_t>(width) * 4 + 3) & ~3; }

// Lays a picture out as a bottom-up 32-bit DIB, as the routine's working copy.
std::vector<std::uint8_t> ToBottomUpDib(const Bitmap& bitmap);

// The platform-free sink: keeps every batch as the buffer held it.
struct RectBatches {
  struct Batch {
    std::vector<Rect> rects;
    Rect bound;
    std::int32_t capacity;  // the buffer's room when the batch was emitted
  };
  std::vector<Batch> batches;

  std::int32_t Count() const { return static_cast<std::int32_t>(current_.size()); }
  std::int32_t Capacity() const { return capacity_; }
  void Grow() { capacity_ += kRectBlock; }
  void Append(const Rect& r);
  void EmitBatch();

  // Every rectangle of every batch, in order: the region is their union.
  std::vector<Rect> AllRects() const;

 private:
  std::vector<Rect> current_;
  Rect bound_ = kEmptyBound;
  std::int32_t capacity_ = kRectBlock;
};

// Scans a picture with the pet's key and tolerance (or others) into batches.
RectBatches ScanBitmap(const Bitmap& bitmap, std::uint32_t key, std::uint32_t tolerance);

}  // namespace pimblo
