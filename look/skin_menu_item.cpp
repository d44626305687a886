#include "look/skin_menu_item.h"

#include <cwchar>

#include "look/menu_colors.h"
#include "look/skin_objects.h"

namespace pimblo {
namespace {

// A skin colour as RGB: system colours through the canvas, an unset one as the window text's.
ColorRef SkinMenuColour(MenuCanvas& canvas, const TSkinData& skin, TSkinColor which) {
  const ColorRef c = skin.Colors[which];
  return ColorToRGB(canvas, c == clNone ? clWindowText : c);
}

// The tag's square of the strip; empty when the strip has none.
Bitmap GlyphOf(const Bitmap& glyphs, std::int32_t tag) {
  using skin_menu::kGlyphSize;
  if (tag < 0 || glyphs.height < kGlyphSize || (tag + 1) * kGlyphSize > glyphs.width) return {};
  Bitmap glyph(kGlyphSize, kGlyphSize);
  for (int y = 0; y < kGlyphSize; ++y)
    for (int x = 0; x < kGlyphSize; ++x) glyph.At(x, y) = glyphs.At(tag * kGlyphSize + x, y);
  return glyph;
}

// Every pixel but the see-through ones half way to `colour`.
void BlendHalf(Bitmap& glyph, ColorRef colour) {
  const auto half = [](int a, int b) { return static_cast<std::uint8_t>((a + b) / 2); };
  for (Pixel& p : glyph.pixels) {
    if (p == skin_menu::kGlyphSeeThrough) continue;
    p = MakePixel(half(RedOf(p), RedOfColor(colour)), half(GreenOf(p), GreenOfColor(colour)),
                  half(BlueOf(p), BlueOfColor(colour)));
    if (p == skin_menu::kGlyphSeeThrough) p = 0xFEFEFE;  // still drawn
  }
}

}  // namespace

MenuSize MeasureSkinMenuItem(MenuCanvas& canvas, const SystemMenuItem* item) {
  using namespace skin_menu;
  if (!item) return {kSeparatorWidth, kSeparatorHeight};
  const int text = canvas.TextExtent(item->caption).cx;
  const int shortcut = *item->shortcut ? canvas.TextExtent(item->shortcut).cx : 0;
  return {text + (shortcut ? shortcut + kShortcutGap : 0) + kTextLeft + kTextRightMargin, kItemHeight};
}

void DrawSkinMenuItem(MenuCanvas& canvas, const Rect& r, const TSkinData& skin, const Bitmap& glyphs,
                      const SystemMenuItem* item, bool selected) {
  using namespace skin_menu;
  selected = selected && item;
  const bool disabled = item && !item->enabled;
  canvas.FillRect(r, SkinMenuColour(canvas, skin, selected ? scHilight : scMenu));
  if (!item) {
    const int middle = (r.top + r.bottom) / 2;
    canvas.FillRect({r.left + kLineLeft, middle, r.right - kLineRightMargin, middle + 1},
                    SkinMenuColour(canvas, skin, scButtonShadow));
    return;
  }
  Bitmap glyph = GlyphOf(glyphs, item->tag);
  if (glyph.width > 0) {
    if (disabled) BlendHalf(glyph, ColorToRGB(canvas, clHighlight));  // a disabled glyph
    canvas.DrawBitmap(r.left + kGlyphLeft, r.top + (r.Height() - kGlyphSize) / 2, glyph, kGlyphSeeThrough);
  }
  const ColorRef text = SkinMenuColour(canvas, skin, disabled ? scButtonShadow : selected ? scHilightText : scMenuText);
  const Rect clip{r.left + kTextLeft, r.top, r.right - kTextRightMargin, r.bottom};
  const MenuSize caption = canvas.TextExtent(item->caption);
  canvas.OutText(clip.left, r.top + (r.Height() - caption.cy) / 2, item->caption, text, clip, {});
  if (*item->shortcut) {
    const MenuSize shortcut = canvas.TextExtent(item->shortcut);
    canvas.OutText(clip.right - shortcut.cx, r.top + (r.Height() - shortcut.cy) / 2, item->shortcut, text, clip, {});
  }
}

}  // namespace pimblo
