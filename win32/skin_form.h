// TWinSkinForm: one skinned top-level window. It replaces the window's own
// window procedure, takes over the non-client messages and paints the skin's
// borders, title bar and title-bar buttons, and shows a replacement system
// menu. TWinSysButton is one title-bar button of it. The geometry comes from
// look/skin_layout.h; this file is the window system's side of it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/scoped_win.h"
#include "look/skin_layout.h"

namespace pimblo {

class TSkinManage;
class TWinSkinForm;

// The skin's private window messages.
constexpr UINT kSkinRepaintFrame = 0x3502;
constexpr UINT kSkinFinishAttach = 0x3503;
constexpr UINT kSkinQuery = 0x3504;        // a skinned window answers 1
constexpr UINT kSkinButtonAction = 0x3514; // wParam: the action code of a title-bar button

// Something in a window's non-client area that reacts to the mouse.
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm& form) : form_(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;
  virtual void Press();
  virtual void Release();
  virtual void Enter();
  virtual void Leave();
  virtual void Repaint() = 0;
  std::int32_t State = kButtonNormal;
 protected:
  TWinSkinForm& form_;
};

class TWinSysButton final : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm& form, std::size_t index) : TNCObject(form), Index(index) {}
  void Repaint() override;
  std::size_t Index;  // in the skin's button list
};

class TWinSkinForm {
 public:
  // Attach stages.
  enum Stage : int { kNew = 0, kAttached = 1, kRefreshing = 3, kDetaching = 4, kSizing = 5, kReleased = 6 };

  TWinSkinForm(HWND window, TSkinData& skin, TSkinManage& manager);
  ~TWinSkinForm();
  TWinSkinForm(const TWinSkinForm&) = delete;
  TWinSkinForm& operator=(const TWinSkinForm&) = delete;

  // Takes the frame over; finished by kSkinFinishAttach.
  void Attach();
  // Gives the window its own frame and procedure back. `destroying`: the window is going away.
  void Detach(bool destroying);
  // Re-reads the skin's sizes and repaints (the skin was reloaded).
  void Refresh();

  HWND Handle() const { return window_; }
  TSkinData& Skin() const { return skin_; }
  Stage CurrentStage() const { return stage_; }
  const ChromeState& State() const { return state_; }
  const BorderSizes& Borders() const { return borders_; }
  const TitleLayout& Layout() const { return layout_; }
  // The title-bar button under the mouse, or null.
  TNCObject* Hot() const { return hot_; }
  void SetHot(TNCObject* object) { hot_ = object; }
  const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const { return buttons_; }

  void PaintFrame();
  // Draws one title-bar button on the window.
  void PaintButton(const TWinSysButton& button);

 private:
  static LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam);
  void ReadWindow();
  void LoadFonts();
  void ComputeBorders();
  void TakeCaption();
  void GiveCaptionBack();
  void UpdateRegion(bool force);
  void Relayout(HDC dc);
  Bitmap ComposeTitle(HDC dc);
  POINT WindowPoint(LPARAM screenPoint) const;
  void MouseMove(POINT p);
  bool MouseDown(POINT p);
  void MouseUp(POINT p);
  void PerformAction(std::int32_t action, POINT screen);
  void ShowSystemMenu(POINT screen);
  void ExecuteSystemCommand(std::int32_t tag);
  void CheckHover();
  void DrawMenuItem(const DRAWITEMSTRUCT& item);
  static LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam);

  HWND window_;
  TSkinData& skin_;
  TSkinManage& manager_;
  WNDPROC original_ = nullptr;
  Stage stage_ = kNew;
  ChromeState state_;
  BorderSizes borders_;
  TitleLayout layout_;
  std::wstring className_;
  HWND ownerWindow_ = nullptr;
  bool hadCaption_ = false;      // the caption bits were taken
  LONG takenBits_ = 0;
  bool sizeable_ = false;
  HICON smallIcon_ = nullptr;    // not owned: the window's or its class's
  win::ScopedFont captionFont_;
  win::ScopedFont menuFont_;
  Bitmap titleBack_;  // the painted title bar without its buttons
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  TNCObject* hot_ = nullptr;
  TWinSysButton* pressed_ = nullptr;
  win::ScopedMenu systemMenu_;
  SIZE regionSize_{-1, -1};
  UINT_PTR hoverTimer_ = 0;
  DWORD lastIconClick_ = 0;
  bool iconClicked_ = false;
  bool inMenu_ = false;
  bool closeAfterMenu_ = false;
  static TWinSkinForm* menuForm_;  // the form whose system menu is up
};

}  // namespace pimblo
