// The BMP reader: every pixel layout and header kind against bytes laid out by hand, row order, and
// refusal of damaged or oversized files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "look/bmp_read.h"
#include "sprites/bytes.h"

namespace pimblo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BmpFields {
  std::int32_t width, height;
  std::uint16_t bits;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written as B G R 0 (B G R under a core header)
  Bytes pixels;                        // rows as stored, padding included
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks = {};  // after a 40-byte header, within a longer one
  std::uint16_t planes = 1;
  std::uint32_t coloursUsed = 0;
  std::uint32_t headerSize = 40;  // 12: OS/2 core header; 108, 124: V4, V5
  std::uint32_t gap = 0;          // bytes between the tables and the pixels
};

Bytes Bmp(const BmpFields& f) {
  const bool core = f.headerSize == 12;
  const bool masksInside = f.headerSize >= 52;
  const auto entry = core ? 3u : 4u;
  const auto masksAfter = masksInside ? 0u : 4 * static_cast<std::uint32_t>(f.masks.size());
  const std::uint32_t offset = 14 + f.headerSize + masksAfter + entry * static_cast<std::uint32_t>(f.palette.size()) + f.gap;
  ByteWriter b;
  b.U8('B');
  b.U8('M');
  b.U32(offset + static_cast<std::uint32_t>(f.pixels.size()));
  b.U32(0);
  b.U32(offset);
  b.U32(f.headerSize);
  if (core) {
    for (auto v : {std::uint16_t(f.width), std::uint16_t(f.height), f.planes, f.bits}) b.U16(v);
  } else {
    for (std::uint32_t v : {std::uint32_t(f.width), std::uint32_t(f.height)}) b.U32(v);
    b.U16(f.planes);
    b.U16(f.bits);
    for (std::uint32_t v : {f.compression, std::uint32_t(f.pixels.size()), 0u, 0u, f.coloursUsed, 0u}) b.U32(v);
    for (std::uint32_t m : f.masks) b.U32(m);
    if (masksInside) b.Zeros(f.headerSize - 40 - 4 * f.masks.size());
  }
  for (std::uint32_t p : f.palette) {
    b.U8(static_cast<std::uint8_t>(p));
    b.U8(static_cast<std::uint8_t>(p >> 8));
    b.U8(static_cast<std::uint8_t>(p >> 16));
    if (!core) b.U8(0);
  }
  b.Zeros(f.gap);
  b.Bytes(f.pixels);
  return b.Take();
}

// Little-endian fields of `width` bytes each: pixels of 16 or 32 bits.
Bytes Le(std::initializer_list<std::uint32_t> values, int width) {
  Bytes out;
  for (std::uint32_t v : values)
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return out;
}

// A full palette of 2^bits entries starting with `first`, black after.
std::vector<std::uint32_t> FullPalette(std::vector<std::uint32_t> first, int bits) {
  first.resize(std::size_t{1} << bits, 0);
  return first;
}

constexpr Pixel R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;

// A file and the 3 x 2 picture it holds, top row first.
struct DecodeCase {
  const char* name;
  BmpFields fields;
  std::vector<Pixel> topDown;

  Bitmap Picture() const {
    Bitmap picture(3, 2);
    picture.pixels = topDown;
    return picture;
  }
};

