#include "win32/system.h"

#include <shlobj.h>

#include <vector>

namespace pimblo {

bool Win32RunKey::Open() {
  Close();
  return RegCreateKeyExW(root_, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) ==
         ERROR_SUCCESS;
}

bool Win32RunKey::WriteString(const std::wstring& name, const std::wstring& data) {
  if (!key_) return false;
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));  // with the terminating zero
  return RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes) ==
         ERROR_SUCCESS;
}

bool Win32RunKey::ValueExists(const std::wstring& name) {
  return key_ && RegQueryValueExW(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool Win32RunKey::DeleteValue(const std::wstring& name) {
  return key_ && RegDeleteValueW(key_, name.c_str()) == ERROR_SUCCESS;
}

void Win32RunKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool Win32FileSystem::Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::CreateNewFile(const std::wstring& path, std::string_view contents) {
  const std::wstring::size_type slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos && slash > 2) CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
                  written == contents.size();
  CloseHandle(file);
  return ok;
}

std::optional<std::wstring> Win32FileSystem::FallbackMarkerPath() {
  const std::optional<std::wstring> folder = AppDataFolder();
  if (!folder) return std::nullopt;
  return *folder + L"\\" + fallbackMarker_;
}

std::optional<std::vector<std::uint8_t>> Win32FileSystem::Read(const std::wstring& path, std::size_t limit) {
  return ReadWholeFile(path, limit);
}

std::optional<std::wstring> AppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return std::nullopt;
  return std::wstring(folder);
}

std::wstring ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<wchar_t> full(32768);
  const DWORD n = GetFullPathNameW(buffer.data(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  return n ? std::wstring(full.data(), n) : std::wstring(buffer.data());
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& utf8Path, std::size_t limit) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path.data(), static_cast<int>(utf8Path.size()),
                                         nullptr, 0);
  if (length <= 0 && !utf8Path.empty()) return std::nullopt;
  std::wstring path(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8Path.data(), static_cast<int>(utf8Path.size()), path.data(), length);
  return ReadWholeFile(path, limit);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t limit) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> result;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<unsigned long long>(size.QuadPart) <= limit) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                          read == bytes.size()))
      result = std::move(bytes);
  }
  CloseHandle(file);
  return result;
}

}  // namespace pimblo
