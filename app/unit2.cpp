#include "app/unit2.h"

#include <algorithm>

#include "app/commands.h"
#include "win32/dpi.h"
#include "app/main_form.h"

namespace pimblo {

TForm2* Form2 = nullptr;

namespace {
constexpr int kButton1 = 1;

// The window's figures at 96 DPI; every other scale multiplies them.
constexpr RECT kFormBounds{312, 148, 312 + 393, 148 + 366};
constexpr RECT kMemo1Bounds{1, 0, 1 + 383, 0 + 337};
constexpr RECT kButton1Bounds{288, 304, 288 + 81, 304 + 25};
constexpr int kMemoFontHeight = 16;

RECT Scaled(const RECT& r, int dpi) {
  return {ui::Scale(r.left, dpi), ui::Scale(r.top, dpi), ui::Scale(r.right, dpi), ui::Scale(r.bottom, dpi)};
}
// Moved as little as needed to lie on its monitor's work area (a large scale
// on a small screen would push the title-bar buttons off it).
RECT OnTheWorkArea(RECT r) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &monitor)) return r;
  const RECT& work = monitor.rcWork;
  const LONG dx = std::max(std::min(0L, work.right - r.right), work.left - r.left);
  const LONG dy = std::max(std::min(0L, work.bottom - r.bottom), work.top - r.top);
  OffsetRect(&r, dx, dy);
  return r;
}
void Place(HWND window, const RECT& r) {
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

std::wstring TForm2::HelpText() { return pimblo::HelpText(L"\r\n"); }

TForm2::TForm2(ui::TComponent* owner) : ui::TForm(owner) {
  Form2 = this;
  ui::FormStyle style;
  style.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  style.exStyle = WS_EX_APPWINDOW;  // a taskbar button, so a minimised help window can be found again
  style.caption = L"简介";
  style.left = kFormBounds.left;
  style.top = kFormBounds.top;
  style.width = kFormBounds.right - kFormBounds.left;
  style.height = kFormBounds.bottom - kFormBounds.top;
  CreateHandle(style);
  dpi_ = ui::WindowDpi(Handle());
  const RECT bounds = Scaled(kFormBounds, dpi_);
  const RECT shown = OnTheWorkArea(bounds);
  if (!EqualRect(&bounds, &kFormBounds) || !EqualRect(&shown, &bounds)) Place(Handle(), shown);
}

// The memo and the button, with their text and fonts, are made when the window
// is first shown: most starts never show it, and the text's fonts cost the
// program's start-up both time and memory.
void TForm2::CreateContents() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  Memo1 = CreateWindowExW(0, L"EDIT", HelpText().c_str(),
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_MULTILINE | ES_WANTRETURN, 0, 0, 0,
                          0, Handle(), nullptr, instance, nullptr);
  Button1 = CreateWindowExW(0, L"BUTTON", L"返回", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButton1)), instance, nullptr);
  // The button lies over the memo's corner.
  SetWindowPos(Button1, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  LayOutContents();
}

// The memo and the button, their places, sizes and fonts at the window's scale.
void TForm2::LayOutContents() {
  Place(Memo1, Scaled(kMemo1Bounds, dpi_));
  Place(Button1, Scaled(kButton1Bounds, dpi_));
  LOGFONTW memoFont{};
  memoFont.lfHeight = -ui::Scale(kMemoFontHeight, dpi_);
  memoFont.lfCharSet = DEFAULT_CHARSET;
  wcscpy(memoFont.lfFaceName, L"MS Sans Serif");
  memoFont_.Reset(CreateFontIndirectW(&memoFont));
  SendMessageW(Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_.Get()), TRUE);
  NONCLIENTMETRICSW metrics;
  ui::NonClientMetrics(metrics, dpi_);
  buttonFont_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
  SendMessageW(Button1, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), TRUE);
}

// Moved to a monitor of another scale: the system suggests the new bounds,
// and the contents follow.
void TForm2::DpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  Place(Handle(), suggested);
  if (Memo1) LayOutContents();
}

void TForm2::FormShow() {
  if (!Memo1) CreateContents();
  if (MainForm) MainForm->Timer1->SetEnabled(false);
}

void TForm2::FormCloseQuery(bool&) {
  if (MainForm) MainForm->Timer1->SetEnabled(true);
}

LRESULT TForm2::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButton1 && HIWORD(wParam) == BN_CLICKED) {
        Button1Click();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == Memo1) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNHIGHLIGHT));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      }
      break;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(Memo1);
      return 0;
    default: break;
  }
  return ui::TForm::WndProc(msg, wParam, lParam);
}

}  // namespace pimblo
