#include "win32/menu.h"

#include "win32/dpi.h"

#include <algorithm>

namespace pimblo::ui {

TMenuItem* TPopupMenu::Add(const std::wstring& caption) {
  auto* item = new TMenuItem(this, caption);
  items_.push_back(item);
  return item;
}

void TPopupMenu::Insert(int index, TMenuItem* item) {
  index = std::clamp(index, 0, static_cast<int>(items_.size()));
  items_.insert(items_.begin() + index, item);
}

void TPopupMenu::Popup(HWND window, int x, int y) {
  if (open_) return;
  win::ScopedMenu menu(CreatePopupMenu());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    TMenuItem* item = items_[i];
    UINT flags = MF_OWNERDRAW | (item->IsLine() ? MF_SEPARATOR : 0) | (item->Enabled ? 0 : MF_GRAYED) |
                 (item->Checked ? MF_CHECKED : 0);
    AppendMenuW(menu.Get(), flags, i + 1, reinterpret_cast<LPCWSTR>(item));
  }
  // The owner must be in front for the menu to close when the user clicks
  // elsewhere; the WM_NULL afterwards lets a second click on the icon work.
  SetForegroundWindow(window);
  open_ = true;
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
  open_ = false;
  PostMessageW(window, WM_NULL, 0, 0);
  if (chosen >= 1 && chosen <= items_.size()) {
    TMenuItem* item = items_[chosen - 1];
    if (item->OnClick) item->OnClick();
  }
}

bool TPopupMenu::HandleMenuMessage(UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (m->CtlType != ODT_MENU) return false;
    auto* item = reinterpret_cast<TMenuItem*>(m->itemData);
    if (std::find(items_.begin(), items_.end(), item) == items_.end()) return false;
    const win::WindowDc screen(nullptr);
    int w = 0, h = 0;
    if (OnMeasureItem) OnMeasureItem(*item, screen.Get(), w, h);
    else MeasurePlainItem(*item, screen.Get(), w, h);
    m->itemWidth = static_cast<UINT>(w);
    m->itemHeight = static_cast<UINT>(h);
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (d->CtlType != ODT_MENU) return false;
    auto* item = reinterpret_cast<TMenuItem*>(d->itemData);
    if (std::find(items_.begin(), items_.end(), item) == items_.end()) return false;
    const bool selected = (d->itemState & ODS_SELECTED) != 0;
    const int saved = SaveDC(d->hDC);
    if (OnDrawItem) OnDrawItem(*item, d->hDC, d->rcItem, selected);
    else DrawPlainItem(*item, d->hDC, d->rcItem, selected);
    RestoreDC(d->hDC, saved);
    return true;
  }
  return false;
}

namespace {
win::ScopedFont MenuFont() {
  NONCLIENTMETRICSW metrics;
  NonClientMetrics(metrics);
  return win::ScopedFont(CreateFontIndirectW(&metrics.lfMenuFont));
}
SIZE BitmapSize(HBITMAP b) {
  BITMAP bm{};
  if (b) GetObjectW(b, sizeof bm, &bm);
  return {bm.bmWidth, bm.bmHeight};
}
}  // namespace

void MeasurePlainItem(TMenuItem& item, HDC dc, int& width, int& height) {
  if (item.IsLine()) {
    width = 10;
    height = 5;
    return;
  }
  win::ScopedFont font = MenuFont();
  win::ScopedSelect select(dc, font.Get());
  SIZE text{};
  GetTextExtentPoint32W(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &text);
  const SIZE glyph = BitmapSize(item.Bitmap.Get());
  width = 4 + std::max<int>(glyph.cx, 24) + 8 + text.cx + 16;
  height = std::max<int>(glyph.cy + 4, text.cy + 8);
}

void DrawPlainItem(TMenuItem& item, HDC dc, const RECT& rect, bool selected) {
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.IsLine()) {
    RECT line{rect.left + 2, (rect.top + rect.bottom) / 2, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
    return;
  }
  const SIZE glyph = BitmapSize(item.Bitmap.Get());
  if (item.Bitmap) {
    win::ScopedMemoryDc mem(CreateCompatibleDC(dc));
    win::ScopedSelect select(mem.Get(), item.Bitmap.Get());
    const COLORREF transparent = GetPixel(mem.Get(), 0, glyph.cy - 1);
    TransparentBlt(dc, rect.left + 4, rect.top + (rect.bottom - rect.top - glyph.cy) / 2, glyph.cx, glyph.cy, mem.Get(),
                   0, 0, glyph.cx, glyph.cy, transparent);
  }
  win::ScopedFont font = MenuFont();
  win::ScopedSelect select(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text = rect;
  text.left += 4 + std::max<int>(glyph.cx, 24) + 8;
  DrawTextW(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

}  // namespace pimblo::ui
