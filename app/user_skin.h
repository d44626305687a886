// A skin the user brings: a file "Pimblo.skn" beside the program or in the
// user's application data, loaded instead of the skin the program carries. When
// it does not load, the carried skin stays and the user is told why, once. The
// file is looked at again whenever the help window is shown, so a new or
// changed skin needs no restart.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/file_system.h"
#include "look/win_skin_data.h"

namespace pimblo {

constexpr wchar_t kUserSkinName[] = L"Pimblo.skn";
// The largest skin file read; a larger one is refused as unreadable.
constexpr std::size_t kUserSkinLimit = 16u << 20;

// The places a user's skin may lie, in the order they are tried: beside the
// program (the folder of `exePath`), then "%APPDATA%\Pimblo\" when known.
std::vector<std::wstring> UserSkinPlaces(const std::wstring& exePath, const std::optional<std::wstring>& appData);

enum class UserSkinFault {
  Nothing,     // nothing wrong: the user's skin is loaded (not None, which X11 takes)
  Unreadable,  // the file could not be read (or is larger than kUserSkinLimit)
  NotASkin,    // not a skin package of this version, or its description is missing
  NoFrame,     // a package, but without the window border pictures
};

// Loads a user's skin file (its bytes; none when it could not be read) into
// `skin`. When it does not load, the carried skin (its stored SkinStream value)
// is loaded again, and the fault says why.
UserSkinFault TakeUserSkin(TSkinData& skin, const std::optional<std::vector<std::uint8_t>>& file,
                           std::span<const std::uint8_t> carriedStream);

// A change of skin: the file taken (none: no file, the carried skin) and how it loaded.
struct UserSkinChange {
  std::optional<std::wstring> place;
  UserSkinFault fault = UserSkinFault::Nothing;
  friend bool operator==(const UserSkinChange&, const UserSkinChange&) = default;
};

// Keeps a skin component in the user's skin as its file comes, changes and goes.
class UserSkinFollower {
 public:
  // The first call loads the user's skin found first in `places`, or the carried
  // one (its stored SkinStream value) when there is none; a later call loads
  // again only when another file is found there, the file's bytes changed, or it
  // is gone. None when nothing was loaded.
  std::optional<UserSkinChange> Follow(TSkinData& skin, FileSystem& files, const std::vector<std::wstring>& places,
                                       std::span<const std::uint8_t> carriedStream);

 private:
  struct Sighting {  // where the file was found, and a digest of what was read there
    std::optional<std::wstring> place;
    std::optional<std::uint64_t> digest;
    friend bool operator==(const Sighting&, const Sighting&) = default;
  };
  std::optional<Sighting> last_;
};

// What the user is told when the skin at `path` did not load.
std::wstring UserSkinMessage(const std::wstring& path, UserSkinFault fault);

}  // namespace pimblo
