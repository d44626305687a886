// Between the program's wide strings and narrow ones: UTF-8 to UTF-16 for
// messages of the standard library, and the ASCII of window-class names.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pimblo::ui {

inline std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

// The ASCII of a name (a window class, say), with '?' for anything else.
inline std::string Narrow(std::wstring_view s) {
  std::string out;
  out.reserve(s.size());
  for (wchar_t c : s) out.push_back(c < 128 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace pimblo::ui
