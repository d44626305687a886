#include "x11/pixel_format.h"

#include <gtest/gtest.h>

namespace pimblo::x11 {
namespace {

struct Case {
  const char* name;
  PixelFormat format;
  Pixel pixel;
  std::uint32_t native;
};

TEST(PixelFormat, PlacesEachChannelUnderItsMask) {
  const Case cases[] = {
      {"24-bit red high", {0xFF0000, 0x00FF00, 0x0000FF}, MakePixel(0x12, 0x34, 0x56), 0x123456},
      {"24-bit blue high", {0x0000FF, 0x00FF00, 0xFF0000}, MakePixel(0x12, 0x34, 0x56), 0x563412},
      {"16-bit 565", {0xF800, 0x07E0, 0x001F}, MakePixel(0xFF, 0x80, 0x08), 0xF800 | (0x20 << 5) | 0x01},
      {"15-bit 555", {0x7C00, 0x03E0, 0x001F}, MakePixel(0x08, 0xFF, 0x00), (0x01 << 10) | 0x03E0},
      {"30-bit 10 bits a channel", {0x3FF00000, 0x000FFC00, 0x000003FF}, MakePixel(0xFF, 0, 0x01), 0x3FC00000 | 0x4},
  };
  for (const Case& c : cases) EXPECT_EQ(NativePixel(c.pixel, c.format), c.native) << c.name;
}

}  // namespace
}  // namespace pimblo::x11
