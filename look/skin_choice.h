// Which skin component skins a window, and whether a window is skinned at all:
// the skin manager's rules, without the window system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "look/win_skin_data.h"

namespace pimblo {

// A registered skin component and the window of the form that owns it (0 when none).
struct RegisteredSkin {
  TSkinData* skin = nullptr;
  std::uintptr_t ownerWindow = 0;
};

// The component for a window: one of scope sfOnlyThisForm owned by this window; else, for the
// dialog classes, one of scope sfDialog; else one of scope sfMainform; else the first. Where
// several match, the last. Null when none is registered.
TSkinData* ChooseSkin(const std::vector<RegisteredSkin>& skins, std::uintptr_t window, std::string_view className);

// The Tag of a form whose windows are never skinned.
constexpr std::int32_t kUnskinnedFormTag = 99;

// What the manager knows of a window it might skin.
struct SkinCandidate {
  std::string className;
  bool answersSkinned = false;  // answers 1 to the "are you skinned" query
  bool alreadySkinned = false;
  bool mdiChild = false;
  bool emptyRect = false;
  std::int32_t formTag = 0;  // the Tag of the window's form (0 without a form); see kUnskinnedFormTag
};

// Whether the manager may skin the window with `skin` (the chosen one; `defaultSkin` is asked
// through OnFormSkin). `forced` skins MDI children too.
bool MaySkin(const SkinCandidate& window, TSkinData* defaultSkin, TSkinData* skin, bool forced);

// Whether the skin draws a popup menu of the given Tag: the skin reaches that kind of menu (`kind`:
// xcPopupMenu for the program's popup menus, xcSystemMenu for a window's system menu) and the Tag
// modulo 100 is not the skin's DisableTag. The one popup menu the skin draws today is its own
// replacement for a window's system menu (win32/skin_system_menu.h); the program's popup menus are
// drawn by their own handlers, and the main form's SkinControls leave xcPopupMenu out.
bool MaySkinPopupMenu(const TSkinData& skin, TSkinControl kind, std::int32_t menuTag);

}  // namespace pimblo
