// What the program's commands show the user and switch: its messages and its
// timers. The program's main form implements it; the tests fake it.
#pragma once

#include <string>

namespace pimblo {

class Shell {
 public:
  virtual ~Shell() = default;
  virtual void SetMotion(bool enabled) = 0;                // Timer1
  virtual void Inform(const std::wstring& text) = 0;       // "提示", OK, information icon
  virtual void ShowUsage(const std::wstring& text) = 0;    // plain dialog, application title, no icon
  virtual bool AskYesNo(const std::wstring& text) = 0;     // "提示", Yes/No, question icon
  virtual void ShowError(const std::wstring& message) = 0; // the standard error box
  virtual void ArmHelpTimer() = 0;                          // Timer3
};

}  // namespace pimblo
