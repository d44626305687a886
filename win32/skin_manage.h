// TSkinManage: the process-wide skin manager. It keeps the skin components and
// the skinned windows, watches the user-interface thread's windows being
// created, activated and destroyed through a hook, and runs the components'
// scheduled actions from a 250 ms timer.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "win32/scoped_win.h"
#include "look/skin_choice.h"
#include "win32/skin_form.h"

namespace pimblo {

// Shows a message of the skin component to the user: the system's message box with the
// application's title and an OK button.
void ShowSkinMessage(std::string_view text);

class TSkinManage {
 public:
  // The manager, made by the first component that registers; null before.
  static TSkinManage* Instance();
  // The link a component is made with: it creates the manager when it is first used.
  static SkinManagerLink& Link();

  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  void AddSkin(TSkinData& skin, HWND ownerForm);
  void RemoveSkin(TSkinData& skin);
  // The skin was read again: the windows skinned with it take its new buttons and sizes now.
  void SkinDataChanged(TSkinData& skin);
  void InstallHook();
  void Schedule(TSkinAction action, TSkinData& skin);
  void SwitchOn() { on_ = true; }
  std::size_t SkinCount() const { return skins_.size(); }
  bool On() const { return on_; }
  int ActivatedCount() const { return activated_; }

  // Attaches a TWinSkinForm to a window when the rules allow. A released form's record is freed
  // the next time the list is looked at.
  void SkinWindow(HWND window, bool forced = false);
  TWinSkinForm* Find(HWND window) const;
  std::size_t SkinnedCount() const;

  // Shared drawing resources of a component: its button-face brush and its menu glyphs
  // (white transparent). Owned here. The brush follows the skin's face colour: a skin loaded
  // again with another colour gets a new one.
  HBRUSH FaceBrush(const TSkinData& skin);
  HIMAGELIST MenuGlyphs(const TSkinData& skin);
  // The system colour references of a skin, resolved.
  static COLORREF Resolve(ColorRef color);

  // Runs the pending action now (the timer does it after 250 ms).
  void RunPendingAction();

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void SkinAll(TSkinData* only);
  void UnskinAll();
  void RefreshWindows(TSkinData& skin);
  void DropReleased();
  TSkinData* DefaultSkin() const;

  struct Resources {
    const TSkinData* skin;
    COLORREF brushColour;  // the colour the brush was made in
    win::ScopedBrush brush;
    win::ScopedImageList glyphs;
  };

  std::vector<RegisteredSkin> skins_;
  std::vector<std::unique_ptr<TWinSkinForm>> windows_;
  std::vector<Resources> resources_;
  win::ScopedHook hook_;
  bool on_ = false;
  int activated_ = 0;
  bool forcing_ = false;
  TSkinAction pending_ = kSkinAll;
  bool hasPending_ = false;
  TSkinData* current_ = nullptr;
  UINT_PTR timer_ = 0;
};

}  // namespace pimblo
