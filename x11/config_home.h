// The user's configuration folder as the XDG base directories have it, and the
// program's files under it: its start-with-the-session entry, the first
// start's marker and a skin the user brings.
#pragma once

#include <optional>
#include <string>

namespace pimblo::x11 {

// XDG_CONFIG_HOME when it is an absolute path; otherwise (unset, empty or
// relative, which the base directories say to ignore) HOME's ".config"; none
// when HOME is not an absolute path either. Either may be null.
std::optional<std::string> ConfigHomeFrom(const char* xdgConfigHome, const char* home);

// The same from this process's environment, with the user database's home
// folder when HOME is not set.
std::optional<std::string> ConfigHome();

// CONFIG/autostart/pimblo.desktop: the session starts what this folder holds.
std::string AutostartEntryPath(const std::string& configHome);

// CONFIG/pimblo/: the program's own files (the first start's marker, a user's skin).
std::string ProgramFolderPath(const std::string& configHome);

// CONFIG/pimblo/first-start: there once the program has started for this user.
std::string FirstStartMarkerPath(const std::string& configHome);

}  // namespace pimblo::x11
