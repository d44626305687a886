// The file system as the program uses it: whether the first start's marker
// exists, making it, and where it goes when the usual place is closed to the
// user; reading a user's skin file. The Windows layer implements it; the tests
// fake it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  // The whole file, up to `limit` bytes; none when it cannot be read or is larger.
  virtual std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path, std::size_t limit) = 0;
};

}  // namespace pimblo
