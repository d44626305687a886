#include "win32/application.h"

#include <commctrl.h>

#include "win32/exception.h"
#include "win32/form.h"
#include "win32/timer.h"
#include "win32/text.h"

namespace pimblo::ui {

TApplication* Application = nullptr;

namespace {
constexpr wchar_t kClassName[] = L"TPimbloApplication";
}

TApplication::TApplication() : TComponent(nullptr) { Application = this; }

TApplication::~TApplication() {
  // Forms and their components go first, while the window still exists.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (handle_) DestroyWindow(handle_);
  Application = nullptr;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  handle_ = CreateWindowExW(0, kClassName, Title.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU, 0, 0,
                            0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    Application->Guard([&] { TTimer::Dispatch(wParam); });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

namespace {
// Tab and the arrow keys move between the controls of a form with a caption.
bool DialogKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || root == msg.hwnd || !(GetWindowLongW(root, GWL_STYLE) & WS_CAPTION)) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}
}  // namespace

void TApplication::Run() {
  if (mainForm_ && ShowMainForm) mainForm_->Show();
  MSG msg;
  while (!terminated_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (DialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (DialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::ShowException(const std::wstring& message) {
  const std::wstring text = ErrorText ? ErrorText(message) : message;
  MessageBoxW(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void ShowCurrentException() noexcept {
  try {
    throw;
  } catch (const Exception& e) {
    if (Application) Application->ShowException(e.Message());
  } catch (const std::exception& e) {
    if (Application) Application->ShowException(Widen(e.what()));
  } catch (...) {
    if (Application) Application->ShowException(L"Unknown error");
  }
}

}  // namespace pimblo::ui
