#include "app/unit2.h"

#include "app/commands.h"
#include "app/main_form.h"

namespace pimblo {

TForm2* Form2 = nullptr;

namespace {
constexpr int kButton1 = 1;
}

std::wstring TForm2::HelpText() {
  return JoinLines({
      L"  使用方法:",
      L"  1. 右键点击Pimblo后,会弹出一个对话框.",
      L"     立正:Pimblo停止运动;",
      L"     动起来:Pimblo开始运动;",
      L"     现速度:显示当前Pimblo的运动速度.",
      L"     加速运动:Pimblo的运动速度加快.",
      L"     减速运动:Pimblo的运动速度变慢.",
      L"",
      L"  说明:",
      L"  按CTRL+ALT+F11可使Pimblo动起来.",
      L"  按CTRL+ALT+F12可使Pimblo停止运动.",
  }, L"\r\n");
}

TForm2::TForm2(ui::TComponent* owner) : ui::TForm(owner) {
  Form2 = this;
  ui::FormStyle style;
  style.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  style.exStyle = WS_EX_APPWINDOW;  // a taskbar button, so a minimised help window can be found again
  style.caption = L"简介";
  style.left = 312;
  style.top = 148;
  style.width = 393;
  style.height = 366;
  CreateHandle(style);
}

// The memo and the button, with their text and fonts, are made when the window
// is first shown: most starts never show it, and the text's fonts cost the
// program's start-up both time and memory.
void TForm2::CreateContents() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  Memo1 = CreateWindowExW(0, L"EDIT", HelpText().c_str(),
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_MULTILINE | ES_WANTRETURN, 1, 0,
                          383, 337, Handle(), nullptr, instance, nullptr);
  Button1 = CreateWindowExW(0, L"BUTTON", L"返回", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 288, 304, 81,
                            25, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButton1)), instance, nullptr);
  // The button lies over the memo's corner.
  SetWindowPos(Button1, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  LOGFONTW memoFont{};
  memoFont.lfHeight = -16;
  memoFont.lfCharSet = DEFAULT_CHARSET;
  wcscpy(memoFont.lfFaceName, L"MS Sans Serif");
  memoFont_.Reset(CreateFontIndirectW(&memoFont));
  SendMessageW(Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_.Get()), FALSE);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  buttonFont_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
  SendMessageW(Button1, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), FALSE);
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
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(Memo1);
      return 0;
    default: break;
  }
  return ui::TForm::WndProc(msg, wParam, lParam);
}

}  // namespace pimblo
