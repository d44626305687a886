// The application object: the hidden top-level window that owns every form (so
// none of them gets a taskbar button), the title, the message loop, and the
// standard error box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win32/component.h"

namespace pimblo::ui {

class TForm;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  void Initialize();
  HWND Handle() const { return handle_; }
  std::wstring Title;
  bool ShowMainForm = true;
  TForm* MainForm() const { return mainForm_; }

  // Creates a form owned by the application; the first becomes the main form.
  template <class Form>
  Form* CreateForm() {
    auto* form = new Form(this);
    if (!mainForm_) mainForm_ = form;
    return form;
  }

  // Runs the message loop until the main form closes.
  void Run();
  // Handles every message waiting in the thread's queue, then returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The standard error box: the application title, the stop icon, OK, and the
  // text the program makes of the message (the message itself when it makes none).
  void ShowException(const std::wstring& message);
  std::function<std::wstring(const std::wstring&)> ErrorText;
  // Runs a handler, sending anything it throws to the standard error box.
  template <class F>
  void Guard(F&& handler) noexcept;

  // Timers are delivered as WM_TIMER to the application window.
  HWND TimerWindow() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

extern TApplication* Application;

void ShowCurrentException() noexcept;

template <class F>
void TApplication::Guard(F&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    ShowCurrentException();
  }
}

}  // namespace pimblo::ui
