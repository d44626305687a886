// Plain pixel pictures: the 32-bit pixel layout the sprites are drawn in, and
// one-bit masks. Value types, no platform behind them.
#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

namespace pimblo {

// A pixel as a 32-bit device-independent bitmap holds it: byte 0 blue, byte 1
// green, byte 2 red, byte 3 unused.
using Pixel = std::uint32_t;

// A Win32 colour value (COLORREF): byte 0 red, byte 1 green, byte 2 blue.
using ColorRef = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (Pixel{red} << 16) | (Pixel{green} << 8) | Pixel{blue};
}
constexpr std::uint8_t RedOf(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t GreenOf(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t BlueOf(Pixel p) { return static_cast<std::uint8_t>(p); }

constexpr Pixel PixelFromColorRef(ColorRef c) {
  return MakePixel(static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                   static_cast<std::uint8_t>(c >> 16));
}

// Pure red: the background of every sprite frame and the colour cut out of the pet.
constexpr ColorRef kSpriteBackground = 255;
constexpr Pixel kRedPixel = PixelFromColorRef(kSpriteBackground);

// A 32-bit picture, rows top-down.
struct Bitmap {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<Pixel> pixels;

  Bitmap() = default;
  Bitmap(std::int32_t w, std::int32_t h, Pixel fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {
    assert(w >= 0 && h >= 0 && "a bitmap has no negative size");
  }

  Pixel& At(std::int32_t x, std::int32_t y) {
    assert(x >= 0 && x < width && y >= 0 && y < height && "pixel outside the bitmap");
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  Pixel At(std::int32_t x, std::int32_t y) const { return const_cast<Bitmap*>(this)->At(x, y); }

  // Gives the bitmap a size; a bitmap that already has it keeps its content,
  // otherwise the content is black.
  void SetSize(std::int32_t w, std::int32_t h) {
    if (w == width && h == height) return;
    *this = Bitmap(w, h);
  }
  void Fill(Pixel p) { pixels.assign(pixels.size(), p); }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

// A one-bit mask: 1 (white) marks a transparent pixel, 0 (black) an opaque one.
struct Mask {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> transparent;

  Mask() = default;
  Mask(std::int32_t w, std::int32_t h, bool allTransparent = false)
      : width(w), height(h),
        transparent(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), allTransparent ? 1 : 0) {
    assert(w >= 0 && h >= 0 && "a mask has no negative size");
  }

  bool IsTransparent(std::int32_t x, std::int32_t y) const {
    assert(x >= 0 && x < width && y >= 0 && y < height && "pixel outside the mask");
    return transparent[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] != 0;
  }
  void Set(std::int32_t x, std::int32_t y, bool isTransparent) {
    assert(x >= 0 && x < width && y >= 0 && y < height && "pixel outside the mask");
    transparent[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
        isTransparent ? 1 : 0;
  }

  friend bool operator==(const Mask&, const Mask&) = default;
};

}  // namespace pimblo
