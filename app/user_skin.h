// A skin the user brings: a file "Pimblo.skn" beside the program or in the
// user's application data, loaded instead of the skin the program carries. When
// it does not load, the carried skin stays and the user is told why, once.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "look/win_skin_data.h"

namespace pimblo {

constexpr wchar_t kUserSkinName[] = L"Pimblo.skn";
// The largest skin file read; a larger one is refused as unreadable.
constexpr std::size_t kUserSkinLimit = 16u << 20;

// The places a user's skin may lie, in the order they are tried: beside the
// program (the folder of `exePath`), then "%APPDATA%\Pimblo\" when known.
std::vector<std::wstring> UserSkinPlaces(const std::wstring& exePath, const std::optional<std::wstring>& appData);

enum class UserSkinFault {
  None,        // the user's skin is loaded
  Unreadable,  // the file could not be read (or is larger than kUserSkinLimit)
  NotASkin,    // not a skin package of this version, or its description is missing
  NoFrame,     // a package, but without the window border pictures
};

// Loads a user's skin file (its bytes; none when it could not be read) into
// `skin`. When it does not load, the carried skin (its stored SkinStream value)
// is loaded again, and the fault says why.
UserSkinFault TakeUserSkin(TSkinData& skin, const std::optional<std::vector<std::uint8_t>>& file,
                           std::span<const std::uint8_t> carriedStream);

// What the user is told when the skin at `path` did not load.
std::wstring UserSkinMessage(const std::wstring& path, UserSkinFault fault);

}  // namespace pimblo
