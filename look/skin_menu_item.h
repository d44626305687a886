// The skinned windows' system menu as the skin paints it: items 22 pixels high
// with a 16-pixel glyph at the left, the caption, and the shortcut at the right
// end; a separator is a line; the colours are the skin's menu colours.
#pragma once

#include "look/menu_canvas.h"
#include "look/skin_layout.h"
#include "look/win_skin_data.h"

namespace pimblo {

namespace skin_menu {
// An item's layout, in pixels: the glyph, then the caption, the shortcut at the right end.
constexpr int kItemHeight = 22;
constexpr int kGlyphLeft = 4;
constexpr int kGlyphSize = 16;
constexpr int kTextLeft = 28;
constexpr int kTextRightMargin = 8;
constexpr int kShortcutGap = 24;  // between a caption and its shortcut
constexpr int kSeparatorWidth = 20;
constexpr int kSeparatorHeight = 8;
constexpr int kLineLeft = 24;  // the separator's line, from here to kLineRightMargin before the end
constexpr int kLineRightMargin = 4;
// The glyphs' strip: one kGlyphSize square a tag, left to right, white see-through.
constexpr Pixel kGlyphSeeThrough = 0xFFFFFF;
}  // namespace skin_menu

// An item's size, its texts measured in the canvas's current font; a null item is a separator.
MenuSize MeasureSkinMenuItem(MenuCanvas& canvas, const SystemMenuItem* item);

// Paints an item into `rect` (null: a separator): the skin's menu colour, or its highlight
// when selected; the item's glyph from `glyphs` (may be empty), half blended into the system
// highlight colour when the item is disabled; the caption and the shortcut in the canvas's font.
void DrawSkinMenuItem(MenuCanvas& canvas, const Rect& rect, const TSkinData& skin, const Bitmap& glyphs,
                      const SystemMenuItem* item, bool selected);

}  // namespace pimblo
