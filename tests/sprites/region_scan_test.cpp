// Scanning a picture into the rectangles of a window region.
#include <gtest/gtest.h>

#include "sprites/region_scan.h"

namespace pimblo {
namespace {

TEST(KeyRange, ThePetsKeyCutsPureRedWithinTheTolerance) {
  const KeyRange range = MakeKeyRange(kPetKey, kPetTolerance);
  struct Case {
    Pixel pixel;
    bool cut;
  };
  const Case cases[] = {
      {MakePixel(255, 0, 0), true},    {MakePixel(255, 16, 16), true}, {MakePixel(254, 0, 0), false},
      {MakePixel(255, 17, 0), false},  {MakePixel(255, 0, 17), false}, {MakePixel(0, 0, 255), false},
      {MakePixel(0, 0, 0), false},     {0xFFFF0000u, true},  // byte 3 is ignored
  };
  for (const Case& c : cases) EXPECT_EQ(IsKeyPixel(c.pixel, range), c.cut) << std::hex << c.pixel;
}

TEST(KeyRange, TheToleranceOnlyWidensUpwardsAndIsClampedAt255) {
  const KeyRange r = MakeKeyRange(0x000000FA, 0x00000010);
  EXPECT_EQ(r.low[0], 250);
  EXPECT_EQ(r.high[0], 255);
  EXPECT_TRUE(IsKeyPixel(0x000000FF, r));
  EXPECT_FALSE(IsKeyPixel(0x000000F9, r));
}

constexpr Pixel R = MakePixel(255, 0, 0);
constexpr Pixel B = MakePixel(0, 0, 0);

Bitmap FromRows(const std::vector<std::string>& rows) {
  Bitmap b(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()));
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x)
      b.At(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)) = rows[y][x] == '.' ? R : B;
  return b;
}

TEST(ScanBitmap, EveryMaximalRunOfARowIsOneRectangleTopRowFirst) {
  const Bitmap b = FromRows({
      "#..#",  // runs touching both ends of the row
      "#.#.",  // two runs one transparent pixel apart
      "....",
      "####",
  });
  const auto rects = ScanBitmap(b, kPetKey, kPetTolerance).AllRects();
  const std::vector<Rect> want = {
      {0, 0, 1, 1}, {3, 0, 4, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}, {0, 3, 4, 4},
  };
  EXPECT_EQ(rects, want);
}

TEST(ScanBitmap, AnAllTransparentPictureGivesOneEmptyBatch) {
  const auto scan = ScanBitmap(Bitmap(32, 32, R), kPetKey, kPetTolerance);
  ASSERT_EQ(scan.batches.size(), 1u);
  EXPECT_TRUE(scan.batches[0].rects.empty());
  EXPECT_EQ(scan.batches[0].bound, kEmptyBound);
}

// Opaque columns (the even ones) between cut-out ones: one run per opaque column and row.
Bitmap Striped(int width, int height) {
  Bitmap b(width, height, R);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; x += 2) b.At(x, y) = B;
  return b;
}

TEST(ScanBitmap, APictureWithoutTransparencyGivesOneFullRowPerRow) {
  const auto scan = ScanBitmap(Bitmap(7, 5, B), kPetKey, kPetTolerance);
  const auto rects = scan.AllRects();
  ASSERT_EQ(rects.size(), 5u);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(rects[static_cast<std::size_t>(y)], (Rect{0, y, 7, y + 1}));
  EXPECT_EQ(scan.batches[0].bound, (Rect{0, 0, 7, 5}));
}

TEST(ScanBitmap, TheBufferGrowsByHundredsAndTwoThousandRectanglesMakeABatch) {
  // A striped row of width 2n gives n runs; 50 rows of 50 runs = 2500 rects.
  const auto scan = ScanBitmap(Striped(100, 50), kPetKey, kPetTolerance);
  ASSERT_EQ(scan.batches.size(), 2u);
  EXPECT_EQ(scan.batches[0].rects.size(), 2000u);
  EXPECT_EQ(scan.batches[0].capacity, 2000);
  EXPECT_EQ(scan.batches[1].rects.size(), 500u);
  EXPECT_EQ(scan.batches[1].capacity, 2000);  // the capacity is kept after a batch
  EXPECT_EQ(scan.AllRects().size(), 2500u);
  // The first batch ends with the last run of row 39; the second starts on row 40.
  EXPECT_EQ(scan.batches[0].rects.back(), (Rect{98, 39, 99, 40}));
  EXPECT_EQ(scan.batches[1].rects.front(), (Rect{0, 40, 1, 41}));
  EXPECT_EQ(scan.batches[1].bound, (Rect{0, 40, 99, 50}));
}

TEST(ScanBitmap, ReadsBottomUpRowsWithPaddedStrides) {
  // Rows stored bottom-up with a stride wider than the row.
  const std::int32_t w = 3, h = 2;
  const std::ptrdiff_t stride = 16;
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride * h), 0);
  auto put = [&](int x, int y, Pixel p) { std::memcpy(&bits[static_cast<std::size_t>((h - 1 - y) * stride + x * 4)], &p, 4); };
  for (int x = 0; x < w; ++x) {
    put(x, 0, R);
    put(x, 1, R);
  }
  put(1, 0, B);  // top row, middle pixel
  RectBatches sink;
  ScanRegionRows(bits.data(), w, h, stride, MakeKeyRange(kPetKey, kPetTolerance), sink);
  EXPECT_EQ(sink.AllRects(), (std::vector<Rect>{{1, 0, 2, 1}}));
}

TEST(ScanBitmap, AtMostSixteenRunsARowInAPetSizedPicture) {
  const auto scan = ScanBitmap(Striped(32, 32), kPetKey, kPetTolerance);
  EXPECT_EQ(scan.batches.size(), 1u);
  EXPECT_EQ(scan.AllRects().size(), 512u);
}

}  // namespace
}  // namespace pimblo
