// The image-list stream the sheets are shipped in, and the shipped sheets themselves.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "resources/embedded_assets.h"
#include "sprites/bytes.h"
#include "sprites/image_list_stream.h"
#include "sprites/region_scan.h"
#include "tests/common/test_world.h"

namespace pimblo::test {
namespace {

ImageList SampleList(int frames, bool withMasks) {
  ImageList list;
  for (int f = 0; f < frames; ++f) {
    Bitmap b(32, 32);
    Mask m(32, 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        b.At(x, y) = MakePixel(Widen5(static_cast<unsigned>(x + f) % 32), Widen5(static_cast<unsigned>(y) % 32),
                               Widen5(static_cast<unsigned>(x ^ y) % 32));
        m.Set(x, y, (x * 7 + y * 3 + f) % 5 == 0);
        if (m.IsTransparent(x, y)) b.At(x, y) = 0;  // stored black where transparent
      }
    list.Add(b, withMasks ? &m : nullptr);
  }
  return list;
}

TEST(ImageListStream, HeaderAndStripsAreLaidOutFieldByField) {
  const auto bytes = WriteImageListStream(SampleList(7, true));
  ByteReader r(bytes);
  EXPECT_EQ(r.U8(), 'I');
  EXPECT_EQ(r.U8(), 'L');
  EXPECT_EQ(r.U16(), 0x0101);
  EXPECT_EQ(r.U16(), 7);       // images
  EXPECT_EQ(r.U16(), 9);       // capacity
  EXPECT_EQ(r.U16(), 4);       // growth
  EXPECT_EQ(r.U16(), 32);      // width
  EXPECT_EQ(r.U16(), 32);      // height
  EXPECT_EQ(r.U32(), 0xFFFFFFFFu);
  EXPECT_EQ(r.U16(), 0x10FF);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.I16(), -1);
  ASSERT_EQ(r.Offset(), 28u);
  // Image strip: 128 × 96 at 16 bits, the file-size field holding the headers only.
  EXPECT_EQ(r.U16(), 0x4D42);
  EXPECT_EQ(r.U32(), 54u);
  r.Skip(8);
  EXPECT_EQ(r.U32(), 40u);
  EXPECT_EQ(r.I32(), 128);
  EXPECT_EQ(r.I32(), 96);
  EXPECT_EQ(r.U16(), 1);
  EXPECT_EQ(r.U16(), 16);
  EXPECT_EQ(r.U32(), 0u);
  r.Skip(20 + 256 * 96);
  // Mask strip: one bit per pixel, black and white palette.
  EXPECT_EQ(r.U16(), 0x4D42);
  EXPECT_EQ(r.U32(), 62u);
  r.Skip(8 + 4 + 8 + 2);
  EXPECT_EQ(r.U16(), 1);
  r.Skip(24);
  EXPECT_EQ(r.U32(), 0u);
  EXPECT_EQ(r.U32(), 0x00FFFFFFu);
  r.Skip(16 * 96);
  ASSERT_EQ(r.Remaining(), 22u);
  for (int i = 0; i < 22; ++i) EXPECT_EQ(r.U8(), 0);
}

TEST(ImageListStream, RoundTripsFramesAndMasks) {
  for (int frames : {1, 7, 8, 9, 13}) {
    const ImageList list = SampleList(frames, true);
    const auto bytes = WriteImageListStream(list);
    const auto read = ReadImageListStream(bytes);
    ASSERT_TRUE(read.list) << read.error;
    EXPECT_EQ(read.bytesRead, bytes.size());
    ASSERT_EQ(read.list->Count(), frames);
    for (int f = 0; f < frames; ++f) {
      EXPECT_EQ(read.list->Image(f), list.Image(f)) << f;
      EXPECT_EQ(*read.list->FrameMask(f), *list.FrameMask(f)) << f;
    }
  }
}

TEST(ImageListStream, FiveBitColoursWidenAsTheWindowSystemDoes) {
  EXPECT_EQ(Widen5(31), 255);
  EXPECT_EQ(Widen5(0), 0);
  EXPECT_EQ(Widen5(16), 132);
  EXPECT_EQ(Widen5(1), 8);
}

TEST(ImageListStream, RefusesMalformedStreamsWithAReason) {
  const auto good = WriteImageListStream(SampleList(7, true));
  auto broken = [&](auto edit) {
    auto b = good;
    edit(b);
    return ReadImageListStream(b);
  };
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> edit;
  };
  const Case cases[] = {
      {"magic", [](auto& b) { b[0] = 'X'; }},
      {"version", [](auto& b) { b[2] = 0x02; }},
      {"zero width", [](auto& b) { b[10] = 0; }},
      {"huge width", [](auto& b) { b[11] = 0x40; }},
      {"frames beyond the strip", [](auto& b) { b[4] = 20; }},
      {"bitmap signature", [](auto& b) { b[28] = 'X'; }},
      {"colour depth", [](auto& b) { b[28 + 28] = 8; }},
      {"compression", [](auto& b) { b[28 + 30] = 1; }},
      {"strip width", [](auto& b) { b[28 + 18] = 127; }},
      {"negative width", [](auto& b) { b[28 + 21] = 0x80; }},
      {"huge height", [](auto& b) { b[28 + 25] = 0x7F; }},
      {"mask depth", [](auto& b) { b[28 + 54 + 256 * 96 + 28] = 4; }},
  };
  for (const Case& c : cases) {
    const auto result = broken(c.edit);
    EXPECT_FALSE(result.list) << c.what;
    EXPECT_FALSE(result.error.empty()) << c.what;
  }
}

