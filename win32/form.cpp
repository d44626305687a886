#include "win32/form.h"

#include "win32/application.h"

namespace pimblo::ui {
namespace {
constexpr wchar_t kClassName[] = L"TPimbloForm";

ATOM g_formClass = 0;

void RegisterFormClass(WNDPROC proc) {
  if (g_formClass) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
  g_formClass = RegisterClassExW(&wc);
}
}  // namespace

TForm* FormOf(HWND window) {
  DWORD process = 0;
  if (!g_formClass || !window || GetClassLongPtrW(window, GCW_ATOM) != g_formClass) return nullptr;
  if (!GetWindowThreadProcessId(window, &process) || process != GetCurrentProcessId()) return nullptr;
  return reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TForm::TForm(TComponent* owner) : TComponent(owner) {}

TForm::~TForm() {
  if (handle_) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void TForm::CreateHandle(const FormStyle& s) {
  RegisterFormClass(StaticWndProc);
  HWND owner = Application ? Application->Handle() : nullptr;
  handle_ = CreateWindowExW(s.exStyle, kClassName, s.caption.c_str(), s.style & ~WS_VISIBLE, s.left, s.top, s.width,
                            s.height, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (s.cursor) SetClassLongPtrW(handle_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(s.cursor));
}

LRESULT CALLBACK TForm::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->handle_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  try {
    result = form->Dispatch(msg, wParam, lParam);
  } catch (...) {
    ShowCurrentException();
  }
  return result;
}

LRESULT TForm::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto it = handlers_.find(msg); it != handlers_.end()) {
    TMessage m{msg, wParam, lParam, 0};
    it->second(m);
    return m.Result;
  }
  return WndProc(msg, wParam, lParam);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    Close();
    return 0;
  }
  return DefWindowProcW(handle_, msg, wParam, lParam);
}

RECT TForm::Bounds() const {
  RECT r{};
  GetWindowRect(handle_, &r);
  return r;
}

int TForm::Left() const { return Bounds().left; }
int TForm::Top() const { return Bounds().top; }
int TForm::Width() const {
  const RECT r = Bounds();
  return r.right - r.left;
}
int TForm::Height() const {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

void TForm::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void TForm::SetLeft(int v) { SetWindowPos(handle_, nullptr, v, Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }
void TForm::SetTop(int v) { SetWindowPos(handle_, nullptr, Left(), v, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }
void TForm::SetWidth(int v) { SetWindowPos(handle_, nullptr, 0, 0, v, Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); }
void TForm::SetHeight(int v) { SetWindowPos(handle_, nullptr, 0, 0, Width(), v, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); }

bool TForm::Visible() const { return handle_ && IsWindowVisible(handle_); }

void TForm::Show() {
  if (Visible()) {
    if (IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);
    SetForegroundWindow(handle_);
    BringWindowToTop(handle_);
    return;
  }
  FormShow();
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);
}

void TForm::Hide() { ShowWindow(handle_, SW_HIDE); }

void TForm::Close() {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (!canClose) return;
  if (Application && Application->MainForm() == this) Application->Terminate();
  else Hide();
}

void TForm::SetCaption(const std::wstring& caption) { SetWindowTextW(handle_, caption.c_str()); }

std::wstring TForm::Caption() const {
  std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(handle_, s.data(), static_cast<int>(s.size()))));
  return s;
}

}  // namespace pimblo::ui
