// Program entry: the application with no main window shown and no taskbar
// button, the main form, and the message loop.
#include <windows.h>

#include "app/commands.h"
#include "app/main_form.h"
#include "app/unit2.h"
#include "win32/application.h"

namespace {
// Loads DLLs from the system folder only, before anything loads one.
void RestrictDllSearch() {
  using SetDirs = BOOL(WINAPI*)(DWORD);
  if (auto set = reinterpret_cast<SetDirs>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))))
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  pimblo::ui::TApplication application;
  application.Initialize();
  application.ShowMainForm = false;
  application.Title = pimblo::kApplicationTitle;
  application.ErrorText = pimblo::ErrorBoxText;
  SetWindowTextW(application.Handle(), application.Title.c_str());
  try {
    application.CreateForm<pimblo::TMainForm>();
    application.CreateForm<pimblo::TForm2>();
  } catch (...) {
    pimblo::ui::ShowCurrentException();
    return 1;
  }
  ShowWindow(application.Handle(), SW_HIDE);
  application.Run();
  return 0;
}
