// The file system as the first start uses it: whether its marker exists, making
// it, and where it goes when the usual place is closed to the user. The Windows
// layer implements it; the tests fake it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pimblo {

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

}  // namespace pimblo
