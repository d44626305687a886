#include "x11/xdg_autostart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "x11/posix_file_system.h"
#include "x11/scoped_fd.h"
#include "x11/text.h"

namespace pimblo::x11 {

namespace {
constexpr mode_t kEntryMode = 0644;

// The Exec key's quoting of one argument: always quoted, which a full path may
// need for a space and never suffers from.
std::string QuotedArgument(std::string_view argument) {
  std::string out = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';  // a lone % would start a field code
    out += c;
  }
  return out + "\"";
}

// The escapes of a string value, undone by readers before the Exec quoting.
std::string StringValue(std::string_view value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

// The path inside the Run value's double quotes; a value without them is the path itself.
std::wstring PathOfRunValue(const std::wstring& data) {
  if (data.size() >= 2 && data.front() == L'"' && data.back() == L'"') return data.substr(1, data.size() - 2);
  return data;
}

// The temporary file beside the entry, removed on destruction unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& besides) : name_(besides + ".XXXXXX") {
    std::vector<char> pattern(name_.begin(), name_.end());
    pattern.push_back('\0');
    fd_ = ScopedFd(mkostemp(pattern.data(), O_CLOEXEC));
    name_.assign(pattern.data());
  }
  ~TemporaryFile() {
    if (!renamed_ && fd_) unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool WriteAndRename(std::string_view contents, const std::string& target) {
    if (!fd_ || fchmod(fd_.Get(), kEntryMode) != 0 || !WriteAll(fd_.Get(), contents) || fsync(fd_.Get()) != 0)
      return false;
    if (!fd_.Close()) return false;
    renamed_ = rename(name_.c_str(), target.c_str()) == 0;
    if (!renamed_) unlink(name_.c_str());
    return renamed_;
  }

 private:
  std::string name_;
  ScopedFd fd_;
  bool renamed_ = false;
};
}  // namespace

std::string ExecValue(std::string_view path) { return StringValue(QuotedArgument(path)); }

std::string AutostartEntry(std::string_view path) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Pimblo\n"
         "Comment=A little pet that walks on the tops of your windows\n"
         "TryExec=" + StringValue(path) + "\n"
         "Exec=" + ExecValue(path) + "\n"
         "Icon=pimblo\n"
         "Terminal=false\n";
}

bool XdgAutostartKey::Open() { return open_ = entryPath_.has_value(); }

bool XdgAutostartKey::WriteString(const std::wstring&, const std::wstring& data) {
  if (!open_ || !MakeFolders(ParentFolder(*entryPath_))) return false;
  TemporaryFile file(*entryPath_);
  return file.WriteAndRename(AutostartEntry(ToUtf8(PathOfRunValue(data))), *entryPath_);
}

bool XdgAutostartKey::ValueExists(const std::wstring&) {
  struct stat s {};
  return open_ && lstat(entryPath_->c_str(), &s) == 0;
}

bool XdgAutostartKey::DeleteValue(const std::wstring&) { return open_ && unlink(entryPath_->c_str()) == 0; }

void XdgAutostartKey::Close() { open_ = false; }

}  // namespace pimblo::x11
