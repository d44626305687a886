// The running program's full path, as start with the session writes it into
// the autostart entry.
#pragma once

#include <string>
#include <string_view>

namespace pimblo::x11 {

// From /proc/self/exe; empty when the system does not say.
std::wstring ExecutablePath();

// The path a /proc/self/exe link names: as it is, but without the " (deleted)"
// the kernel adds once the file has been replaced (an upgrade while the program
// runs), since the new file under the same name is the one to start next time.
std::string LivePath(std::string_view link);

}  // namespace pimblo::x11
