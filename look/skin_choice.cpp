#include "look/skin_choice.h"

#include <cassert>

#include "look/skin_layout.h"

namespace pimblo {

TSkinData* ChooseSkin(const std::vector<RegisteredSkin>& skins, std::uintptr_t window, std::string_view className) {
  auto lastOf = [&](auto&& match) -> TSkinData* {
    TSkinData* found = nullptr;
    for (const RegisteredSkin& r : skins)
      if (r.skin && match(r)) found = r.skin;
    return found;
  };
  if (TSkinData* s = lastOf([&](const RegisteredSkin& r) {
        return r.skin->SkinFormtype == TSkinFormType::sfOnlyThisForm && r.ownerWindow == window && window != 0;
      }))
    return s;
  if (className == "TMessageForm" || className == "#32770")
    if (TSkinData* s = lastOf([](const RegisteredSkin& r) { return r.skin->SkinFormtype == TSkinFormType::sfDialog; }))
      return s;
  if (TSkinData* s = lastOf([](const RegisteredSkin& r) { return r.skin->SkinFormtype == TSkinFormType::sfMainform; }))
    return s;
  return skins.empty() ? nullptr : skins.front().skin;
}

bool MaySkin(const SkinCandidate& w, TSkinData* defaultSkin, TSkinData* skin, bool forced) {
  if (w.answersSkinned || w.alreadySkinned) return false;
  if (w.mdiChild && !forced) return false;
  if (w.emptyRect) return false;
  if (w.formTag == kUnskinnedFormTag) return false;
  if (IsNeverSkinnedClass(w.className)) return false;
  if (defaultSkin) {
    bool doSkin = true;
    if (defaultSkin->OnFormSkin) {
      defaultSkin->OnFormSkin(*defaultSkin, w.className, doSkin);
    } else {
      if (w.className == "SysMonthCal32") doSkin = false;
      if (defaultSkin->SkinControls[xcFastReport] && w.className.rfind("Tfr", 0) == 0) doSkin = false;
    }
    if (!doSkin) return false;
  }
  return skin && !skin->Empty();
}

bool MaySkinPopupMenu(const TSkinData& skin, TSkinControl kind, std::int32_t menuTag) {
  assert((kind == xcPopupMenu || kind == xcSystemMenu) && "a popup menu is a popup menu or a system menu");
  return skin.SkinControls.test(kind) && menuTag % 100 != skin.DisableTag;
}

}  // namespace pimblo
