// Measuring and painting of popup items on a recording canvas, with the main
// form's settings (system colours on) and the classic Windows colour scheme:
// button face (212,208,200), highlight (10,36,106), button shadow (128,128,128).
#include <gtest/gtest.h>

#include "look/xp_menu.h"
#include "tests/look/recording_canvas.h"

namespace pimblo {
namespace {

using test::CanvasCall;
using test::RecordingCanvas;
using test::TestGlyph;

// The working colours under the classic scheme.
constexpr ColorRef kMenu = MakeColor(249, 248, 247);
constexpr ColorRef kIconColumn = MakeColor(219, 216, 209);
constexpr ColorRef kSelectionFill = MakeColor(177, 185, 207);
constexpr ColorRef kHighlight = MakeColor(10, 36, 106);
constexpr ColorRef kDisabledText = MakeColor(141, 141, 141);
constexpr ColorRef kSeparator = MakeColor(160, 160, 160);
constexpr ColorRef kInk = MakeColor(200, 40, 40);

struct MenuTest : ::testing::Test {
  MenuTest() { SetMainFormProperties(xp); }

  MenuEntry& Item(const std::wstring& caption, int glyph = 24) {
    MenuEntry& item = popup.Items().Add(caption);
    if (glyph > 0) item.Glyph = TestGlyph(glyph, kInk);
    return item;
  }
  // Paints on a fresh canvas; item rectangles start at the menu window's left edge.
  RecordingCanvas& Paint(MenuEntry& item, bool selected = false, Rect rect = {0, 0, 200, 28}) {
    canvas.Clear();
    xp.PaintMenuItem(item, canvas, rect, selected);
    return canvas;
  }
  static std::vector<CanvasCall> Texts(const RecordingCanvas& c) { return c.Calls("text"); }

