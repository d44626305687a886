// The mirrored sheets and the two helpers that build them.
#include <gtest/gtest.h>

#include "sprites/mirror.h"
#include "tests/common/test_world.h"

namespace pimblo::test {
namespace {

TEST(MirrorBitmap, SwapsWholePixelWordsLeftAndRight) {
  Bitmap b(3, 2);
  b.pixels = {1, 2, 3, 4, 5, 0xFF000006};
  MirrorBitmap(b);
  EXPECT_EQ(b.pixels, (std::vector<Pixel>{3, 2, 1, 0xFF000006, 5, 4}));
}

TEST(MakeMaskedCopy, TransparentExactlyWhereThePixelIsTheColour) {
  Bitmap b(4, 1);
  b.pixels = {kRedPixel, MakePixel(254, 0, 0), MakePixel(255, 1, 0), kRedPixel};
  Mask m;
  MakeMaskedCopy(b, m, kSpriteBackground);
  EXPECT_EQ(m.width, 4);
  EXPECT_EQ(m.transparent, (std::vector<std::uint8_t>{1, 0, 0, 1}));
}

TEST(MirroredSheets, HoldAsManyFramesAsTheOriginals) {
  const PetSheets& s = ShippedSheets();
  EXPECT_EQ(s.Heads.Count(), 7);
  EXPECT_EQ(s.Legs.Count(), 8);
  EXPECT_EQ(s.FHeads.Count(), 7);
  EXPECT_EQ(s.FLegs.Count(), 8);
}

TEST(MirroredSheets, LegsAreMirroredWhereOpaqueRedElsewhereAndMaskedExactlyAtRed) {
  const PetSheets& s = ShippedSheets();
  for (int i = 0; i < s.Legs.Count(); ++i) {
    const Bitmap& image = s.FLegs.Image(i);
    const Mask& mask = *s.FLegs.FrameMask(i);
    const Mask& original = *s.Legs.FrameMask(i);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        if (!original.IsTransparent(31 - x, y)) {
          EXPECT_EQ(image.At(x, y), s.Legs.Image(i).At(31 - x, y));
          EXPECT_FALSE(mask.IsTransparent(x, y));
        } else {
          EXPECT_EQ(image.At(x, y), kRedPixel);
          EXPECT_TRUE(mask.IsTransparent(x, y));
        }
      }
  }
}

TEST(MirroredSheets, HeadsAreExactMirrorsAndReplaceEveryPixel) {
  const PetSheets& s = ShippedSheets();
  for (int i = 0; i < s.Heads.Count(); ++i) {
    EXPECT_FALSE(s.FHeads.FrameMask(i).has_value());
    Bitmap drawn(32, 32, MakePixel(1, 2, 3));
    s.FHeads.Draw(i, drawn);
    Bitmap mirrored = s.Heads.Image(i);
    MirrorBitmap(mirrored);
    EXPECT_EQ(drawn, mirrored) << "frame " << i;
  }
}

TEST(MirroredSheets, AHeadThenLegsGiveTheSamePictureWhateverTheTargetHeld) {
  const PetSheets& s = ShippedSheets();
  for (bool right : {true, false})
    for (int leg = 0; leg < 8; ++leg) {
      Bitmap a(32, 32, 0), b(32, 32, 0x00ABCDEF), c;  // c starts empty
      for (Bitmap* t : {&a, &b, &c}) {
        (right ? s.Heads : s.FHeads).Draw(6, *t);
        (right ? s.Legs : s.FLegs).Draw(leg, *t);
      }
      EXPECT_EQ(a, b);
      EXPECT_EQ(a, c);
    }
}

TEST(ImageListDraw, AnIndexOutsideTheListLeavesTheTargetAlone) {
  const PetSheets& s = ShippedSheets();
  for (int index : {-1, 7, 100}) {
    Bitmap target(5, 3, 0x123456);
    const Bitmap before = target;
    s.Heads.Draw(index, target);
    EXPECT_EQ(target, before) << index;
  }
}

TEST(ImageListDraw, GivesTheTargetTheFrameSizeAndDrawsThroughTheMask) {
  ImageList list(2, 1);
  Bitmap image(2, 1);
  image.pixels = {0x111111, 0x222222};
  Mask mask(2, 1);
  mask.Set(0, 0, true);
  list.Add(image, &mask);
  Bitmap target(2, 1, 0x999999);
  list.Draw(0, target);
  EXPECT_EQ(target.pixels, (std::vector<Pixel>{0x999999, 0x222222}));
  Bitmap other(5, 5, 0x999999);
  list.Draw(0, other);  // resized: its old content is gone
  EXPECT_EQ(other.width, 2);
  EXPECT_EQ(other.pixels, (std::vector<Pixel>{0, 0x222222}));
}

}  // namespace
}  // namespace pimblo::test