TEST(ReadBmp, DecodesEveryPixelLayout) {
  // Bottom row red, green, blue; top row black, white, and the middle grey widened.
  const Bytes rgb555 = Le({0x7C00, 0x3E0, 0x1F, 0, 0, 0x7FFF, 0x4210, 0}, 2);
  const Bytes rgb565 = Le({0xF800, 0x7E0, 0x1F, 0, 0, 0xFFFF, 0x8410, 0}, 2);
  const Bytes rgb101010 = Le({0x3FF80001, 0x3FF80001, 0x3FF80001, 0xFFFFF, 0xFFFFF, 0xFFFFF}, 4);
  const std::vector<Pixel> tenBits = {0x00FFFF, 0x00FFFF, 0x00FFFF, 0xFF8000, 0xFF8000, 0xFF8000};
  const DecodeCase cases[] = {
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
      {"16 bits, 5-5-5 widened", {3, 2, 16, {}, rgb555}, {K, W, 0x848484, R, G, B}},
      {"16 bits, 5-5-5 bit fields", {3, 2, 16, {}, rgb555, 3, {0x7C00, 0x3E0, 0x1F}}, {K, W, 0x848484, R, G, B}},
      {"16 bits, 5-6-5 bit fields", {3, 2, 16, {}, rgb565, 3, {0xF800, 0x7E0, 0x1F}}, {K, W, 0x848284, R, G, B}},
      {"16 bits, 5-6-5 in a V4 header", {3, 2, 16, {}, rgb565, 3, {0xF800, 0x7E0, 0x1F}, 1, 0, 108},
       {K, W, 0x848284, R, G, B}},
      {"32 bits, 10-10-10 bit fields", {3, 2, 32, {}, rgb101010, 3, {0x3FF00000, 0xFFC00, 0x3FF}}, tenBits},
      {"32 bits, 10-10-10 in a V5 header", {3, 2, 32, {}, rgb101010, 3, {0x3FF00000, 0xFFC00, 0x3FF}, 1, 0, 124},
       tenBits},
      {"32 bits, bit fields red lowest", {3, 2, 32, {}, Le({0x332211, 0x332211, 0x332211, 0, 0, 0xFF}, 4), 3,
                                          {0xFF, 0xFF00, 0xFF0000}},
       {K, K, 0xFF0000, 0x112233, 0x112233, 0x112233}},
      {"pixels apart from the palette", {3, 2, 8, {R, G}, {0, 1, 0, 0, 1, 0, 1, 0}, 0, {}, 1, 2, 40, 6},
       {G, R, G, R, G, R}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadBmp(Bmp(c.fields)), c.Picture());
    // Stored top row first, the same picture comes out.
    BmpFields flipped = c.fields;
    flipped.height = -2;
    const std::size_t half = flipped.pixels.size() / 2;
    const auto middle = flipped.pixels.begin() + static_cast<std::ptrdiff_t>(half);
    std::rotate(flipped.pixels.begin(), middle, flipped.pixels.end());
    EXPECT_EQ(ReadBmp(Bmp(flipped)), c.Picture());
  }
}

