// TWinSkinForm: one skinned top-level window. It replaces the window's own
// window procedure, takes over the non-client messages and paints the skin's
// borders, title bar and title-bar buttons, and shows the skin's replacement
// system menu (win32/skin_system_menu.h). The geometry comes from
// look/skin_layout.h and the title bar's input from look/title_bar_input.h;
// this file translates the window system's messages for them and paints.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "look/skin_layout.h"
#include "look/title_bar_input.h"
#include "win32/scoped_win.h"
#include "win32/skin_system_menu.h"

namespace pimblo {

class TSkinManage;

// The skin's private window messages.
constexpr UINT kSkinRepaintFrame = 0x3502;
constexpr UINT kSkinFinishAttach = 0x3503;
constexpr UINT kSkinQuery = 0x3504;        // a skinned window answers 1
constexpr UINT kSkinButtonAction = 0x3514; // wParam: the action code of a title-bar button

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
  // The skin's data were read again: its buttons, sizes and shape are taken at once, so that
  // nothing paints or hit-tests with the old button list, and no old shape shows the new frame.
  void TakeSkinData();

  HWND Handle() const { return window_; }
  TSkinData& Skin() const { return skin_; }
  Stage CurrentStage() const { return stage_; }
  const ChromeState& State() const { return state_; }
  const BorderSizes& Borders() const { return borders_; }
  const TitleLayout& Layout() const { return layout_; }
  const TitleBarInput& Input() const { return input_; }

  void PaintFrame();

 private:
  // A message as the window procedure got it.
  struct Message {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
  };
  using Handler = LRESULT (TWinSkinForm::*)(const Message&);
  struct Route {
    UINT id;
    bool frameOnly;  // handled only while the skin draws the frame (else the window's own procedure has it)
    Handler handler;
  };
  static const Route kRoutes[];

  static LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Proc(const Message& m);
  // The window's own procedure; PassThen does something more once it has answered.
  LRESULT Pass(const Message& m);
  template <class After>
  LRESULT PassThen(const Message& m, After&& after);
  bool DrawsFrame() const;

  // One handler a message.
  LRESULT OnSkinQuery(const Message& m);
  LRESULT OnEraseBackground(const Message& m);
  LRESULT OnDestroy(const Message& m);
  LRESULT OnNcDestroy(const Message& m);
  LRESULT OnFinishAttach(const Message& m);
  LRESULT OnRepaintFrame(const Message& m);
  LRESULT OnDpiChanged(const Message& m);
  LRESULT OnSettingChange(const Message& m);
  LRESULT OnNcCalcSize(const Message& m);
  LRESULT OnNcPaint(const Message& m);
  LRESULT OnNcActivate(const Message& m);
  LRESULT OnThemedFramePaint(const Message& m);
  LRESULT OnSetText(const Message& m);
  LRESULT OnSetIcon(const Message& m);
  LRESULT OnNcHitTest(const Message& m);
  LRESULT OnNcMouseMove(const Message& m);
  LRESULT OnNcLeftDown(const Message& m);
  LRESULT OnMouseMove(const Message& m);
  LRESULT OnLeftUp(const Message& m);
  LRESULT OnCaptureChanged(const Message& m);
  LRESULT OnNcRightDown(const Message& m);
  LRESULT OnNcRightUp(const Message& m);
  LRESULT OnSysCommand(const Message& m);
  LRESULT OnSize(const Message& m);
  LRESULT OnGetMinMaxInfo(const Message& m);
  LRESULT OnTimer(const Message& m);
  LRESULT OnMeasureItem(const Message& m);
  LRESULT OnDrawItem(const Message& m);

  // The title bar's input: an event at a point of the window, and what the input decided.
  TitleBarEvent EventAt(TitleBarEvent::Kind kind, POINT windowPoint) const;
  // Acts on a decision; a system menu it opens goes up at `menuAt` (screen).
  void Act(const TitleBarDecision& decision, POINT menuAt = {});
  void RunCommand(std::int32_t action);
  void ShowSystemMenu(POINT screen);

  void ReadWindow();
  void LoadFonts();
  void TakeSystemFonts();
  void ComputeBorders();
  void TakeCaption();
  void GiveCaptionBack();
  void UpdateRegion(bool force);
  // The window text as the title shows it.
  std::wstring ShownTitle() const;
  void Relayout(HDC dc, const std::wstring& shown);
  void DrawFrame(HDC dc);
  // The whole title bar as it shows: borders, text background, text, buttons and icon.
  Bitmap RenderTitleBar(const std::wstring& shown);
  // Draws one title-bar button on the window.
  void PaintButton(std::int32_t index);
  POINT WindowPoint(POINT screen) const;
  POINT WindowPointOfClient(LPARAM clientPoint) const;

  HWND window_;
  TSkinData& skin_;
  TSkinManage& manager_;
  WNDPROC original_ = nullptr;
  Stage stage_ = kNew;
  ChromeState state_;
  BorderSizes borders_;
  TitleLayout layout_;
  HWND ownerWindow_ = nullptr;
  LONG takenBits_ = 0;  // the style bits taken from the window, given back when the frame goes back
  HICON smallIcon_ = nullptr;    // not owned: the window's or its class's
  win::ScopedFont captionFont_;
  win::ScopedFont menuFont_;
  Bitmap titleBack_;  // the painted title bar without its buttons
  TitleBarInput input_;
  TSkinSystemMenu systemMenu_;
  SIZE regionSize_{-1, -1};
};

}  // namespace pimblo
