#include "app/zibbet_window.h"

#include <windowsx.h>

#include "win32/desktop.h"
#include "win32/bitmap_region.h"

namespace pimblo {

TZibbetWindow::TZibbetWindow(ui::TComponent* owner, Desktop& desktop, RandomSource& random,
                             const double& speedFactor, Sheets sheets, std::function<void(ScreenPoint)> popupMenu,
                             std::function<void()> dpiChanged, ScreenPoint at)
    : ui::TForm(owner),
      sheets_(sheets),
      popupMenu_(std::move(popupMenu)),
      dpiChanged_(std::move(dpiChanged)),
      left_(at.x),
      top_(at.y) {
  ui::FormStyle style;
  style.style = WS_POPUP;
  style.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;  // always on top, never on the taskbar or in Alt+Tab
  style.left = left_;
  style.top = top_;
  style.width = width_;
  style.height = height_;
  CreateHandle(style);
  icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, LR_SHARED));
  pet_.emplace(desktop, *this, random, speedFactor, static_cast<std::uint32_t>(GetTickCount()));
}

WindowHandle TZibbetWindow::Handle() const { return FromHwnd(ui::TForm::Handle()); }

// A diagonal step is one move: no one sees the corner between the old and the new place.
void TZibbetWindow::MoveTo(ScreenPoint topLeft) {
  if (topLeft.x == left_ && topLeft.y == top_) return;
  left_ = topLeft.x;
  top_ = topLeft.y;
  ++moves;
  SetWindowPos(ui::TForm::Handle(), nullptr, left_, top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TZibbetWindow::SetWidth(std::int32_t v) {
  width_ = v;
  SetWindowPos(ui::TForm::Handle(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TZibbetWindow::SetHeight(std::int32_t v) {
  height_ = v;
  SetWindowPos(ui::TForm::Handle(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TZibbetWindow::BringToTop() {
  ++raises;
  // Without SWP_NOACTIVATE every raise would take the focus from the window the
  // user is working in and close open menus.
  SetWindowPos(ui::TForm::Handle(), HWND_TOPMOST, left_, top_, width_, height_,
               SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TZibbetWindow::PopupContextMenu(ScreenPoint at) {
  if (popupMenu_) popupMenu_(at);
}

void TZibbetWindow::PreparePicture() {
  if (showingIcon_) picture_ = ui::TDib();
  showingIcon_ = false;
  drawn_.clear();
  drewAll_ = true;
}

void TZibbetWindow::DrawFrame(SheetId sheet, std::int32_t index) {
  const ui::TImageList* list = sheets_[static_cast<std::size_t>(sheet)];
  if (!list || index < 0 || index >= list->Count()) {
    drewAll_ = false;
    return;
  }
  drawn_.emplace_back(static_cast<int>(sheet), index);
  if (picture_.Width() != list->Width() || picture_.Height() != list->Height())
    picture_ = ui::TDib(list->Width(), list->Height());
  win::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  win::ScopedSelect select(dc.Get(), picture_.Handle());
  list->DrawTo(dc.Get(), index, 0, 0);
}

void TZibbetWindow::ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) {
  ++redraws;
  win::ScopedRegion region = ShapeOf(key, tolerance);
  // The window system owns the region once it took it; 0 removes the shape (a pet
  // whose picture cannot be scanned shows square but lives on).
  if (SetWindowRgn(ui::TForm::Handle(), region.Get(), TRUE)) region.Release();
}

// The picture's shape, for the window to own: a copy of the pose's kept shape, scanned the
// first time the pose is shown; scanned afresh when a frame was skipped (the picture then
// keeps some of the one before).
win::ScopedRegion TZibbetWindow::ShapeOf(std::uint32_t key, std::uint32_t tolerance) {
  if (!drewAll_ || drawn_.empty()) return win::ScopedRegion(BitmapToRegion(picture_.Handle(), key, tolerance));
  ShapeKey pose{drawn_, key, tolerance};
  auto kept = shapes_.find(pose);
  if (kept == shapes_.end()) {
    win::ScopedRegion scanned(BitmapToRegion(picture_.Handle(), key, tolerance));
    if (!scanned) return {};  // nothing kept: scanned again next time
    kept = shapes_.emplace(std::move(pose), std::move(scanned)).first;
  }
  win::ScopedRegion copy(CreateRectRgn(0, 0, 0, 0));
  if (copy && CombineRgn(copy.Get(), kept->second.Get(), nullptr, RGN_COPY) == ERROR) return {};
  return copy;
}

void TZibbetWindow::Invalidate() { InvalidateRect(ui::TForm::Handle(), nullptr, FALSE); }

void TZibbetWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(ui::TForm::Handle(), &ps);
  if (showingIcon_) {
    if (icon_) DrawIconEx(dc, 0, 0, icon_, 32, 32, 0, nullptr, DI_NORMAL);
  } else if (picture_) {
    win::ScopedMemoryDc mem(CreateCompatibleDC(dc));
    win::ScopedSelect select(mem.Get(), picture_.Handle());
    BitBlt(dc, 0, 0, picture_.Width(), picture_.Height(), mem.Get(), 0, 0, SRCCOPY);
  }
  EndPaint(ui::TForm::Handle(), &ps);
}

void TZibbetWindow::MouseDown(MouseButton button, LPARAM lParam) {
  if (button != MouseButton::Right) SetCapture(ui::TForm::Handle());
  pet_->ImageMouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void TZibbetWindow::MouseUp(MouseButton button, LPARAM lParam) {
  if (GetCapture() == ui::TForm::Handle()) ReleaseCapture();
  pet_->ImageMouseUp(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

LRESULT TZibbetWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCPAINT: return 0;  // no frame: nothing for the system to paint, on every move
    case WM_DPICHANGED:
      if (dpiChanged_) dpiChanged_();
      return 0;
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return TRUE;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // picking the pet up leaves the focus where it was
    case WM_LBUTTONDOWN: MouseDown(MouseButton::Left, lParam); return 0;
    case WM_MBUTTONDOWN: MouseDown(MouseButton::Middle, lParam); return 0;
    case WM_RBUTTONDOWN: MouseDown(MouseButton::Right, lParam); return 0;
    case WM_LBUTTONUP: MouseUp(MouseButton::Left, lParam); return 0;
    case WM_MBUTTONUP: MouseUp(MouseButton::Middle, lParam); return 0;
    case WM_RBUTTONUP: MouseUp(MouseButton::Right, lParam); return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, Alt+Tab): the pet is let go as
      // if the button had been released, instead of following the cursor on.
      if (reinterpret_cast<HWND>(lParam) != ui::TForm::Handle() && pet_->Dragging) pet_->ImageMouseUp(MouseButton::Left, 0, 0);
      return 0;
    default: return ui::TForm::WndProc(msg, wParam, lParam);
  }
}

}  // namespace pimblo
