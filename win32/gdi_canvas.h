// The menu drawing on GDI: a MenuCanvas over the device context of one
// WM_MEASUREITEM or WM_DRAWITEM, the system's menu font, and a GDI bitmap's pixels.
#pragma once

#include <windows.h>

#include "look/menu_canvas.h"
#include "win32/scoped_win.h"

namespace pimblo {

// Draws on a device context it does not own. Everything it changes in the
// context (font, colours, modes) is put back when it goes.
class Win32Canvas final : public MenuCanvas {
 public:
  explicit Win32Canvas(HDC dc);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  int BitsPerPixel() override;
  ColorRef SystemColor(int index) override;
  ColorRef NearestColor(ColorRef rgb) override;
  bool SystemMenuFont(MenuFont& font) override;
  void SetFont(const MenuFont& font) override;
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
  HDC dc_;
  int saved_;
  MenuFont font_;
  win::ScopedFont handle_;  // font_ made real
};

// The menu font of the system's non-client metrics; false when the system does not answer.
bool ReadSystemMenuFont(MenuFont& font);

// A GDI bitmap's pixels; an empty bitmap for none.
Bitmap BitmapFromHandle(HBITMAP bitmap);

}  // namespace pimblo
