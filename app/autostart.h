// Start with the system and the first start, over small interfaces to the
// registry, the file system and the user, so that every branch can be tested
// with fakes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/file_system.h"
#include "host/run_key.h"
#include "host/shell.h"

namespace pimblo {

constexpr wchar_t kRunValueName[] = L"pimblorun";
constexpr wchar_t kMarkerPath[] = L"c:\\a.bat";
// Where the marker goes, under the user's application data, when the root of C: is closed to them.
constexpr wchar_t kFallbackMarker[] = L"Pimblo\\a.bat";
// The marker's contents: the lines "Me", "mo", "1" of the main form's hidden memo.
constexpr std::string_view kMarkerContents = "Me\r\nmo\r\n1\r\n";

// The Run value's data: the program's full path in double quotes, so that a
// path with spaces cannot start another program at log-on.
std::wstring RunValueData(const std::wstring& exePath);

// The usage text of the first start: eleven lines joined by single CRs.
std::wstring UsageText();

// "Failed to set data for 'pimblorun'"
std::wstring RegistryWriteError();

// Where the value may go: the machine's key first; the user's when the machine's
// is closed to them, as it is to anyone not running as administrator.
struct RunKeys {
  RunKey& machine;
  RunKey& user;
};

// Menu "开机自动运行": writes the value under the first key that takes it and
// says so; the motion stops for the registry work and always starts again.
// Returns the registry error when neither key took the value.
std::optional<std::wstring> SwitchAutostartOn(RunKeys keys, Shell& shell, const std::wstring& exePath);

// Menu "取消自动运行": removes the value from every key that holds it and says
// so once; says nothing when none held it or none could be opened.
void SwitchAutostartOff(RunKeys keys, Shell& shell);

// The first start, when neither the marker at `markerPath` (kMarkerPath on
// Windows) nor the file system's fallback exists: write the marker, show the
// usage, ask about start with the system (written as by the menu, without the
// message), arm the help window's timer. Returns true when this was a first
// start. Failures go to the standard error box and the start-up goes on.
bool RunFirstStart(FileSystem& files, RunKeys keys, Shell& shell, const std::wstring& exePath,
                   const std::wstring& markerPath);

}  // namespace pimblo