TEST(ImageListStream, RefusesEveryTruncation) {
  const auto good = WriteImageListStream(SampleList(8, true));
  const std::size_t full = good.size() - kImageListTrailerSize;  // the trailer is optional
  for (std::size_t n = 0; n < full; n += (n < 200 || n > full - 200) ? 1 : 61) {
    const auto result = ReadImageListStream(std::span(good.data(), n));
    EXPECT_FALSE(result.list) << n;
  }
}

// What the shipped pictures must keep, whoever draws them.
TEST(ShippedSheets, HeadsFillRowsZeroToTwentyFourOnPureRed) {
  const auto read = ReadImageListStream(assets::HeadsStream());
  ASSERT_TRUE(read.list) << read.error;
  const ImageList& heads = *read.list;
  ASSERT_EQ(heads.Count(), 7);
  const KeyRange key = MakeKeyRange(kPetKey, kPetTolerance);
  for (int f = 0; f < 7; ++f) {
    const Bitmap& b = heads.Image(f);
    bool col0 = false, col31 = false, row0 = false, row24 = false;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const Pixel p = b.At(x, y);
        EXPECT_FALSE(heads.FrameMask(f)->IsTransparent(x, y));
        if (p == kRedPixel) continue;
        EXPECT_FALSE(IsKeyPixel(p, key)) << "near-red pixel in frame " << f << " at " << x << "," << y;
        EXPECT_LE(y, 24) << "frame " << f;
        col0 |= x == 0;
        col31 |= x == 31;
        row0 |= y == 0;
        row24 |= y == 24;
      }
    EXPECT_TRUE(col0 && col31 && row0 && row24) << "frame " << f << " does not reach all four sides";
    // Round: the corners are background, so the pet never bumps into its own
    // window's corner when it probes its own top-left pixel.
    for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(b.At(c, 0), kRedPixel) << f;
      EXPECT_EQ(b.At(31 - c, 0), kRedPixel) << f;
      EXPECT_EQ(b.At(0, c), kRedPixel) << f;
    }
  }
}

TEST(ShippedSheets, LegsAreMaskedToTheHipsAndFeetInFourColours) {
  const auto read = ReadImageListStream(assets::LegsStream());
  ASSERT_TRUE(read.list) << read.error;
  const ImageList& legs = *read.list;
  ASSERT_EQ(legs.Count(), 8);
  std::set<Pixel> colours;
  for (int f = 0; f < 8; ++f) {
    int opaque = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        if (legs.FrameMask(f)->IsTransparent(x, y)) continue;
        ++opaque;
        EXPECT_TRUE(y >= 25 && x >= 5 && x <= 22) << "frame " << f << " at " << x << "," << y;
        colours.insert(legs.Image(f).At(x, y));
      }
    EXPECT_GT(opaque, 10) << f;
  }
  EXPECT_EQ(colours.size(), 4u);
  EXPECT_TRUE(colours.count(MakePixel(0, 0, 0)));
}

TEST(ShippedSheets, WalkFramesDifferFromEachOther) {
  const auto legs = *ReadImageListStream(assets::LegsStream()).list;
  for (int a = 0; a < 8; ++a)
    for (int b = a + 1; b < 8; ++b) EXPECT_NE(legs.FrameMask(a), legs.FrameMask(b)) << a << " vs " << b;
}

// A pose's head and legs, either way, cover the whole picture: what the picture held before
// never shows through, so the pose alone tells the window's shape (the program keeps one a pose).
TEST(ShippedSheets, EveryPoseCoversThePicture) {
  const PetSheets& sheets = ShippedSheets();
  for (bool right : {true, false})
    for (int head = 0; head < sheets.Heads.Count(); ++head)
      for (int leg = 0; leg < sheets.Legs.Count(); ++leg) {
        Bitmap a(32, 32, MakePixel(1, 2, 3)), b(32, 32, MakePixel(4, 5, 6));
        for (Bitmap* picture : {&a, &b}) {
          (right ? sheets.Heads : sheets.FHeads).Draw(head, *picture);
          (right ? sheets.Legs : sheets.FLegs).Draw(leg, *picture);
        }
        EXPECT_EQ(a, b) << (right ? "right" : "left") << " head " << head << " leg " << leg;
      }
}

}  // namespace
}  // namespace pimblo::test
