// The program's file system on Linux: the first start's marker and a user's
// skin file, under POSIX names given as the core's wide strings (UTF-8 on disk).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"

namespace pimblo::x11 {

class PosixFileSystem : public FileSystem {
 public:
  bool Exists(const std::wstring& path) override;
  // Makes the missing folders above it (private to the user, 0700) and then
  // the file only if it is not there yet.
  bool CreateNewFile(const std::wstring& path, std::string_view contents) override;
  // None: the marker goes to the user's configuration folder, which is always theirs.
  std::optional<std::wstring> FallbackMarkerPath() override;
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path, std::size_t limit) override;
};

// Makes the folder and the missing ones above it, 0700 each as the XDG base
// directories ask; true when it is a folder afterwards.
bool MakeFolders(const std::string& path);

// Writes all the bytes, through interruptions and short writes.
bool WriteAll(int fd, std::string_view bytes);

// The folder that holds a path: "/a/b" of "/a/b/c", "/" of "/c", "." of "c".
std::string ParentFolder(const std::string& path);

}  // namespace pimblo::x11
