// What the menu drawing needs of a drawing surface: a few GDI-like operations on
// one item's device context, and the facts about the display that the colours
// depend on. Colours handed to a canvas are always plain RGB values (COLORREF
// layout: red in the low byte); system colours are resolved before they get here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sprites/bitmap.h"
#include "sprites/rect.h"

namespace pimblo {

struct MenuSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const MenuSize&, const MenuSize&) = default;
};

// A font as the menu describes it; the canvas makes the real font from it.
struct MenuFont {
  std::wstring Name = L"MS Sans Serif";
  int Height = -11;  // as in a LOGFONT: negative is the character height in pixels
  std::uint8_t Charset = 1;  // DEFAULT_CHARSET
  ColorRef Color = 0x80000008;  // clWindowText; may name a system colour
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  friend bool operator==(const MenuFont&, const MenuFont&) = default;
};

// How a text is written.
struct TextOptions {
  int Accelerator = -1;     // index of the character to underline, -1 for none
  bool RtlReading = false;  // right-to-left reading order
};

class MenuCanvas {
 public:
  virtual ~MenuCanvas() = default;

  // The display.
  virtual int BitsPerPixel() = 0;
  virtual ColorRef SystemColor(int index) = 0;  // RGB of COLOR_BTNFACE (15), COLOR_HIGHLIGHT (13), …
  virtual ColorRef NearestColor(ColorRef rgb) = 0;
  // The menu font of the system's non-client metrics, colour left alone;
  // false when the system does not answer.
  virtual bool SystemMenuFont(MenuFont& font) = 0;

  // Text, in the font last set.
  virtual void SetFont(const MenuFont& font) = 0;
  virtual MenuSize TextExtent(std::wstring_view text) = 0;
  // Writes text with its top-left corner at (x, y), transparently, cut to clip.
  virtual void OutText(int x, int y, std::wstring_view text, ColorRef color, const Rect& clip,
                       TextOptions options) = 0;

  // Shapes. Outlines are one pixel wide and lie inside the rectangle; lines
  // leave out their end point.
  virtual void FillRect(const Rect& rect, ColorRef color) = 0;
  virtual void FrameRect(const Rect& rect, ColorRef color) = 0;
  virtual void Rectangle(const Rect& rect, ColorRef pen, ColorRef brush) = 0;
  virtual void Ellipse(const Rect& rect, ColorRef pen, ColorRef brush) = 0;
  virtual void RoundRect(const Rect& rect, int corner, ColorRef pen, ColorRef brush) = 0;
  virtual void Line(int x1, int y1, int x2, int y2, ColorRef color) = 0;

  // Pixels and pictures. DrawBitmap leaves out every pixel equal to `transparent`.
  virtual void SetPixel(int x, int y, ColorRef color) = 0;
  virtual void DrawBitmap(int x, int y, const Bitmap& bitmap, Pixel transparent) = 0;
};

}  // namespace pimblo
