// One Run key of the system's registry, as the program's start-with-the-system
// logic uses it: the machine's (every user, needs an administrator to change) or
// the user's own (always theirs to change). The Windows layer implements it; the
// tests fake it.
#pragma once

#include <string>

namespace pimblo {

// Where the Run keys are, under the machine's and under the user's root.
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

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

}  // namespace pimblo
