#include "win32/skin_manage.h"

#include <algorithm>

#include "win32/application.h"
#include "win32/dib.h"
#include "win32/form.h"
#include "win32/text.h"

namespace pimblo {
namespace {

std::unique_ptr<TSkinManage> g_manager;

// Collects the program's forms among a thread's windows.
BOOL CALLBACK CollectForm(HWND window, LPARAM list) {
  if (ui::FormOf(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The link components are made with: it makes the manager on first use and frees it when the
// last component leaves.
class ProcessManagerLink final : public SkinManagerLink {
 public:
  void AddSkin(TSkinData& skin) override { Manager().AddSkin(skin, nullptr); }
  void RemoveSkin(TSkinData& skin) override {
    if (!g_manager) return;
    g_manager->RemoveSkin(skin);
    if (g_manager->SkinCount() == 0) g_manager.reset();
  }
  void InstallHook() override { Manager().InstallHook(); }
  void Schedule(TSkinAction action, TSkinData& skin) override { Manager().Schedule(action, skin); }
  void SwitchOn() override { Manager().SwitchOn(); }
  void SkinOwnerForm(TSkinData&) override {}
  void SkinDataChanged(TSkinData& skin) override {
    if (g_manager) g_manager->SkinDataChanged(skin);
  }

 private:
  static TSkinManage& Manager() {
    if (!g_manager) g_manager = std::make_unique<TSkinManage>();
    return *g_manager;
  }
};

}  // namespace

void ShowSkinMessage(std::string_view text) {
  const std::wstring caption = ui::Application ? ui::Application->Title : std::wstring();
  MessageBoxW(nullptr, ui::Widen(text).c_str(), caption.c_str(), MB_OK | MB_TASKMODAL);
}

TSkinManage* TSkinManage::Instance() { return g_manager.get(); }

SkinManagerLink& TSkinManage::Link() {
  static ProcessManagerLink link;
  return link;
}

TSkinManage::TSkinManage() = default;

TSkinManage::~TSkinManage() {
  hook_ = win::ScopedHook();  // first: no window is skinned while the others are let go
  if (timer_) KillTimer(nullptr, timer_);
  UnskinAll();
  windows_.clear();
}

void TSkinManage::AddSkin(TSkinData& skin, HWND ownerForm) {
  skins_.push_back({&skin, reinterpret_cast<std::uintptr_t>(ownerForm)});
}

void TSkinManage::RemoveSkin(TSkinData& skin) {
  for (auto& w : windows_)
    if (&w->Skin() == &skin && w->CurrentStage() != TWinSkinForm::kReleased) w->Detach(false);
  DropReleased();
  std::erase_if(skins_, [&](const RegisteredSkin& r) { return r.skin == &skin; });
  std::erase_if(resources_, [&](const Resources& r) { return r.skin == &skin; });
  if (current_ == &skin) current_ = nullptr, hasPending_ = false;
}

void TSkinManage::SkinDataChanged(TSkinData& skin) {
  for (auto& w : windows_)
    if (&w->Skin() == &skin && w->CurrentStage() != TWinSkinForm::kReleased) w->TakeSkinData();
}

void TSkinManage::InstallHook() {
  if (!hook_) hook_ = win::ScopedHook(SetWindowsHookExW(WH_CBT, &TSkinManage::HookProc, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* self = g_manager.get();
  const HHOOK hook = self ? self->hook_.Get() : nullptr;
  if (self && code >= 0) {
    try {
      if (code == HCBT_ACTIVATE) {
        ++self->activated_;
        if (self->on_) self->SkinWindow(reinterpret_cast<HWND>(wParam));
      }
      // Created windows: the program's popup menus are drawn by their own handlers, not the skin
      // (were they, MaySkinPopupMenu with xcPopupMenu would decide here); destroyed windows release
      // themselves on their last message.
    } catch (...) {
      // Skinning never stops a window from being activated.
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::Schedule(TSkinAction action, TSkinData& skin) {
  pending_ = action;
  hasPending_ = true;
  current_ = &skin;
  if (!timer_) timer_ = SetTimer(nullptr, 0, 250, &TSkinManage::TimerProc);
}

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  // Called by the message loop: what goes wrong goes to the standard error box, not through it.
  try {
    if (TSkinManage* self = g_manager.get()) self->RunPendingAction();
  } catch (...) {
    ui::ShowCurrentException();
  }
}

void TSkinManage::RunPendingAction() {
  if (timer_) KillTimer(nullptr, timer_), timer_ = 0;
  if (!hasPending_) return;
  hasPending_ = false;
  TSkinData* skin = current_;
  switch (pending_) {
    case kSkinAll:
      on_ = true;
      if (activated_ > 0) SkinAll(skin && skin->SkinFormtype == TSkinFormType::sfOnlyThisForm ? skin : nullptr);
      break;
    case kUnskinAll:
      on_ = false;
      if (activated_ > 0) UnskinAll();
      break;
    case kRefreshSkin:
      if (skin) RefreshWindows(*skin);
      break;
    case kDropReleased: DropReleased(); break;
  }
  if (skin && skin->OnSkinChanged) skin->OnSkinChanged(*skin);
}

TSkinData* TSkinManage::DefaultSkin() const {
  for (const RegisteredSkin& r : skins_)
    if (r.skin->SkinFormtype == TSkinFormType::sfMainform) return r.skin;
  return nullptr;
}

TWinSkinForm* TSkinManage::Find(HWND window) const {
  for (const auto& w : windows_)
    if (w->Handle() == window && w->CurrentStage() != TWinSkinForm::kReleased) return w.get();
  return nullptr;
}

std::size_t TSkinManage::SkinnedCount() const {
  return static_cast<std::size_t>(std::count_if(windows_.begin(), windows_.end(), [](const auto& w) {
    return w->CurrentStage() != TWinSkinForm::kReleased;
  }));
}

void TSkinManage::SkinWindow(HWND window, bool forced) {
  DropReleased();
  if (!IsWindow(window)) return;
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  SkinCandidate candidate;
  candidate.className = ui::Narrow(name);
  candidate.alreadySkinned = Find(window) != nullptr;
  candidate.answersSkinned = !candidate.alreadySkinned && SendMessageW(window, kSkinQuery, 0, 0) == 1;
  candidate.mdiChild = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  RECT r{};
  candidate.emptyRect = !GetWindowRect(window, &r) || IsRectEmpty(&r);
  if (const ui::TForm* form = ui::FormOf(window)) candidate.formTag = form->Tag;
  TSkinData* skin = ChooseSkin(skins_, reinterpret_cast<std::uintptr_t>(window), candidate.className);
  if (!MaySkin(candidate, DefaultSkin(), skin, forced || forcing_)) return;
  windows_.push_back(std::make_unique<TWinSkinForm>(window, *skin, *this));
  windows_.back()->Attach();
}

void TSkinManage::DropReleased() {
  std::erase_if(windows_, [](const auto& w) { return w->CurrentStage() == TWinSkinForm::kReleased; });
}

void TSkinManage::SkinAll(TSkinData* only) {
  std::vector<HWND> forms;
  EnumThreadWindows(GetCurrentThreadId(), &CollectForm, reinterpret_cast<LPARAM>(&forms));
  forcing_ = true;
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    if (!IsWindowVisible(*it) || (GetWindowLongPtrW(*it, GWL_STYLE) & WS_CHILD)) continue;
    if (only) {
      bool owned = false;
      for (const RegisteredSkin& r : skins_) owned |= r.skin == only && r.ownerWindow == reinterpret_cast<std::uintptr_t>(*it);
      if (!owned) continue;
    }
    SkinWindow(*it, true);
  }
  forcing_ = false;
}

void TSkinManage::UnskinAll() {
  for (auto& w : windows_)
    if (w->CurrentStage() != TWinSkinForm::kReleased) w->Detach(false);
  DropReleased();
}

void TSkinManage::RefreshWindows(TSkinData& skin) {
  for (auto& w : windows_)
    if (&w->Skin() == &skin) w->Refresh();
}

HBRUSH TSkinManage::FaceBrush(const TSkinData& skin) {
  const COLORREF colour = Resolve(skin.ButtonFaceColor());
  for (Resources& r : resources_)
    if (r.skin == &skin) {
      if (!r.brush || r.brushColour != colour) {
        r.brush.Reset(CreateSolidBrush(colour));
        r.brushColour = colour;
      }
      return r.brush.Get();
    }
  resources_.push_back({&skin, colour, win::ScopedBrush(CreateSolidBrush(colour)), {}});
  return resources_.back().brush.Get();
}

HIMAGELIST TSkinManage::MenuGlyphs(const TSkinData& skin) {
  FaceBrush(skin);
  for (Resources& r : resources_) {
    if (r.skin != &skin) continue;
    if (!r.glyphs) {
      r.glyphs.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
      win::ScopedBitmap strip(static_cast<HBITMAP>(
          LoadImageW(GetModuleHandleW(nullptr), L"TAMBRIXMENU", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      if (!strip && skin.MenuGlyphs.width > 0) {
        ui::TDib dib(skin.MenuGlyphs);
        ImageList_AddMasked(r.glyphs.Get(), dib.Handle(), RGB(255, 255, 255));
      } else if (strip) {
        ImageList_AddMasked(r.glyphs.Get(), strip.Get(), RGB(255, 255, 255));
      }
    }
    return r.glyphs.Get();
  }
  return nullptr;
}

COLORREF TSkinManage::Resolve(ColorRef color) {
  if (color == clNone) return GetSysColor(COLOR_WINDOWTEXT);
  if (color & kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

}  // namespace pimblo
