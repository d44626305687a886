// The registry's Run keys and the file system, for start with the system and the
// first-start marker.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/file_system.h"
#include "host/run_key.h"

namespace pimblo {

// The Run key under ROOT: HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
class Win32RunKey : public RunKey {
 public:
  explicit Win32RunKey(HKEY root) : root_(root) {}
  ~Win32RunKey() override { Close(); }
  Win32RunKey(const Win32RunKey&) = delete;
  Win32RunKey& operator=(const Win32RunKey&) = delete;
  bool Open() override;
  bool WriteString(const std::wstring& name, const std::wstring& data) override;
  bool ValueExists(const std::wstring& name) override;
  bool DeleteValue(const std::wstring& name) override;
  void Close() override;

 private:
  HKEY root_;
  HKEY key_ = nullptr;
};

// The marker's fallback is `fallbackMarker` under the user's application data.
class Win32FileSystem : public FileSystem {
 public:
  explicit Win32FileSystem(std::wstring fallbackMarker) : fallbackMarker_(std::move(fallbackMarker)) {}
  bool Exists(const std::wstring& path) override;
  bool CreateNewFile(const std::wstring& path, std::string_view contents) override;
  std::optional<std::wstring> FallbackMarkerPath() override;
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path, std::size_t limit) override;

 private:
  std::wstring fallbackMarker_;
};

// The whole of a file named by a UTF-8 path (a skin file, say), up to `limit` bytes; nothing when
// it does not exist, cannot be read or is larger.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& utf8Path, std::size_t limit = 64u << 20);
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t limit = 64u << 20);

// The user's application data folder ("%APPDATA%"); none when the system does not say.
std::optional<std::wstring> AppDataFolder();

// The running program's full path.
std::wstring ExecutablePath();

}  // namespace pimblo
