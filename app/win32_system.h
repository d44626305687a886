// The registry's Run key and the file system, for start with the system and the
// first-start marker.
#pragma once

#include <windows.h>

#include "app/autostart.h"

namespace pimblo {

class Win32RunKey : public RunKey {
 public:
  ~Win32RunKey() override { Close(); }
  bool Open() override;
  bool WriteString(const std::wstring& name, const std::wstring& data) override;
  bool ValueExists(const std::wstring& name) override;
  bool DeleteValue(const std::wstring& name) override;
  void Close() override;

 private:
  HKEY key_ = nullptr;
};

class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const std::wstring& path) override;
  bool CreateNewFile(const std::wstring& path, std::string_view contents) override;
  std::optional<std::wstring> FallbackMarkerPath() override;
};

// The running program's full path.
std::wstring ExecutablePath();

}  // namespace pimblo
