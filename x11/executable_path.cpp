#include "x11/executable_path.h"

#include <unistd.h>

#include <vector>

#include "x11/text.h"

namespace pimblo::x11 {

std::string LivePath(std::string_view link) {
  constexpr std::string_view kDeleted = " (deleted)";
  if (link.size() > kDeleted.size() && link.substr(link.size() - kDeleted.size()) == kDeleted)
    link.remove_suffix(kDeleted.size());
  return std::string(link);
}

std::wstring ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    // A link as long as the buffer may have been cut short: again, larger.
    if (static_cast<std::size_t>(n) < buffer.size()) return FromUtf8(LivePath({buffer.data(), static_cast<std::size_t>(n)}));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace pimblo::x11
