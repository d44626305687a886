// The BMP reader: every pixel layout against bytes laid out by hand, row order, and refusal of
// damaged or oversized files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "look/bmp_read.h"
#include "sprites/bytes.h"

namespace pimblo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BmpFields {
  std::int32_t width, height;
  std::uint16_t bits;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written as B G R 0
  Bytes pixels;                        // rows as stored, padding included
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks = {};  // after the 40-byte header
  std::uint16_t planes = 1;
  std::uint32_t coloursUsed = 0;
};

Bytes Bmp(const BmpFields& f) {
  const std::uint32_t offset = 54 + 4 * static_cast<std::uint32_t>(f.masks.size() + f.palette.size());
  ByteWriter b;
  b.U8('B');
  b.U8('M');
  b.U32(offset + static_cast<std::uint32_t>(f.pixels.size()));
  b.U32(0);
  b.U32(offset);
  for (std::uint32_t v : {40u, std::uint32_t(f.width), std::uint32_t(f.height)}) b.U32(v);
  b.U16(f.planes);
  b.U16(f.bits);
  for (std::uint32_t v : {f.compression, std::uint32_t(f.pixels.size()), 0u, 0u, f.coloursUsed, 0u}) b.U32(v);
  for (std::uint32_t m : f.masks) b.U32(m);
  for (std::uint32_t p : f.palette) b.U32(p);
  b.Bytes(f.pixels);
  return b.Take();
}

constexpr Pixel R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;

TEST(ReadBmp, DecodesEveryPixelLayout) {
  const struct {
    const char* name;
    BmpFields fields;
    std::vector<Pixel> topDown;  // 3 x 2
  } cases[] = {
      {"1 bit, leftmost pixel in the high bit", {3, 2, 1, {K, W}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}}, {K, W, K, W, K, W}},
      {"4 bits, short palette", {3, 2, 4, {R, G, B}, {0x01, 0x20, 0, 0, 0x12, 0x00, 0, 0}, 0, {}, 1, 3},
       {G, B, R, R, G, B}},
      {"8 bits, index past the palette is black", {3, 2, 8, {R, G}, {0, 1, 0, 0, 1, 0, 9, 0}, 0, {}, 1, 2},
       {G, R, K, R, G, R}},
      {"24 bits, rows padded", {3, 2, 24, {}, {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0,
                                                0, 0, 0, 0x30, 0x20, 0x10, 0xFF, 0xFF, 0xFF, 0, 0, 0}},
       {K, 0x102030, W, B, G, R}},
      {"32 bits, alpha dropped", {3, 2, 32, {}, {1, 2, 3, 0xEE, 4, 5, 6, 0xEE, 7, 8, 9, 0xEE,
                                                  9, 8, 7, 0, 6, 5, 4, 0, 3, 2, 1, 0}},
       {0x070809, 0x040506, 0x010203, 0x030201, 0x060504, 0x090807}},
      {"32 bits, plain bit fields", {3, 2, 32, {}, Bytes(24, 0x80), 3, {0xFF0000, 0xFF00, 0xFF}},
       std::vector<Pixel>(6, 0x808080)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = ReadBmp(Bmp(c.fields));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(bitmap->pixels, c.topDown);
    // Stored top row first, the same picture comes out.
    BmpFields flipped = c.fields;
    flipped.height = -2;
    const std::size_t half = flipped.pixels.size() / 2;
    const auto middle = flipped.pixels.begin() + static_cast<std::ptrdiff_t>(half);
    std::rotate(flipped.pixels.begin(), middle, flipped.pixels.end());
    EXPECT_EQ(ReadBmp(Bmp(flipped)), bitmap);
  }
}

TEST(ReadBmp, RefusesDamagedAndOversizedFiles) {
  const BmpFields good = {2, 2, 24, {}, Bytes(16, 0x55)};
  ASSERT_TRUE(ReadBmp(Bmp(good)));
  using Fields = void (*)(BmpFields&);
  using Raw = void (*)(Bytes&);
  // Pictures beyond the limits come with all their pixel bytes, so only the limit refuses them.
  const struct {
    const char* name;
    Fields fields;
    Raw raw;
  } cases[] = {
      {"pixels cut short", nullptr, [](Bytes& b) { b.pop_back(); }},
      {"headers cut short", nullptr, [](Bytes& b) { b.resize(50); }},
      {"no BM", nullptr, [](Bytes& b) { b[1] = 'A'; }},
      {"zero width", [](BmpFields& f) { f.width = 0; }, nullptr},
      {"zero height", [](BmpFields& f) { f.height = 0; }, nullptr},
      {"most negative height", [](BmpFields& f) { f.height = INT32_MIN; }, nullptr},
      {"too wide", [](BmpFields& f) { f = {kBmpMaxSide + 1, 1, 1, {K, W}, Bytes(2052)}; }, nullptr},
      {"too tall, top-down", [](BmpFields& f) { f = {1, -(kBmpMaxSide + 1), 1, {K, W}, Bytes(4 * 16385)}; }, nullptr},
      {"too many pixels", [](BmpFields& f) { f = {kBmpMaxSide, 4097, 1, {K, W}, Bytes(2048 * 4097)}; }, nullptr},
      {"zero planes", [](BmpFields& f) { f.planes = 0; }, nullptr},
      {"16 bits", [](BmpFields& f) { f.bits = 16; }, nullptr},
      {"run-length coded", [](BmpFields& f) { f.compression = 1; }, nullptr},
      {"bit fields on 24 bits", [](BmpFields& f) { f.compression = 3; f.masks = {0xFF0000, 0xFF00, 0xFF}; }, nullptr},
      {"odd bit-field masks", [](BmpFields& f) { f.bits = 32; f.compression = 3; f.masks = {0xFF, 0xFF00, 0xFF0000}; },
       nullptr},
      {"palette larger than the depth allows",
       [](BmpFields& f) { f.bits = 1; f.palette = {K, W, R}; f.coloursUsed = 3; }, nullptr},
      {"palette past the end", [](BmpFields& f) { f.bits = 8; f.coloursUsed = 200; f.palette = {K}; }, nullptr},
      {"pixel offset inside the headers", nullptr, [](Bytes& b) { b[10] = 20; }},
      {"pixel offset past the end", nullptr, [](Bytes& b) { b[13] = 0x7F; }},
      {"info header of 12 bytes", nullptr, [](Bytes& b) { b[14] = 12; }},
      {"info header longer than the file", nullptr, [](Bytes& b) { b[16] = 1; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BmpFields f = good;
    if (c.fields) c.fields(f);
    Bytes file = Bmp(f);
    if (c.raw) c.raw(file);
    EXPECT_FALSE(ReadBmp(file));
  }
}

TEST(WriteBmp24, ReadsBackWithoutTheTopByte) {
  Bitmap picture(5, 3);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = 0xAB000000 | static_cast<Pixel>(i * 0x030507);
  const Bytes file = WriteBmp24(picture);
  EXPECT_EQ(file.size(), 54u + 16u * 3u);  // 15 bytes a row, padded to 16
  for (Pixel& p : picture.pixels) p &= 0xFFFFFF;
  EXPECT_EQ(ReadBmp(file), picture);
}

}  // namespace
}  // namespace pimblo::test
