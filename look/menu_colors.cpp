#include "look/menu_colors.h"

#include <algorithm>

namespace pimblo {

int RoundHalfEven(long long numerator, long long denominator) {
  long long quotient = numerator / denominator;
  long long remainder = numerator % denominator;
  if (remainder < 0) {  // floor division
    remainder += denominator;
    --quotient;
  }
  const long long twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
  return static_cast<int>(quotient);
}

ColorRef ColorToRGB(MenuCanvas& canvas, ColorRef color) {
  if (color & kSystemColorFlag) return canvas.SystemColor(static_cast<int>(color & 0xFF)) & 0xFFFFFF;
  return color & 0xFFFFFF;
}

namespace {

int Clamp(int channel) { return std::clamp(channel, 0, 255); }

int Lighten(int channel, int percent) { return Clamp(channel + RoundHalfEven((255LL - channel) * percent, 100)); }

template <class Recolor>
void RecolorBitmap(Bitmap& bitmap, Recolor recolor) {
  bool first = true;
  Pixel before = 0;
  Pixel result = 0;
  for (Pixel& p : bitmap.pixels) {
    if (first || p != before) {
      before = p;
      result = PixelFromColorRef(recolor(ColorRefFromPixel(p)));
      first = false;
    }
    p = result;
  }
}

}  // namespace

ColorRef LightenColor(MenuCanvas& canvas, ColorRef color, int percent) {
  const ColorRef c = ColorToRGB(canvas, color);
  percent = std::min(percent, 100);
  return canvas.NearestColor(
      MakeColor(Lighten(RedOfColor(c), percent), Lighten(GreenOfColor(c), percent), Lighten(BlueOfColor(c), percent)));
}

ColorRef DarkenColor(MenuCanvas& canvas, ColorRef color, int amount) {
  const ColorRef c = ColorToRGB(canvas, color);
  return canvas.NearestColor(MakeColor(Clamp(RedOfColor(c) - amount), Clamp(GreenOfColor(c) - amount + 2),
                                       Clamp(BlueOfColor(c) - amount)));
}

ColorRef GrayLevelColor(MenuCanvas& canvas, ColorRef color, int percent) {
  const ColorRef c = ColorToRGB(canvas, color);
  const int level =
      Clamp(std::min(std::min(percent, 100) + (RedOfColor(c) + GreenOfColor(c) + BlueOfColor(c)) / 3, 240));
  return canvas.NearestColor(MakeColor(level, level, level));
}

void LightenBitmap(Bitmap& bitmap, MenuCanvas& canvas, int percent) {
  RecolorBitmap(bitmap, [&](ColorRef c) { return LightenColor(canvas, c, percent); });
}

void GrayOutBitmap(Bitmap& bitmap, MenuCanvas& canvas, int percent) {
  RecolorBitmap(bitmap, [&](ColorRef c) { return GrayLevelColor(canvas, c, percent); });
}

void DrawIconShadow(const Bitmap& bitmap, MenuCanvas& canvas, int x, int y, ColorRef color) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  const Pixel transparent = bitmap.At(0, bitmap.height - 1);
  for (int row = 0; row < bitmap.height; ++row)
    for (int column = 0; column < bitmap.width; ++column)
      if (bitmap.At(column, row) != transparent) canvas.SetPixel(x + column, y + row, color);
}

}  // namespace pimblo
