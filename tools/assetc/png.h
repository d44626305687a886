// Writes PNG pictures: 8-bit RGBA, not filtered, the image data in stored
// (uncompressed) deflate blocks. Small icons need no compression, and the
// writer stays a page long.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sprites/bitmap.h"

namespace pimblo {

// The CRC-32 of PNG chunks (and zip, gzip): reflected, polynomial 0xEDB88320.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// The Adler-32 that ends a zlib stream.
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// The picture as a PNG file; fully transparent where `clear` says so, opaque elsewhere.
std::vector<std::uint8_t> WritePng(const Bitmap& pixels, const Mask& clear);

}  // namespace pimblo
