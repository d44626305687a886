#include "x11/config_home.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace pimblo::x11 {

namespace {
bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

std::optional<std::string> HomeOfUser() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return std::nullopt;
  if (!IsAbsolute(found->pw_dir)) return std::nullopt;
  return std::string(found->pw_dir);
}
}  // namespace

std::optional<std::string> ConfigHomeFrom(const char* xdgConfigHome, const char* home) {
  if (IsAbsolute(xdgConfigHome)) return std::string(xdgConfigHome);
  if (!IsAbsolute(home)) return std::nullopt;
  std::string path = home;
  if (path.back() != '/') path += '/';
  return path + ".config";
}

std::optional<std::string> ConfigHome() {
  const char* home = std::getenv("HOME");
  if (home && home[0]) return ConfigHomeFrom(std::getenv("XDG_CONFIG_HOME"), home);
  const std::optional<std::string> userHome = HomeOfUser();
  return ConfigHomeFrom(std::getenv("XDG_CONFIG_HOME"), userHome ? userHome->c_str() : nullptr);
}

std::string AutostartEntryPath(const std::string& configHome) { return configHome + "/autostart/pimblo.desktop"; }

std::string ProgramFolderPath(const std::string& configHome) { return configHome + "/pimblo/"; }

std::string FirstStartMarkerPath(const std::string& configHome) { return ProgramFolderPath(configHome) + "first-start"; }

}  // namespace pimblo::x11
