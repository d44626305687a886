// Icon files (.ico) as the build writes the program's icon: each picture a
// device-independent bitmap with its one-bit mask below the colours.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sprites/bitmap.h"

namespace pimblo {

// One picture of an icon: its pixels (0x00RRGGBB, top row first) and where it is see-through.
struct IconPicture {
  Bitmap pixels;
  Mask clear;
};

// The largest side of an icon picture we read.
constexpr std::int32_t kIconMaxSide = 256;

// The pictures of an icon file, in the file's order. Reads uncompressed pictures of 1, 4 and 8 bits a
// pixel with a palette, and of 24 and 32 bits, each with its mask. Nothing for anything else: a
// damaged or truncated file, a cursor file, a compressed (PNG) picture, one larger than the limit.
std::optional<std::vector<IconPicture>> ReadIco(std::span<const std::uint8_t> file);

// The picture whose side is nearest to `side`, the larger one on a tie (scaled down it loses
// less); a non-empty list is required.
const IconPicture& NearestIconPicture(const std::vector<IconPicture>& pictures, std::int32_t side);

}  // namespace pimblo