TEST(ReadBmp, DecodesBottomUpOnlyKinds) {
  const DecodeCase cases[] = {
      {"core header, 1 bit", {3, 2, 1, {K, W}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}, 0, {}, 1, 0, 12}, {K, W, K, W, K, W}},
      {"core header, 4 bits", {3, 2, 4, FullPalette({R, G, B}, 4), {0x01, 0x20, 0, 0, 0x12, 0, 0, 0}, 0, {}, 1, 0, 12},
       {G, B, R, R, G, B}},
      {"core header, 8 bits", {3, 2, 8, FullPalette({R, G}, 8), {0, 1, 0, 0, 1, 0, 9, 0}, 0, {}, 1, 0, 12},
       {G, R, K, R, G, R}},
      {"core header, 24 bits", {3, 2, 24, {}, {0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                              0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, {}, 1, 0, 12},
       {W, K, K, R, K, K}},
      // Two reds and a blue; then green, blue, red as they are, padded to a word.
      {"RLE8", {3, 2, 8, {K, R, G, B}, {2, 1, 1, 3, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1}, 1, {}, 1, 4}, {G, B, R, R, R, B}},
      // Red, then a move right and up to red: the skipped pixels keep index 0.
      {"RLE8, delta leaves index 0", {3, 2, 8, {W, R}, {1, 1, 0, 2, 1, 1, 1, 1, 0, 1}, 1, {}, 1, 2}, {W, W, R, R, W, W}},
      {"RLE8, early end of line and picture", {3, 2, 8, {W, R}, {1, 1, 0, 0, 1, 1, 0, 1}, 1, {}, 1, 2},
       {R, W, W, R, W, W}},
      // Red, green, red from one byte; then green, blue, red as they are.
      {"RLE4", {3, 2, 4, {K, R, G, B}, {3, 0x12, 0, 0, 0, 3, 0x23, 0x10, 0, 1}, 2, {}, 1, 4}, {G, B, R, R, G, R}},
      {"24 bits, last row's padding missing", {3, 2, 24, {}, {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0,
                                                              0, 0, 0, 0x30, 0x20, 0x10, 0xFF, 0xFF, 0xFF}},
       {K, 0x102030, W, B, G, R}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadBmp(Bmp(c.fields)), c.Picture());
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
      {"pixels cut short of the last row's pixels", nullptr, [](Bytes& b) { b.resize(b.size() - 3); }},
      {"headers cut short", nullptr, [](Bytes& b) { b.resize(50); }},
      {"no BM", nullptr, [](Bytes& b) { b[1] = 'A'; }},
      {"zero width", [](BmpFields& f) { f.width = 0; }, nullptr},
      {"zero height", [](BmpFields& f) { f.height = 0; }, nullptr},
      {"most negative height", [](BmpFields& f) { f.height = INT32_MIN; }, nullptr},
      {"too wide", [](BmpFields& f) { f = {kBmpMaxSide + 1, 1, 1, {K, W}, Bytes(2052)}; }, nullptr},
      {"too tall, top-down", [](BmpFields& f) { f = {1, -(kBmpMaxSide + 1), 1, {K, W}, Bytes(4 * 16385)}; }, nullptr},
      {"too many pixels", [](BmpFields& f) { f = {kBmpMaxSide, 4097, 1, {K, W}, Bytes(2048 * 4097)}; }, nullptr},
      {"zero planes", [](BmpFields& f) { f.planes = 0; }, nullptr},
      {"2 bits", [](BmpFields& f) { f.bits = 2; }, nullptr},
      {"run-length coded on 24 bits", [](BmpFields& f) { f.compression = 1; }, nullptr},
      {"bit fields on 24 bits", [](BmpFields& f) { f.compression = 3; f.masks = {0xFF0000, 0xFF00, 0xFF}; }, nullptr},
      {"bit-field mask with a gap", [](BmpFields& f) { f.bits = 32; f.compression = 3; f.masks = {0xF0F0, 0xF0000, 0xF}; },
       nullptr},
      {"bit-field mask empty", [](BmpFields& f) { f.bits = 32; f.compression = 3; f.masks = {0xFF0000, 0, 0xFF}; },
       nullptr},
      {"bit-field mask wider than the pixel", [](BmpFields& f) { f = {2, 2, 16, {}, Bytes(8), 3, {0x1F0000, 0x7E0, 0x1F}}; },
       nullptr},
      {"bit-field masks cut short", [](BmpFields& f) { f = {1, 1, 32, {}, {}, 3, {0xFF0000}}; }, nullptr},
      {"palette larger than the depth allows",
       [](BmpFields& f) { f.bits = 1; f.palette = {K, W, R}; f.coloursUsed = 3; }, nullptr},
      {"palette past the end", [](BmpFields& f) { f.bits = 8; f.coloursUsed = 200; f.palette = {K}; }, nullptr},
      {"pixel offset inside the headers", nullptr, [](Bytes& b) { b[10] = 20; }},
      {"pixel offset past the end", nullptr, [](Bytes& b) { b[13] = 0x7F; }},
      {"info header of 20 bytes", nullptr, [](Bytes& b) { b[14] = 20; }},
      {"core header cut short", [](BmpFields& f) { f.headerSize = 12; }, [](Bytes& b) { b.resize(22); }},
      {"core header at 16 bits", [](BmpFields& f) { f.headerSize = 12; f.bits = 16; }, nullptr},
      {"core header too wide", [](BmpFields& f) { f = {20000, 1, 1, {K, W}, Bytes(2500), 0, {}, 1, 0, 12}; }, nullptr},
      {"RLE8 past the row's end", [](BmpFields& f) { f = {2, 2, 8, {K, W}, {3, 1, 0, 1}, 1}; }, nullptr},
      {"RLE8 past the last row", [](BmpFields& f) { f = {2, 2, 8, {K, W}, {0, 0, 0, 0, 1, 1, 0, 1}, 1}; }, nullptr},
      {"RLE8 moved past the picture", [](BmpFields& f) { f = {2, 2, 8, {K, W}, {0, 2, 0, 2, 1, 1, 0, 1}, 1}; }, nullptr},
      {"RLE4 absolute run past the row's end",
       [](BmpFields& f) { f = {2, 2, 4, {K, W}, {0, 3, 0x11, 0x10, 0, 1}, 2}; }, nullptr},
      {"RLE8 absolute run cut short", [](BmpFields& f) { f = {4, 1, 8, {K, W}, {0, 4, 1, 1}, 1}; }, nullptr},
      {"RLE8 without its end", [](BmpFields& f) { f = {2, 2, 8, {K, W}, {2, 1, 0, 0}, 1}; }, nullptr},
      {"RLE8 top-down", [](BmpFields& f) { f = {2, -2, 8, {K, W}, {0, 1}, 1}; }, nullptr},
      {"RLE4 on 8 bits", [](BmpFields& f) { f = {2, 2, 8, {K, W}, {0, 1}, 2}; }, nullptr},
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