  MenuOwner owner;
  MenuTree& popup = owner.AddMenu(MenuKind::PopupMenu);
  TXPMenu xp{owner};
  RecordingCanvas canvas{240, 60};
};

TEST_F(MenuTest, MeasuresItems) {
  struct Case {
    std::wstring caption, shortCut;
    int glyph, textHeight, startWidth, startHeight;
    int width, height;
  } cases[] = {
      {L"-", L"", 0, 13, 0, 40, 34, 4},               // a separator is 4 high, always
      {L"Go", L"", 24, 13, 0, 0, 12 + 34, 28},        // glyph + 4 beats 13 + 10
      {L"现速度为:988", L"", 30, 13, 0, 0, 72 + 40, 34},  // wider glyph widens the column
      {L"&Open", L"", 24, 13, 0, 0, 24 + 34, 28},     // as without the ampersand
      {L"Ab", L"", 0, 14, 0, 0, 12 + 34, 24},         // 10.5 -> 10
      {L"Ab", L"", 0, 10, 0, 0, 12 + 34, 18},         // 7.5 -> 8
      {L"Save", L"Ctrl+S", 24, 13, 0, 0, 24 + 36 + 30 + 34, 28},  // shortcut and "WWW"
      {L"Save", L"  ", 24, 13, 0, 0, 24 + 34, 28},    // a blank shortcut counts for nothing
      {L"Go", L"", 24, 13, 500, 40, 500, 40},         // never lowered
  };
  for (const Case& c : cases) {
    MenuEntry& item = Item(c.caption, c.glyph);
    item.ShortCut = c.shortCut;
    canvas.textHeight = c.textHeight;
    int w = c.startWidth, h = c.startHeight;
    xp.MeasureMenuItem(item, canvas, w, h);
    EXPECT_EQ(w, c.width) << std::wstring(c.caption).size() << " chars, glyph " << c.glyph;
    EXPECT_EQ(h, c.height) << "glyph " << c.glyph << " text height " << c.textHeight;
  }
  MenuEntry& late = Item(L"Go");
  xp.SetActive(false);  // then nothing is measured
  int w = 0, h = 0;
  xp.MeasureMenuItem(late, canvas, w, h);
  EXPECT_EQ(w + h, 0);
}

// The first opening measures before anything is painted: the caption must be
// measured in the font it will be painted in, with or without system colours.
TEST_F(MenuTest, MeasuresInTheFontThePaintingUses) {
  canvas.systemFont.Name = L"WenQuanYi Micro Hei";
  canvas.systemFont.Height = -18;
  for (const bool system : {true, false}) {
    MenuOwner freshOwner;
    TXPMenu fresh{freshOwner};
    MenuTree& menu = freshOwner.AddMenu(MenuKind::PopupMenu);
    SetMainFormProperties(fresh);
    fresh.SetUseSystemColors(system);
    MenuEntry& item = menu.Items().Add(L"开机自动运行");
    int w = 0, h = 0;
    canvas.Clear();
    fresh.MeasureMenuItem(item, canvas, w, h);
    ASSERT_FALSE(canvas.fonts.empty());
    const MenuFont measured = canvas.fonts.back();
    canvas.Clear();
    fresh.PaintMenuItem(item, canvas, {0, 0, w, h}, false);
    EXPECT_EQ(measured, canvas.fonts.back()) << "system colours " << system;
    EXPECT_EQ(measured.Height, system ? -18 : -11);
  }
}

TEST_F(MenuTest, IconAndTextPositions) {
  struct Case {
    bool rtl;
    int glyph;
    int iconX, textX;
  } cases[] = {
      {false, 24, -1, 24 + 5},           // centred in the column, one to the left
      {false, 16, 3, 24 + 5},
      {false, 30, 2, 30 + 4 + 5},        // wider than the column: at its left + 2
      {true, 24, 175, 200 - 24 - 5 - 16},  // right-aligned caption " Go" (16 wide)
      {true, 30, 168, 200 - 30 - 4 - 5 - 16},
  };
  for (const Case& c : cases) {
    popup.RightToLeft = c.rtl;
    const RecordingCanvas& drawn = Paint(Item(L"Go", c.glyph));
    const auto bitmaps = drawn.Calls("bitmap");
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(bitmaps[0].x, c.iconX) << "rtl " << c.rtl << " glyph " << c.glyph;
    EXPECT_EQ(bitmaps[0].y, 4);
    const auto texts = Texts(drawn);
    ASSERT_EQ(texts.size(), 2u);  // the caption and the shortcut's place
    EXPECT_EQ(texts[0].text, L" Go");
    EXPECT_EQ(texts[0].x, c.textX) << "rtl " << c.rtl << " glyph " << c.glyph;
    EXPECT_EQ(texts[0].y, (29 - 13) / 2);
    EXPECT_EQ(texts[0].options.RtlReading, c.rtl);
    const auto fills = drawn.Calls("fill");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect, (Rect{0, 0, 200, 29}));  // one below the item
    EXPECT_EQ(fills[0].color, kMenu);
    EXPECT_EQ(fills[1].rect, c.rtl ? (Rect{176, 0, 200, 29}) : (Rect{0, 0, 24, 29}));
    EXPECT_EQ(fills[1].color, kIconColumn);
  }
}

TEST_F(MenuTest, AcceleratorIsUnderlinedAndNotDrawn) {
  struct Case {
    bool rtl;
    std::wstring caption, shown;
    int accelerator, x;
  } cases[] = {
      {false, L"&Open", L" Open", 1, 29},
      {false, L"Save && E&xit", L" Save & Exit", 9, 29},
      {false, L"Tail&", L" Tail", -1, 29},
      {false, L"&A&B", L" AB", 1, 29},
      {true, L"&Open", L" Open", 1, 200 - 24 - 5 - 28},  // right-aligned by the width shown
  };
  for (const Case& c : cases) {
    popup.RightToLeft = c.rtl;
    const CanvasCall text = Texts(Paint(Item(c.caption))).at(0);
    EXPECT_EQ(text.text, c.shown);
    EXPECT_EQ(text.options.Accelerator, c.accelerator);
    EXPECT_EQ(text.x, c.x);
  }
}

TEST_F(MenuTest, SeparatorIsOneLineAfterTheIconColumn) {
  struct Case {
    bool rtl;
    Rect rect;
    int y, from, to;
  } cases[] = {
      {false, {0, 10, 200, 14}, 12, 31, 200},  // 5 / 2 = 2.5 -> 2
      {false, {0, 10, 200, 15}, 13, 31, 200},
      {false, {0, 10, 200, 16}, 14, 31, 200},  // 3.5 -> 4
      {true, {0, 10, 200, 14}, 12, 0, 169},
  };
  for (const Case& c : cases) {
    popup.RightToLeft = c.rtl;
    const RecordingCanvas& drawn = Paint(Item(L"-", 0), false, c.rect);
    const auto lines = drawn.Calls("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rect, (Rect{c.from, c.y, c.to, c.y}));
    EXPECT_EQ(lines[0].color, kSeparator);
    EXPECT_TRUE(Texts(drawn).empty());
  }
}

TEST_F(MenuTest, SelectedAndDisabledCombinations) {
  struct Case {
    bool selected, enabled, bar, shadow;
    int iconX, iconY;
    ColorRef ink, text;  // the glyph's ink as drawn, the caption's colour
  } cases[] = {
      {false, true, false, false, -1, 4, MakeColor(216, 104, 104), clBlack},  // faded by 30
      {true, true, true, true, -2, 3, kInk, clBlack},                         // raised, with a shadow
      {false, false, false, false, -1, 4, MakeColor(153, 153, 153), kDisabledText},
      {true, false, false, false, -1, 4, MakeColor(163, 163, 163), MakeColor(152, 152, 152)},
  };
  for (const Case& c : cases) {
    MenuEntry& item = Item(L"Go");
    item.Enabled = c.enabled;
    const RecordingCanvas& drawn = Paint(item, c.selected);
    const auto fills = drawn.Calls("fill");
    const auto frames = drawn.Calls("frame");
    ASSERT_EQ(fills.size(), c.bar ? 3u : 2u);
    ASSERT_EQ(frames.size(), c.bar ? 1u : 0u);
    if (c.bar) {
      EXPECT_EQ(fills[2].rect, (Rect{0, 1, 200, 28}));
      EXPECT_EQ(fills[2].color, kSelectionFill);
      EXPECT_EQ(frames[0].rect, fills[2].rect);
      EXPECT_EQ(frames[0].color, kHighlight);
    }
    const CanvasCall icon = drawn.Calls("bitmap").at(0);
    EXPECT_EQ(icon.x, c.iconX);
    EXPECT_EQ(icon.y, c.iconY);
    EXPECT_EQ(icon.bitmap.At(12, 12), PixelFromColorRef(c.ink));
    EXPECT_EQ(icon.transparent, icon.bitmap.At(0, 23));
    // The shadow: one pixel under each ink pixel, one below-right of the resting place.
    const auto shadow = drawn.Calls("pixel");
    const Bitmap glyph = TestGlyph(24, kInk);
    const auto inked = static_cast<std::size_t>(std::count(glyph.pixels.begin(), glyph.pixels.end(), glyph.At(12, 12)));
    ASSERT_EQ(shadow.size(), c.shadow ? inked : 0u);
    if (c.shadow) {
      EXPECT_EQ(shadow[0].color, MakeColor(127, 137, 157));
      EXPECT_EQ(shadow[0].x - 9, 0);  // the disc's first ink pixel is (9, 2)
      EXPECT_EQ(shadow[0].y - 2, 5);
    }
    EXPECT_EQ(Texts(drawn)[0].color, c.text) << "selected " << c.selected << " enabled " << c.enabled;
  }
}

TEST_F(MenuTest, ShortcutIsRightAlignedAndLighter) {
  const std::pair<std::wstring, int> cases[] = {{L"Ctrl+S", 200 - 10 - 40}, {L"", 200 - 10 - 4}};  // the lone space
  for (const auto& [shortCut, x] : cases) {
    MenuEntry& item = Item(L"Save");
    item.ShortCut = shortCut;
    const auto texts = Texts(Paint(item));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, shortCut + L" ");
    EXPECT_EQ(texts[1].x, x);
    EXPECT_EQ(texts[1].color, MakeColor(40, 42, 40));
  }
}

TEST_F(MenuTest, TwoHundredFiftySixColours) {
  canvas.UsePalette();
  MenuEntry& item = Item(L"Go");
  item.ShortCut = L"F2";
  const RecordingCanvas& resting = Paint(item);
  EXPECT_EQ(resting.Calls("bitmap")[0].bitmap, TestGlyph(24, kInk));  // not faded
  EXPECT_EQ(resting.Calls("fill")[0].color, clWhite);
  EXPECT_EQ(resting.Calls("fill")[1].color, MakeColor(212, 208, 200));
  EXPECT_EQ(Texts(resting)[1].color, clBlack);  // the shortcut in the plain colour
  const RecordingCanvas& selected = Paint(item, true);
  EXPECT_EQ(selected.Calls("fill")[2].color, clWhite);
  EXPECT_EQ(selected.Calls("frame")[0].color, kHighlight);
  EXPECT_EQ(xp.WorkingColors().CheckBoxFillSelected, clWhite);
}

TEST_F(MenuTest, CheckMarks) {
  MenuImageList images;  // a 20×20 image, all ink, masked to a 10×10 square
  images.Width = images.Height = 20;
  images.Images = {Bitmap(20, 20, PixelFromColorRef(kInk))};
  images.Masks = {Mask(20, 20, true)};
  for (int y = 5; y < 15; ++y)
    for (int x = 5; x < 15; ++x) images.Masks[0].Set(x, y, false);
  struct Case {
    bool radio, listImage, selected;
    std::string shape;
    Rect box;
    ColorRef brush;
  } cases[] = {
      {false, false, false, "rectangle", {7, 9, 17, 19}, MakeColor(194, 200, 218)},  // 10×10, centred
      {true, false, false, "ellipse", {7, 9, 17, 19}, MakeColor(194, 200, 218)},
      {true, true, true, "roundrect", {1, 2, 21, 27}, MakeColor(132, 146, 180)},  // the icon column, inset
      {false, true, false, "rectangle", {1, 2, 21, 27}, MakeColor(194, 200, 218)},
  };
  for (const Case& c : cases) {
    popup.Images = c.listImage ? &images : nullptr;
    MenuEntry& item = Item(L"Go", 0);
    item.Checked = true;
    item.RadioItem = c.radio;
    item.ImageIndex = c.listImage ? 0 : -1;
    const RecordingCanvas& drawn = Paint(item, c.selected);
    const auto shapes = drawn.Calls(c.shape);
    ASSERT_EQ(shapes.size(), 1u) << c.shape;
    EXPECT_EQ(shapes[0].rect, c.box);
    EXPECT_EQ(shapes[0].color, kHighlight);
    EXPECT_EQ(shapes[0].brush, c.brush);
    EXPECT_EQ(shapes[0].corner, c.shape == "roundrect" ? 6 : 0);
    std::vector<Rect> strokes;
    for (const CanvasCall& line : drawn.Calls("line")) strokes.push_back(line.rect);
    if (!c.radio && !c.listImage) {
      EXPECT_EQ(strokes, (std::vector<Rect>{{8, 14, 11, 17}, {9, 14, 11, 16}, {9, 13, 12, 16}, {11, 16, 19, 8},
                                                {11, 17, 15, 12}}));
    } else {
      EXPECT_TRUE(strokes.empty());
    }
    if (c.listImage) {
      // The list's image through its mask on the column colour, neither faded nor raised.
      const CanvasCall icon = drawn.Calls("bitmap").at(0);
      EXPECT_EQ(icon.x, 1);
      EXPECT_EQ(icon.y, 4);
      EXPECT_EQ(icon.bitmap.At(0, 0), PixelFromColorRef(kIconColumn));
      EXPECT_EQ(icon.bitmap.At(5, 5), PixelFromColorRef(kInk));
      EXPECT_EQ(icon.bitmap.At(15, 15), PixelFromColorRef(kIconColumn));
    }
  }
}

TEST_F(MenuTest, GradientStripsFromTheLeadingEdge) {
  xp.SetGradient(true);
  const auto strips = Paint(Item(L"Go", 0)).Calls("fill");
  ASSERT_EQ(strips.size(), 202u);  // the item and two more to the right
  const std::pair<int, int> percentAt[] = {{0, 0}, {1, 3}, {29, 87}, {30, 88}, {38, 96}, {201, 96}};
  for (const auto& [strip, percent] : percentAt) {
    EXPECT_EQ(strips[static_cast<std::size_t>(strip)].rect, (Rect{strip, 0, strip + 1, 29}));
    EXPECT_EQ(strips[static_cast<std::size_t>(strip)].color, LightenColor(canvas, kIconColumn, percent)) << strip;
  }
  canvas.UsePalette();
  EXPECT_EQ(Paint(Item(L"Go", 0)).Calls("fill").size(), 2u);
}

TEST_F(MenuTest, PaintingTakesTheSystemMenuFont) {
  canvas.systemFont.Name = L"MS Sans Serif";
  MenuEntry& item = Item(L"Go");
  item.Default = true;
  popup.RightToLeft = true;
  Paint(item);
  EXPECT_EQ(xp.Font().Name, L"Tahoma");
  EXPECT_EQ(xp.Font().Charset, 0);  // the system's font replaced the stored one
  EXPECT_EQ(canvas.fonts.back().Charset, 178);
  EXPECT_TRUE(canvas.fonts.back().Bold);

  canvas.answersMenuFont = false;  // then the font stays as it is
  MenuFont stored = xp.Font();
  stored.Color = MakeColor(5, 5, 5);
  xp.SetFont(stored);
  Paint(item, true);
  EXPECT_EQ(xp.Font(), stored);
  EXPECT_EQ(Texts(canvas)[0].color, MakeColor(5, 5, 5));

  xp.SetActive(false);
  EXPECT_TRUE(Paint(item, true).calls.empty());
}

}  // namespace
}  // namespace pimblo
