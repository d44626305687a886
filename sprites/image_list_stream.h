// The image-list stream: how the sprite sheets are stored and shipped. The same
// bytes are read by the window system's ImageList_Read in the program and by
// ReadImageListStream here, in the tests, the simulator and the tools.
//
//   28-byte header  "IL", version 0x0101, count, capacity, growth, frame width
//                   and height, background colour (none), flags (bit 0: masked),
//                   four overlay indices (-1)
//   image strip     a BMP file, 16 bits per pixel (5-5-5), frames four to a row
//   mask strip      a BMP file of the same size, 1 bit per pixel, white = transparent
//   22 zero bytes
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sprites/image_list.h"

namespace pimblo {

constexpr std::uint16_t kImageListVersion = 0x0101;
constexpr std::uint16_t kImageListFlags = 0x10FF;
constexpr std::int32_t kFramesPerStripRow = 4;
constexpr std::size_t kImageListHeaderSize = 28;
constexpr std::size_t kImageListTrailerSize = 22;

// 5-bit colour channels widened to 8 bits, as the window system does on loading.
constexpr std::uint8_t Widen5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }

// Writes `list` as a masked image-list stream. Frames without a mask are opaque;
// transparent pixels are stored black.
std::vector<std::uint8_t> WriteImageListStream(const ImageList& list, std::uint16_t capacity = 9,
                                               std::uint16_t growth = 4);

struct ImageListReadResult {
  std::optional<ImageList> list;
  std::string error;  // why the stream was refused, when it was
  std::size_t bytesRead = 0;
};

// Reads a stream written by WriteImageListStream (or by the window system: 16,
// 24 or 32 bits per pixel, rows bottom-up or top-down). Anything malformed,
// truncated or out of proportion is refused with a reason; nothing is read
// outside `bytes`.
ImageListReadResult ReadImageListStream(std::span<const std::uint8_t> bytes);

}  // namespace pimblo
