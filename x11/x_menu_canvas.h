// A MenuCanvas on X: the menu look draws on a drawable (the menu's off-screen
// picture) with a GC for the shapes and Xft for the text. Colours are the
// Windows defaults of x11/system_colors.h; the menu font is a sans serif that
// has the Chinese characters, at the Windows menu font's pixel size.
#pragma once

#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <string>
#include <string_view>

#include "look/menu_canvas.h"
#include "x11/scoped_x.h"
#include "x11/xft_canvas.h"

namespace pimblo::x11 {

// The fontconfig pattern of the menu font's family: any sans serif that covers
// Chinese. "sans" is taken when it cannot be opened.
inline constexpr const wchar_t* kMenuFontFamily = L"sans-serif:lang=zh-cn";
// The Windows menu font's height in pixels (a LOGFONT's negative height): 8 points at 96 dots an inch.
constexpr int kMenuFontHeight = -11;

// Draws on a drawable of a TrueColor visual. Does not own the display, the
// drawable, the visual or the colormap; owns its GC, its Xft draw and its font.
class XMenuCanvas : public MenuCanvas {
 public:
  XMenuCanvas(Display* display, Drawable target, int width, int height, Visual* visual, Colormap colormap,
              int depth);
  ~XMenuCanvas() override;
  XMenuCanvas(const XMenuCanvas&) = delete;
  XMenuCanvas& operator=(const XMenuCanvas&) = delete;

  int BitsPerPixel() override;
  ColorRef SystemColor(int index) override;
  ColorRef NearestColor(ColorRef rgb) override;
  bool SystemMenuFont(MenuFont& font) override;

  void SetFont(const MenuFont& font) override;
  MenuSize TextExtent(std::wstring_view text) override;
  void OutText(int x, int y, std::wstring_view text, ColorRef color, const Rect& clip, TextOptions options) override;

  void FillRect(const Rect& rect, ColorRef color) override;
  void FrameRect(const Rect& rect, ColorRef color) override;
  void Rectangle(const Rect& rect, ColorRef pen, ColorRef brush) override;
  void Ellipse(const Rect& rect, ColorRef pen, ColorRef brush) override;
  void RoundRect(const Rect& rect, int corner, ColorRef pen, ColorRef brush) override;
  void Line(int x1, int y1, int x2, int y2, ColorRef color) override;

  void SetPixel(int x, int y, ColorRef color) override;
  void DrawBitmap(int x, int y, const Bitmap& bitmap, Pixel transparent) override;

  // The font the text is written in now (opened on first use).
  XftFont* Font();

 private:
  unsigned long PixelOf(ColorRef color) const;
  void UseColor(ColorRef color);

  Display* display_;
  Drawable target_;
  int width_;
  int height_;
  Visual* visual_;
  Colormap colormap_;
  int depth_;
  ScopedGc gc_;
  XftDraw* draw_ = nullptr;
  MenuFont fontAsked_;
  XftFontOwner font_;
};

}  // namespace pimblo::x11
