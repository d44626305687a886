// The colour helpers: rounding ties to even, clamping, system colours resolved
// first, the display's nearest colour last, and the bitmap helpers' reuse of
// the previous pixel's result. (The icon shadow is checked with the painting.)
#include <gtest/gtest.h>

#include "look/menu_colors.h"
#include "look/xp_menu.h"
#include "tests/look/recording_canvas.h"

namespace pimblo {
namespace {

using test::RecordingCanvas;

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  struct Case {
    long long n, d;
    int expected;
  } cases[] = {{5, 2, 2},  {7, 2, 4},  {-5, 2, -2}, {-7, 2, -4}, {9, 4, 2},
               {10, 4, 2}, {11, 4, 3}, {14, 4, 4},  {0, 3, 0}};
  for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.n, c.d), c.expected) << c.n << "/" << c.d;
}

TEST(ColorHelpers, ChannelArithmetic) {
  RecordingCanvas canvas;
  enum Helper { Lighten, Darken, Gray };
  struct Case {
    Helper helper;
    ColorRef color;
    int amount;
    ColorRef expected;
  } cases[] = {
      {Lighten, MakeColor(245, 245, 245), 25, MakeColor(247, 247, 247)},  // 2.5 -> 2
      {Lighten, MakeColor(245, 250, 0), 35, MakeColor(249, 252, 89)},     // 3.5 -> 4, 1.75 -> 2, 89.25 -> 89
      {Lighten, MakeColor(250, 250, 250), 10, MakeColor(250, 250, 250)},  // 0.5 -> 0
      {Lighten, MakeColor(10, 36, 106), 50, MakeColor(132, 146, 180)},    // 122.5 -> 122, 109.5 -> 110
      {Lighten, MakeColor(1, 2, 3), 150, clWhite},                        // percent capped at 100
      {Lighten, clBtnFace, 86, MakeColor(249, 248, 247)},                 // system colour resolved first
      {Darken, MakeColor(100, 100, 100), 50, MakeColor(50, 52, 50)},      // green two lighter
      {Darken, MakeColor(30, 10, 250), -40, MakeColor(70, 52, 255)},      // negative lightens, clamped
      {Darken, MakeColor(20, 1, 20), 50, MakeColor(0, 0, 0)},             // clamped at 0
      {Darken, MakeColor(255, 254, 255), 0, MakeColor(255, 255, 255)},
      {Darken, clBtnFace, 90, MakeColor(122, 120, 110)},
      {Gray, MakeColor(10, 20, 31), 60, MakeColor(80, 80, 80)},
      {Gray, MakeColor(10, 20, 32), 0, MakeColor(20, 20, 20)},   // mean truncates
      {Gray, MakeColor(200, 200, 200), 60, MakeColor(240, 240, 240)},  // capped at 240
      {Gray, MakeColor(0, 0, 0), 150, MakeColor(100, 100, 100)},       // percent capped at 100
  };
  for (const Case& c : cases) {
    const ColorRef got = c.helper == Lighten  ? LightenColor(canvas, c.color, c.amount)
                         : c.helper == Darken ? DarkenColor(canvas, c.color, c.amount)
                                              : GrayLevelColor(canvas, c.color, c.amount);
    EXPECT_EQ(got, c.expected) << "helper " << c.helper << " colour " << std::hex << c.color << std::dec << " amount "
                               << c.amount;
  }
}

TEST(ColorHelpers, ResultIsTheDisplaysNearestColour) {
  RecordingCanvas canvas;
  canvas.UsePalette();
  EXPECT_EQ(LightenColor(canvas, MakeColor(10, 20, 30), 0), MakeColor(0, 0, 51));
  EXPECT_EQ(DarkenColor(canvas, MakeColor(110, 110, 110), 0), MakeColor(102, 102, 102));
  EXPECT_EQ(GrayLevelColor(canvas, MakeColor(90, 90, 90), 0), MakeColor(102, 102, 102));
  EXPECT_EQ(canvas.nearestLookups, 3);
}

TEST(ContrastTextColor, FontColourOnLightBarsLightenedOtherwise) {
  MenuOwner owner;
  TXPMenu menu(owner);
  RecordingCanvas canvas;
  MenuFont font = menu.Font();
  font.Color = MakeColor(1, 2, 3);
  menu.SetFont(font);
  struct Case {
    ColorRef bar;
    bool fontColour;
  } cases[] = {{MakeColor(151, 0, 150), false}, {MakeColor(152, 0, 150), true}, {MakeColor(0, 200, 0), false},
               {MakeColor(0, 201, 0), true}};
  for (const Case& c : cases) {
    const ColorRef expected = c.fontColour ? MakeColor(1, 2, 3) : LightenColor(canvas, c.bar, 90);
    EXPECT_EQ(menu.ContrastTextColor(canvas, c.bar), expected) << std::hex << c.bar;
  }
}

TEST(BitmapHelpers, RecolourEveryPixelOneLookupPerRun) {
  const Pixel a = PixelFromColorRef(MakeColor(200, 40, 40));
  const Pixel b = PixelFromColorRef(MakeColor(0, 0, 0));
  Bitmap source(3, 2);
  source.pixels = {a, a, a, b, b, a};  // runs continue across rows: a a a | b b a

  RecordingCanvas canvas;
  Bitmap lightened = source;
  LightenBitmap(lightened, canvas, 30);
  EXPECT_EQ(canvas.nearestLookups, 3);
  const Pixel la = PixelFromColorRef(MakeColor(216, 104, 104));  // 16.5 -> 16, 64.5 -> 64
  const Pixel lb = PixelFromColorRef(MakeColor(76, 76, 76));     // 76.5 -> 76
  EXPECT_EQ(lightened.pixels, (std::vector<Pixel>{la, la, la, lb, lb, la}));

  Bitmap grey = source;
  GrayOutBitmap(grey, canvas, 60);
  const Pixel ga = PixelFromColorRef(MakeColor(153, 153, 153));
  const Pixel gb = PixelFromColorRef(MakeColor(60, 60, 60));
  EXPECT_EQ(grey.pixels, (std::vector<Pixel>{ga, ga, ga, gb, gb, ga}));
}

}  // namespace
}  // namespace pimblo
