// The skinned windows' system menu items as the skin paints them.
#include "look/skin_menu_item.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace pimblo {
namespace {

using test::CanvasCall;
using test::RecordingCanvas;

constexpr ColorRef kMenu = MakeColor(250, 251, 255), kHilight = MakeColor(10, 36, 106),
                   kMenuText = MakeColor(1, 2, 3), kHilightText = MakeColor(254, 254, 254),
                   kShadow = MakeColor(128, 128, 129);

TSkinData& Skin() {
  static TSkinData skin;
  skin.Colors[scMenu] = kMenu;
  skin.Colors[scHilight] = kHilight;
  skin.Colors[scMenuText] = kMenuText;
  skin.Colors[scHilightText] = kHilightText;
  skin.Colors[scButtonShadow] = kShadow;
  return skin;
}

// Two glyphs: tag 0 all red, tag 1 all blue, each with a white (see-through) corner.
Bitmap Glyphs() {
  Bitmap strip(32, 16, MakePixel(255, 0, 0));
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) strip.At(x, y) = MakePixel(0, 0, 255);
  strip.At(0, 0) = strip.At(16, 0) = 0xFFFFFF;
  return strip;
}

int Width(const wchar_t* text) {
  int w = 0;
  for (const wchar_t* c = text; *c; ++c) w += RecordingCanvas::CharWidth(*c);
  return w;
}

TEST(SkinMenuItem, MeasuresCaptionShortcutAndSeparator) {
  RecordingCanvas canvas;
  const SystemMenuItem close{1, L"Close", L"Shift+F4", true}, minimise{0, L"Minimize", L"", true};
  EXPECT_EQ(MeasureSkinMenuItem(canvas, nullptr), (MenuSize{20, 8}));
  EXPECT_EQ(MeasureSkinMenuItem(canvas, &close), (MenuSize{Width(L"Close") + Width(L"Shift+F4") + 24 + 28 + 8, 22}));
  EXPECT_EQ(MeasureSkinMenuItem(canvas, &minimise), (MenuSize{Width(L"Minimize") + 28 + 8, 22}));
}

TEST(SkinMenuItem, PaintsInTheSkinsColours) {
  const Rect r{0, 0, 150, 22};
  struct Case {
    const char* what;
    SystemMenuItem item;
    bool selected;
    ColorRef back, text;
    Pixel glyph;  // the glyph's first drawn pixel
  } cases[] = {
      {"normal", {1, L"Close", L"Shift+F4", true}, false, kMenu, kMenuText, MakePixel(0, 0, 255)},
      {"selected", {1, L"Close", L"Shift+F4", true}, true, kHilight, kHilightText, MakePixel(0, 0, 255)},
      // A disabled glyph is half the system highlight (the classic scheme's 10,36,106 here).
      {"disabled", {0, L"Restore", L"", false}, false, kMenu, kShadow, MakePixel(132, 18, 53)},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    DrawSkinMenuItem(canvas, r, Skin(), Glyphs(), &c.item, c.selected);
    const std::vector<CanvasCall> fills = canvas.Calls("fill"), texts = canvas.Calls("text"),
                                  bitmaps = canvas.Calls("bitmap");
    ASSERT_FALSE(fills.empty()) << c.what;
    EXPECT_EQ(fills[0].color, c.back) << c.what;
    ASSERT_EQ(bitmaps.size(), 1u) << c.what;
    EXPECT_EQ(bitmaps[0].x, 4) << c.what;
    EXPECT_EQ(bitmaps[0].y, 3) << c.what;
    EXPECT_EQ(bitmaps[0].bitmap.At(1, 0), c.glyph) << c.what;
    EXPECT_EQ(bitmaps[0].bitmap.At(0, 0), 0xFFFFFFu) << c.what << ": the see-through corner stays";
    ASSERT_EQ(texts.size(), *c.item.shortcut ? 2u : 1u) << c.what;
    EXPECT_EQ(texts[0].x, 28) << c.what;
    EXPECT_EQ(texts[0].color, c.text) << c.what;
    if (*c.item.shortcut) {
      EXPECT_EQ(texts[1].x, 150 - 8 - Width(c.item.shortcut)) << c.what << ": right-aligned";
    }
  }
}

TEST(SkinMenuItem, SeparatorIsALineInTheShadowColour) {
  RecordingCanvas canvas;
  DrawSkinMenuItem(canvas, {0, 0, 150, 8}, Skin(), Glyphs(), nullptr, true);
  const std::vector<CanvasCall> fills = canvas.Calls("fill");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].color, kMenu) << "never selected";
  EXPECT_EQ(fills[1].rect, (Rect{24, 4, 146, 5}));
  EXPECT_EQ(fills[1].color, kShadow);
  EXPECT_TRUE(canvas.Calls("text").empty());
}

}  // namespace
}  // namespace pimblo
