// Start with the system and the first start, over small interfaces to the
// registry, the file system and the user, so that every branch can be tested
// with fakes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pimblo {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValueName[] = L"pimblorun";
constexpr wchar_t kMarkerPath[] = L"c:\\a.bat";
// The marker's contents: the lines "Me", "mo", "1" of the main form's hidden memo.
constexpr std::string_view kMarkerContents = "Me\r\nmo\r\n1\r\n";

// One Run key: the machine's (every user, needs an administrator to change) or
// the user's own (always theirs to change).
class RunKey {
 public:
  virtual ~RunKey() = default;
  // Opens the key with full access, creating it when it is missing.
  virtual bool Open() = 0;
  virtual bool WriteString(const std::wstring& name, const std::wstring& data) = 0;
  virtual bool ValueExists(const std::wstring& name) = 0;
  virtual bool DeleteValue(const std::wstring& name) = 0;
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool Exists(const std::wstring& path) = 0;
  // Creates a new file with these bytes; false when it cannot.
  virtual bool CreateNewFile(const std::wstring& path, std::string_view contents) = 0;
  // Where the marker goes when the root of C: is closed to the user, e.g.
  // "%APPDATA%\Pimblo\a.bat" (its folder is made on creation); none if unknown.
  virtual std::optional<std::wstring> FallbackMarkerPath() = 0;
};

// What the commands show and switch.
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

// The first start, when neither marker exists: write the marker, show the
// usage, ask about start with the system (written as by the menu, without the
// message), arm the help window's timer. Returns true when this was a first
// start. Failures go to the standard error box and the start-up goes on.
bool RunFirstStart(FileSystem& files, RunKeys keys, Shell& shell, const std::wstring& exePath);

}  // namespace pimblo
