// TForm: one window of the program, created with its component, with
// properties over the window's geometry and visibility, the form events, and
// message handlers bound to message numbers. One static window procedure serves
// every form: `this` travels through CreateWindowEx and is recovered on
// WM_NCCREATE. Nothing a handler throws leaves the window procedure: it ends in
// the standard error box and the message loop goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>

#include "win32/component.h"

namespace pimblo::ui {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result = 0;
};

struct FormStyle {
  DWORD style = WS_POPUP;
  DWORD exStyle = 0;
  std::wstring caption;
  int left = 0, top = 0, width = 100, height = 100;  // outer size
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

class TForm : public TComponent {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  HWND Handle() const { return handle_; }

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  void SetBounds(int left, int top, int width, int height);
  bool Visible() const;
  void Show();  // shows the form, or brings it to the front when it is showing
  void Hide();
  void Close();  // asks FormCloseQuery; the main form's close ends the program
  void SetCaption(const std::wstring& caption);
  std::wstring Caption() const;

  // Binds a handler to a message number; it decides the message's result.
  void OnMessage(UINT msg, std::function<void(TMessage&)> handler) { handlers_[msg] = std::move(handler); }

 protected:
  // Creates the window; forms call this from their constructors.
  void CreateHandle(const FormStyle& style);
  virtual void FormShow() {}
  virtual void FormCloseQuery(bool& canClose) { (void)canClose; }
  // Messages no bound handler took; the default goes to DefWindowProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  RECT Bounds() const;

  HWND handle_ = nullptr;
  std::unordered_map<UINT, std::function<void(TMessage&)>> handlers_;
};

// The form that owns a window of this process, when the window is one of the
// framework's forms; null for any other window.
TForm* FormOf(HWND window);

}  // namespace pimblo::ui
