// How a true-colour visual lays out a pixel: where its red, green and blue bits
// lie. Turns the core's pictures into the pixel values such a visual takes.
#pragma once

#include <cstdint>

#include "sprites/bitmap.h"

namespace pimblo::x11 {

struct PixelFormat {
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
};

// The visual's pixel value of a core pixel: each channel keeps its high bits,
// as many as its mask has, moved to the mask's place.
std::uint32_t NativePixel(Pixel pixel, const PixelFormat& format);

}  // namespace pimblo::x11
