// The menu drawing on GDI: a MenuCanvas over the device context of one
// WM_MEASUREITEM or WM_DRAWITEM, the owner form's side of TXPMenu, and the glue
// that lets a TXPMenu measure and paint the items of a TPopupMenu.
#pragma once

#include <windows.h>

#include "app/framework/menu.h"
#include "app/framework/scoped_win.h"
#include "look/xp_menu.h"

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
  void OutText(int x, int y, std::wstring_view text, ColorRef color, const MenuRect& clip,
               TextOptions options) override;
  void FillRect(const MenuRect& rect, ColorRef color) override;
  void FrameRect(const MenuRect& rect, ColorRef color) override;
  void Rectangle(const MenuRect& rect, ColorRef pen, ColorRef brush) override;
  void Ellipse(const MenuRect& rect, ColorRef pen, ColorRef brush) override;
  void RoundRect(const MenuRect& rect, int corner, ColorRef pen, ColorRef brush) override;
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

// The owner form of a TXPMenu: the form's window (for its menu bar) and the
// system's menu font.
class Win32MenuOwner : public MenuOwner {
 public:
  explicit Win32MenuOwner(HWND form = nullptr) : Form(form) {}
  void RedrawMenuBar() override;
  bool SystemMenuFont(MenuFont& font) override { return ReadSystemMenuFont(font); }

  HWND Form;
};

// Lets `xp` measure and paint the items of `menu`: the menu joins xp's owner as
// a popup menu whose items mirror the menu's (caption, enabled, checked, and the
// glyph, converted once per bitmap handle), items added later included. Items
// that xp does not draw (while it is inactive, or an item added since the last
// painting) are measured and drawn by `plainMeasure` and `plainDraw`. Sets the
// menu's OnMeasureItem and OnDrawItem; `xp` and its owner must outlive the
// menu's use.
void AttachXPMenu(ui::TPopupMenu& menu, TXPMenu& xp, ui::TPopupMenu::MeasureHandler plainMeasure,
                  ui::TPopupMenu::DrawHandler plainDraw);

// The same with the framework's plain item drawing for the items xp leaves alone.
inline void AttachXPMenu(ui::TPopupMenu& menu, TXPMenu& xp) {
  AttachXPMenu(menu, xp, ui::MeasurePlainItem, ui::DrawPlainItem);
}

}  // namespace pimblo
