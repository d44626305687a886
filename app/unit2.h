// The help window: how to use the pet. While it is on screen the pets stand still.
#pragma once

#include "win32/form.h"
#include "win32/scoped_win.h"

namespace pimblo {

class TForm2 : public ui::TForm {
 public:
  explicit TForm2(ui::TComponent* owner);

  HWND Memo1 = nullptr;
  HWND Button1 = nullptr;
  void Button1Click() { Close(); }

  // The memo's text, eleven lines.
  static std::wstring HelpText();

 protected:
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateContents();
  void LayOutContents();
  void DpiChanged(int dpi, const RECT& suggested);
  int dpi_ = 96;
  win::ScopedFont memoFont_;
  win::ScopedFont buttonFont_;
};

extern TForm2* Form2;

}  // namespace pimblo
