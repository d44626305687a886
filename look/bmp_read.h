// Windows BMP files as the skin package holds them: a bounded reader for the kinds
// the platform reads and a writer of plain 24-bit files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sprites/bitmap.h"

namespace pimblo {

// The largest picture we read: each side at most this many pixels ...
constexpr std::int32_t kBmpMaxSide = 16384;
// ... and at most this many pixels in all.
constexpr std::uint64_t kBmpMaxPixels = std::uint64_t{64} << 20;

// Reads a BMP file: the file header, then an OS/2 core header (12 bytes) or an info header of 40
// bytes or more (up to the V4 and V5 ones). Reads 1, 4 and 8 bits a pixel with a palette (RLE8 and
// RLE4 coded too, bottom-up), 16 bits (5-5-5, or bit fields), 24 bits, and 32 bits (8-8-8, or any
// contiguous bit fields, given after the info header or within it); rows bottom-up or top-down
// (core headers and coded pictures bottom-up only). The pixels start where the file header says.
// The pixels come out as 0x00RRGGBB, top row first; palette indices beyond the palette read as
// black. Nothing for anything else: a damaged, truncated or otherwise compressed file, a picture
// beyond the limits above, offsets pointing into the headers or past the end.
std::optional<Bitmap> ReadBmp(std::span<const std::uint8_t> file);

// A 24-bit bottom-up BMP file of the picture (its top byte of each pixel is dropped).
std::vector<std::uint8_t> WriteBmp24(const Bitmap& bitmap);

}  // namespace pimblo
