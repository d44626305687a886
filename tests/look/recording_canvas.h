// A canvas for the menu tests: it logs every drawing call and also paints it,
// roughly, into a picture (text as one block per character) that can be looked at.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "look/menu_canvas.h"
#include "look/menu_colors.h"
#include "sprites/bitmap.h"

namespace pimblo::test {

struct CanvasCall {
  std::string kind;  // fill, frame, rectangle, ellipse, roundrect, line, text, pixel, bitmap
  Rect rect;     // the shape, the text's clip, the line's end points (Left, Top)-(Right, Bottom)
  ColorRef color = 0;  // fill, pen, text or pixel colour
  ColorRef brush = 0;
  int corner = 0;
  int x = 0, y = 0;  // text, pixel and bitmap position
  std::wstring text;
  TextOptions options;
  Bitmap bitmap;
  Pixel transparent = 0;
};

class RecordingCanvas : public MenuCanvas {
 public:
  RecordingCanvas(int width = 200, int height = 40);

  // What the canvas answers.
  int bitsPerPixel = 32;
  int textHeight = 13;
  bool answersMenuFont = true;
  MenuFont systemFont;  // Tahoma 8pt style, see the constructor
  std::map<int, ColorRef> systemColors;  // classic Windows scheme
  std::function<ColorRef(ColorRef)> nearest = [](ColorRef c) { return c; };

  // What it saw.
  std::vector<CanvasCall> calls;
  std::vector<MenuFont> fonts;
  int nearestLookups = 0;
  Bitmap picture;  // 0x00RRGGBB, rows top-down

  std::vector<CanvasCall> Calls(std::string_view kind) const;
  std::wstring AllText() const;  // every text written, in order
  ColorRef PictureAt(int x, int y) const { return ColorRefFromPixel(picture.At(x, y)); }
  void Clear() { calls.clear(); }

  // A 256-colour display: 8 bits, colours rounded to the 6×6×6 cube.
  void UsePalette();
  static int CharWidth(wchar_t c);

  int BitsPerPixel() override { return bitsPerPixel; }
  ColorRef SystemColor(int index) override;
  ColorRef NearestColor(ColorRef rgb) override;
  bool SystemMenuFont(MenuFont& font) override;
  void SetFont(const MenuFont& font) override { fonts.push_back(font); }
  MenuSize TextExtent(std::wstring_view text) override;
  void OutText(int x, int y, std::wstring_view text, ColorRef color, const Rect& clip,
               TextOptions options) override;
  void FillRect(const Rect& rect, ColorRef color) override;
  void FrameRect(const Rect& rect, ColorRef color) override;
  void Rectangle(const Rect& rect, ColorRef pen, ColorRef brush) override;
  void Ellipse(const Rect& rect, ColorRef pen, ColorRef brush) override;
  void RoundRect(const Rect& rect, int corner, ColorRef pen, ColorRef brush) override;
  void Line(int x1, int y1, int x2, int y2, ColorRef color) override;
  void SetPixel(int x, int y, ColorRef color) override;
  void DrawBitmap(int x, int y, const Bitmap& bitmap, Pixel transparent) override;

 private:
  CanvasCall& Record(const char* kind);
  void Plot(int x, int y, ColorRef color, const Rect* clip = nullptr);
  void PaintRect(const Rect& rect, ColorRef color);
  void PaintFrame(const Rect& rect, ColorRef color);
};

// A square test glyph: a disc of `ink` on `background` (its transparent colour).
Bitmap TestGlyph(int size, ColorRef ink, ColorRef background = MakeColor(255, 0, 255));

// Writes a picture as binary PPM.
bool WritePpm(const Bitmap& picture, const std::string& path);

}  // namespace pimblo::test
