// Start with the session on Linux: the Run key of the program's logic, backed
// by a desktop entry in the user's XDG autostart folder, which the session
// starts at log-in.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "host/run_key.h"

namespace pimblo::x11 {

// The Exec value that starts the program at `path` (UTF-8) with no arguments:
// the path in double quotes with ", `, $ and \ escaped by a backslash and %
// doubled, and then the escapes of a desktop entry's string values (so that a
// backslash of the path is written as four).
std::string ExecValue(std::string_view path);

// The whole desktop entry that starts the program at `path` (UTF-8) with the
// session. Its TryExec names the same file, so that a session skips the entry
// once the program is gone (the package removed, the folder deleted).
std::string AutostartEntry(std::string_view path);

// The user's autostart entry at `entryPath` (AutostartEntryPath(); none when
// the user's configuration folder is unknown, and then it never opens). The
// key holds the program's one value, whatever its name: the entry exists or
// not. The data written is the Run value as the program's logic makes it
// (RunValueData: the full path in double quotes); the entry's Exec is made of
// the path inside. Owns nothing but the path: files outside that one name are
// never touched.
class XdgAutostartKey : public RunKey {
 public:
  explicit XdgAutostartKey(std::optional<std::string> entryPath) : entryPath_(std::move(entryPath)) {}
  bool Open() override;
  // Writes the entry whole (a temporary file in the same folder, then renamed
  // over it), making the folders above it.
  bool WriteString(const std::wstring& name, const std::wstring& data) override;
  bool ValueExists(const std::wstring& name) override;
  bool DeleteValue(const std::wstring& name) override;
  void Close() override;

 private:
  std::optional<std::string> entryPath_;
  bool open_ = false;
};

// The machine's key of the program's logic on Linux: never opens. A user has no
// business writing into /etc/xdg/autostart, and a program that asks for a
// password to start with the session is not wanted; with this key the logic
// writes and removes the user's entry alone.
class NoMachineKey : public RunKey {
 public:
  bool Open() override { return false; }
  bool WriteString(const std::wstring&, const std::wstring&) override { return false; }
  bool ValueExists(const std::wstring&) override { return false; }
  bool DeleteValue(const std::wstring&) override { return false; }
  void Close() override {}
};

}  // namespace pimblo::x11
