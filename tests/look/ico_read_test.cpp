// The icon reader against the program's icon as the build writes it: its sizes, colours and
// see-through pixels, refusal of a cut file, and the choice of a picture for a size.
#include <gtest/gtest.h>

#include <vector>

#include "look/ico_read.h"
#include "resources/embedded_assets.h"
#include "sprites/bytes.h"

namespace pimblo::test {
namespace {

TEST(IcoRead, ReadsTheProgramIconAtItsThreeSizes) {
  const auto pictures = ReadIco(assets::IconFile());
  ASSERT_TRUE(pictures);
  ASSERT_EQ(pictures->size(), 3u);
  const int sides[] = {16, 32, 48};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ((*pictures)[i].pixels.width, sides[i]);
    EXPECT_EQ((*pictures)[i].pixels.height, sides[i]);
  }
  // The 32-pixel drawing's top rows: ".........KKKKKKK" and ".......KKpppppppKK".
  const IconPicture& p = (*pictures)[1];
  EXPECT_TRUE(p.clear.IsTransparent(0, 0));
  EXPECT_FALSE(p.clear.IsTransparent(9, 0));
  EXPECT_EQ(p.pixels.At(9, 0), MakePixel(0, 0, 0));
  EXPECT_FALSE(p.clear.IsTransparent(9, 1));
  EXPECT_EQ(p.pixels.At(9, 1), MakePixel(0xBD, 0xCE, 0xDE));
}

// A file of one 2×2 picture of `bits` a pixel: `palette` (0x00RRGGBB), `rows` as stored (bottom row
// first, each padded to four bytes), and a mask that clears the bottom right pixel.
std::vector<std::uint8_t> OnePictureIco(std::uint16_t bits, const std::vector<std::uint32_t>& palette,
                                        const std::vector<std::uint8_t>& rows) {
  ByteWriter dib;
  dib.U32(40);
  dib.I32(2);
  dib.I32(4);
  dib.U16(1);
  dib.U16(bits);
  dib.U32(0);
  dib.Zeros(3 * 4);  // the image's size, the resolution
  dib.U32(static_cast<std::uint32_t>(palette.size()));
  dib.U32(0);
  for (std::uint32_t c : palette) dib.U32(c);
  dib.Bytes(rows);
  for (std::uint8_t maskRow : {0x40, 0x00}) {  // bottom row first: its right pixel is clear
    dib.U8(maskRow);
    dib.Zeros(3);
  }
  const auto picture = dib.Take();
  ByteWriter file;
  file.U16(0);
  file.U16(1);
  file.U16(1);
  file.Bytes(std::vector<std::uint8_t>{2, 2, 0, 0, 1, 0});
  file.U16(bits);
  file.U32(static_cast<std::uint32_t>(picture.size()));
  file.U32(6 + 16);
  file.Bytes(picture);
  return file.Take();
}

TEST(IcoRead, ReadsEveryDepthWithItsMask) {
  constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF;
  // Top row: red, green; bottom row: blue, white.
  const struct {
    std::uint16_t bits;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> rows;
  } cases[] = {
      {1, {red, green}, {0x40, 0, 0, 0, 0x40, 0, 0, 0}},  // two colours: red and green below too
      {4, {red, green, blue, white}, {0x23, 0, 0, 0, 0x01, 0, 0, 0}},
      {8, {red, green, blue, white}, {2, 3, 0, 0, 0, 1, 0, 0}},
      {24, {}, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0}},
      {32, {}, {0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0}},
  };
  for (const auto& c : cases) {
    const auto pictures = ReadIco(OnePictureIco(c.bits, c.palette, c.rows));
    ASSERT_TRUE(pictures) << c.bits;
    ASSERT_EQ(pictures->size(), 1u);
    const IconPicture& p = pictures->front();
    const bool twoColours = c.bits == 1;
    EXPECT_EQ(p.pixels.At(0, 0), red) << c.bits;
    EXPECT_EQ(p.pixels.At(1, 0), green) << c.bits;
    EXPECT_EQ(p.pixels.At(0, 1), twoColours ? red : blue) << c.bits;
    EXPECT_EQ(p.pixels.At(1, 1), twoColours ? green : white) << c.bits;
    EXPECT_FALSE(p.clear.IsTransparent(0, 0) || p.clear.IsTransparent(1, 0) || p.clear.IsTransparent(0, 1)) << c.bits;
    EXPECT_TRUE(p.clear.IsTransparent(1, 1)) << c.bits;
  }
}

TEST(IcoRead, RefusesACutFile) {
  const auto file = assets::IconFile();
  for (std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{40}, file.size() / 2, file.size() - 1})
    EXPECT_FALSE(ReadIco(file.first(size))) << size;
}

TEST(IcoRead, PicksTheNearestSideAndTheLargerOnATie) {
  const auto pictures = ReadIco(assets::IconFile());
  ASSERT_TRUE(pictures);
  const struct {
    int side, picked;
  } cases[] = {{8, 16}, {16, 16}, {22, 16}, {24, 32}, {30, 32}, {40, 48}, {100, 48}};
  for (const auto& c : cases) EXPECT_EQ(NearestIconPicture(*pictures, c.side).pixels.width, c.picked) << c.side;
}

}  // namespace
}  // namespace pimblo::test
