#include "x11/pixel_format.h"

#include <bit>

namespace pimblo::x11 {
namespace {

std::uint32_t Place(std::uint8_t channel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t value = bits >= 8 ? std::uint32_t{channel} << (bits - 8) : std::uint32_t{channel} >> (8 - bits);
  return (value << shift) & mask;
}

}  // namespace

std::uint32_t NativePixel(Pixel pixel, const PixelFormat& format) {
  return Place(RedOf(pixel), format.redMask) | Place(GreenOf(pixel), format.greenMask) |
         Place(BlueOf(pixel), format.blueMask);
}

}  // namespace pimblo::x11
