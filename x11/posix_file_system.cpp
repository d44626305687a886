#include "x11/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "x11/scoped_fd.h"
#include "x11/text.h"

namespace pimblo::x11 {

namespace {
constexpr mode_t kPrivateFolder = 0700;
constexpr mode_t kUserFile = 0644;
constexpr std::size_t kChunk = 64 * 1024;

bool IsFolder(const std::string& path) {
  struct stat s {};
  return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}
}  // namespace

std::string ParentFolder(const std::string& path) {
  const std::string::size_type slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool MakeFolders(const std::string& path) {
  if (path.empty() || IsFolder(path)) return !path.empty();
  const std::string parent = ParentFolder(path);
  if (parent != path && !MakeFolders(parent)) return false;
  // Another process may make it between the look and the mkdir: that is success too.
  return mkdir(path.c_str(), kPrivateFolder) == 0 || (errno == EEXIST && IsFolder(path));
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool PosixFileSystem::Exists(const std::wstring& path) {
  struct stat s {};
  return stat(ToUtf8(path).c_str(), &s) == 0;
}

bool PosixFileSystem::CreateNewFile(const std::wstring& path, std::string_view contents) {
  const std::string name = ToUtf8(path);
  if (!MakeFolders(ParentFolder(name))) return false;
  ScopedFd file(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kUserFile));
  if (!file) return false;
  if (WriteAll(file.Get(), contents) && file.Close()) return true;
  // Half a file is no marker: the next start tries again.
  unlink(name.c_str());
  return false;
}

std::optional<std::wstring> PosixFileSystem::FallbackMarkerPath() { return std::nullopt; }

std::optional<std::vector<std::uint8_t>> PosixFileSystem::Read(const std::wstring& path, std::size_t limit) {
  ScopedFd file(open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!file) return std::nullopt;
  struct stat s {};
  if (fstat(file.Get(), &s) != 0 || !S_ISREG(s.st_mode) || static_cast<std::uintmax_t>(s.st_size) > limit)
    return std::nullopt;
  // Read to the end, refusing a file that has grown past the limit since fstat.
  std::vector<std::uint8_t> bytes;
  std::size_t have = 0;
  for (;;) {
    bytes.resize(have + kChunk);
    const ssize_t n = read(file.Get(), bytes.data() + have, kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
    if (have > limit) return std::nullopt;
  }
  bytes.resize(have);
  return bytes;
}

}  // namespace pimblo::x11
