// Colour values of the menu: the system colour references it starts from, and
// the helpers that lighten, darken and grey colours and icon bitmaps for the
// display behind a canvas.
#pragma once

#include "look/menu_canvas.h"
#include "sprites/bitmap.h"

namespace pimblo {

// A colour with the high bit set names a system colour; its low byte is the
// index GetSysColor takes.
constexpr ColorRef kSystemColorFlag = 0x80000000;
constexpr ColorRef SystemColorRef(int index) { return kSystemColorFlag | static_cast<ColorRef>(index); }

// The system colours the menu and the skin's colour table use, by their GetSysColor indices.
constexpr ColorRef clScrollBar = SystemColorRef(0);
constexpr ColorRef clInactiveCaption = SystemColorRef(3);
constexpr ColorRef clMenu = SystemColorRef(4);
constexpr ColorRef clMenuText = SystemColorRef(7);
constexpr ColorRef clWindowText = SystemColorRef(8);
constexpr ColorRef clCaptionText = SystemColorRef(9);
constexpr ColorRef clHighlight = SystemColorRef(13);
constexpr ColorRef clHighlightText = SystemColorRef(14);
constexpr ColorRef clBtnFace = SystemColorRef(15);
constexpr ColorRef clBtnShadow = SystemColorRef(16);
constexpr ColorRef clBtnText = SystemColorRef(18);
constexpr ColorRef clInactiveCaptionText = SystemColorRef(19);
constexpr ColorRef clBtnHighlight = SystemColorRef(20);
constexpr ColorRef cl3DDkShadow = SystemColorRef(21);
constexpr ColorRef clBlack = 0x000000;
constexpr ColorRef clSilver = 0xC0C0C0;
constexpr ColorRef clWhite = 0xFFFFFF;

constexpr ColorRef MakeColor(int red, int green, int blue) {
  return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
         (static_cast<ColorRef>(blue & 0xFF) << 16);
}
constexpr int RedOfColor(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOfColor(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOfColor(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr ColorRef ColorRefFromPixel(Pixel p) { return MakeColor(RedOf(p), GreenOf(p), BlueOf(p)); }

// numerator / denominator (denominator > 0) rounded to the nearest integer, ties to even.
int RoundHalfEven(long long numerator, long long denominator);

// RGB of a colour: system colours through the canvas, others as they are.
ColorRef ColorToRGB(MenuCanvas& canvas, ColorRef color);

// Each channel moves `percent` (at most 100) of the way to 255.
ColorRef LightenColor(MenuCanvas& canvas, ColorRef color, int percent);
// Each channel less `amount`, green 2 less than that; clamped. Negative lightens.
ColorRef DarkenColor(MenuCanvas& canvas, ColorRef color, int amount);
// The grey of level min(percent, 100) + mean of the channels, at most 240.
ColorRef GrayLevelColor(MenuCanvas& canvas, ColorRef color, int percent);

// Pixel by pixel; a pixel equal to the one before it reuses that one's result.
void LightenBitmap(Bitmap& bitmap, MenuCanvas& canvas, int percent);
void GrayOutBitmap(Bitmap& bitmap, MenuCanvas& canvas, int percent);
// Sets a canvas pixel in `color` under every pixel of the bitmap that is not of
// its transparent colour (the bottom-left pixel's).
void DrawIconShadow(const Bitmap& bitmap, MenuCanvas& canvas, int x, int y, ColorRef color);

}  // namespace pimblo
