// TPopupMenu and TMenuItem: an owner-drawn popup menu whose items carry a bitmap
// and are measured and drawn by handlers. The window that pops the menu up gets
// WM_MEASUREITEM and WM_DRAWITEM and passes them to HandleMenuMessage.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/component.h"
#include "win32/scoped_win.h"

namespace pimblo::ui {

class TMenuItem : public TComponent {
 public:
  TMenuItem(TComponent* owner, std::wstring caption) : TComponent(owner), Caption(std::move(caption)) {}
  bool IsLine() const { return Caption == L"-"; }

  std::wstring Caption;
  win::ScopedBitmap Bitmap;  // owned; empty for none
  bool Enabled = true;
  bool Checked = false;
  std::function<void()> OnClick;
};

class TPopupMenu : public TComponent {
 public:
  using MeasureHandler = std::function<void(TMenuItem&, HDC, int& width, int& height)>;
  using DrawHandler = std::function<void(TMenuItem&, HDC, const RECT&, bool selected)>;

  explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

  TMenuItem* Add(const std::wstring& caption);
  void Insert(int index, TMenuItem* item);
  const std::vector<TMenuItem*>& Items() const { return items_; }

  // Shows the menu at a screen point for `window`, which receives the measure
  // and draw messages; runs the chosen item's OnClick after the menu closed.
  void Popup(HWND window, int x, int y);
  bool IsOpen() const { return open_; }

  // WM_MEASUREITEM and WM_DRAWITEM of this menu's items; false for other messages.
  bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  MeasureHandler OnMeasureItem;  // both left empty: plain drawing
  DrawHandler OnDrawItem;

 private:
  std::vector<TMenuItem*> items_;  // in menu order; owned as components
  bool open_ = false;
};

// Plain drawing of an item: a glyph (transparent colour from its bottom-left
// pixel) and the caption in the menu font.
void MeasurePlainItem(TMenuItem& item, HDC dc, int& width, int& height);
void DrawPlainItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected);

}  // namespace pimblo::ui
