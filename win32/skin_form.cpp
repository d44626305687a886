#include "win32/skin_form.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "look/skin_choice.h"
#include "win32/dib.h"
#include "win32/dpi.h"
#include "win32/skin_manage.h"
#include "win32/text.h"

namespace pimblo {
namespace {

constexpr wchar_t kFormProperty[] = L"PimbloSkinForm";
constexpr UINT_PTR kHoverTimer = 0x3501;
constexpr UINT kHoverInterval = 250;
constexpr int kTitleTextMargin = 3;  // at least this much of the title bar above and below its text
constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;  // the themed caption painters of newer systems
constexpr UINT WM_NCUAHDRAWFRAME = 0x00AF;

// Puts a plain bitmap on a device context at (x, y).
void Blit(HDC dc, const Bitmap& b, int x, int y) {
  if (b.width <= 0 || b.height <= 0) return;
  const BITMAPINFO info = ui::Dib32Info(b.width, b.height);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(b.width), static_cast<DWORD>(b.height), 0, 0, 0,
                    static_cast<UINT>(b.height), b.pixels.data(), &info, DIB_RGB_COLORS);
}

Bitmap Crop(const Bitmap& b, const Rect& r) {
  Bitmap out(std::max(0, r.Width()), std::max(0, r.Height()));
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const int sx = r.left + x, sy = r.top + y;
      if (sx >= 0 && sx < b.width && sy >= 0 && sy < b.height) out.At(x, y) = b.At(sx, sy);
    }
  return out;
}

// Draws on the whole window, frame included. A drawing that fails (no memory for its pictures)
// leaves the frame as it was until the next paint: painting never fails the message it serves.
template <class Draw>
void DrawOnWindow(HWND window, Draw&& draw) {
  const win::WindowDc dc(window, win::WindowDc::kWholeWindow);
  if (!dc.Get()) return;
  try {
    draw(dc.Get());
  } catch (...) {
  }
}

// Has the window system ask for the frame again (WM_NCCALCSIZE) and draw it; with a size, the
// window takes that size too.
void FrameChanged(HWND window, std::optional<SIZE> size = std::nullopt) {
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  if (!size) flags |= SWP_NOSIZE;
  SetWindowPos(window, nullptr, 0, 0, size ? size->cx : 0, size ? size->cy : 0, flags);
}

// The point of a mouse message on the frame, in screen coordinates.
POINT ScreenPointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// The active child of a window's MDI client, if it has one.
HWND ActiveMdiChild(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, L"MDICLIENT") == 0) return reinterpret_cast<HWND>(SendMessageW(child, WM_MDIGETACTIVE, 0, 0));
  }
  return nullptr;
}

}  // namespace

TWinSkinForm::TWinSkinForm(HWND window, TSkinData& skin, TSkinManage& manager)
    : window_(window), skin_(skin), manager_(manager) {}

TWinSkinForm::~TWinSkinForm() {
  if (stage_ != kReleased && IsWindow(window_)) Detach(false);
}

// ---- taking the frame over and giving it back

void TWinSkinForm::ReadWindow() {
  const auto windowStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(window_, GWL_STYLE)) | static_cast<std::uint32_t>(takenBits_);
  const auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  wchar_t className[256] = {};
  GetClassNameW(window_, className, 256);
  ownerWindow_ = GetWindow(window_, GW_OWNER);
  state_.kind = KindOfWindow(windowStyle, exStyle, ui::Narrow(className));
  state_.hasSysMenu = (windowStyle & WS_SYSMENU) != 0 || GetSystemMenu(window_, FALSE) != nullptr;
  state_.hasMinBox = (windowStyle & WS_MINIMIZEBOX) != 0;
  state_.hasMaxBox = (windowStyle & WS_MAXIMIZEBOX) != 0;
  state_.placement = IsIconic(window_) ? Placement::Minimised : IsZoomed(window_) ? Placement::Maximised
                                                                                  : Placement::Normal;
  state_.active = GetActiveWindow() == window_;
  state_.rightToLeft = (exStyle & style::kExLayoutRtl) != 0;
  state_.popupStyle = (windowStyle & WS_POPUP) != 0;
  state_.hasMenuBar = !(windowStyle & WS_CHILD) && GetMenu(window_) != nullptr;
  state_.menuBarHeight = state_.hasMenuBar ? GetSystemMetrics(SM_CYMENU) : 0;
  RECT r{};
  GetWindowRect(window_, &r);
  state_.width = r.right - r.left;
  state_.height = r.bottom - r.top;

  smallIcon_ = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  if (!smallIcon_) smallIcon_ = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM));
  if (!smallIcon_) smallIcon_ = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
  if (!smallIcon_) smallIcon_ = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON));
}

void TWinSkinForm::ComputeBorders() {
  borders_ = ComputeBorderSizes(skin_, state_.kind);
  input_.SetParts(TitleBarParts(skin_));
}

void TWinSkinForm::Attach() {
  ReadWindow();
  systemMenu_.Build(state_.hasMinBox, state_.hasMaxBox, state_.placement);
  ComputeBorders();
  LoadFonts();
  if (state_.placement != Placement::Minimised) TakeCaption();

  SetPropW(window_, kFormProperty, this);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinSkinForm::StaticProc)));
  PostMessageW(window_, kSkinFinishAttach, 0, 1000);
}

// The system's caption and menu fonts at the window's scale. The skin's
// pictures keep their pixels at every scale, so a caption font taller than the
// title bar leaves room for is made smaller until its text fits.
void TWinSkinForm::LoadFonts() {
  NONCLIENTMETRICSW metrics;
  ui::NonClientMetrics(metrics, ui::WindowDpi(window_));
  menuFont_.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
  LOGFONTW caption = metrics.lfCaptionFont;
  captionFont_.Reset(CreateFontIndirectW(&caption));
  const int room = borders_.title - 2 * kTitleTextMargin;
  if (room <= 0) return;
  const win::WindowDc screen(nullptr);
  if (!screen.Get()) return;
  TEXTMETRICW tm{};
  {
    const win::ScopedSelect font(screen.Get(), captionFont_.Get());
    GetTextMetricsW(screen.Get(), &tm);
  }
  if (tm.tmHeight <= room) return;
  caption.lfHeight = room;  // a positive height asks for the whole cell
  captionFont_.Reset(CreateFontIndirectW(&caption));
}

// Another scale, or other system fonts: the title takes them.
void TWinSkinForm::TakeSystemFonts() {
  LoadFonts();
  PaintFrame();
}

void TWinSkinForm::TakeCaption() {
  const LONG_PTR current = GetWindowLongPtrW(window_, GWL_STYLE);
  const bool owned = ownerWindow_ != nullptr || (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD);
  const LONG bits = owned ? (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) : WS_CAPTION;
  const LONG taken = static_cast<LONG>(current) & bits;
  if (!taken) return;
  takenBits_ |= taken;
  SetWindowLongPtrW(window_, GWL_STYLE, current & ~static_cast<LONG_PTR>(taken));
}

void TWinSkinForm::GiveCaptionBack() {
  if (!takenBits_) return;
  const LONG_PTR current = GetWindowLongPtrW(window_, GWL_STYLE);
  SetWindowLongPtrW(window_, GWL_STYLE, current | takenBits_);
  takenBits_ = 0;
}

void TWinSkinForm::Detach(bool destroying) {
  if (stage_ == kReleased) return;
  stage_ = kDetaching;
  Act(input_.Handle({.kind = TitleBarEvent::kStop}));
  if (GetCapture() == window_) ReleaseCapture();
  systemMenu_.Clear();
  if (original_ && GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TWinSkinForm::StaticProc))
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  RemovePropW(window_, kFormProperty);
  if (!destroying && IsWindow(window_)) {
    RECT client{};
    GetClientRect(window_, &client);
    GiveCaptionBack();
    if (state_.kind != WindowKind::CaptionlessPopup) {
      // The client area keeps its size under the platform's own frame.
      RECT outer = client;
      AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), GetMenu(window_) != nullptr,
                         static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
      SetWindowRgn(window_, nullptr, TRUE);
      FrameChanged(window_, SIZE{outer.right - outer.left, outer.bottom - outer.top});
    }
  }
  stage_ = kReleased;
}

void TWinSkinForm::Refresh() {
  if (stage_ != kAttached) return;
  stage_ = kRefreshing;
  ComputeBorders();
  FrameChanged(window_);
  UpdateRegion(true);
  PaintFrame();
  stage_ = kAttached;
}

void TWinSkinForm::TakeSkinData() {
  layout_ = TitleLayout();
  titleBack_ = Bitmap();
  KillTimer(window_, kHoverTimer);
  if (GetCapture() == window_) ReleaseCapture();
  // A window on show takes the new skin's border sizes and shape at once, not only its buttons.
  if (stage_ == kAttached && DrawsFrame() && !skin_.Empty()) {
    Refresh();
    return;
  }
  ComputeBorders();  // the input takes the new buttons, none of them hot or pressed
  if (const win::WindowDc screen(nullptr); screen.Get()) Relayout(screen.Get(), ShownTitle());
}

// ---- the messages

const TWinSkinForm::Route TWinSkinForm::kRoutes[] = {
    {kSkinQuery, false, &TWinSkinForm::OnSkinQuery},
    {WM_ERASEBKGND, false, &TWinSkinForm::OnEraseBackground},
    {WM_DESTROY, false, &TWinSkinForm::OnDestroy},
    {WM_NCDESTROY, false, &TWinSkinForm::OnNcDestroy},
    {kSkinFinishAttach, false, &TWinSkinForm::OnFinishAttach},
    {kSkinRepaintFrame, true, &TWinSkinForm::OnRepaintFrame},
    {WM_DPICHANGED, true, &TWinSkinForm::OnDpiChanged},
    {WM_SETTINGCHANGE, true, &TWinSkinForm::OnSettingChange},
    {WM_NCCALCSIZE, true, &TWinSkinForm::OnNcCalcSize},
    {WM_NCPAINT, true, &TWinSkinForm::OnNcPaint},
    {WM_NCACTIVATE, true, &TWinSkinForm::OnNcActivate},
    {WM_NCUAHDRAWCAPTION, true, &TWinSkinForm::OnThemedFramePaint},
    {WM_NCUAHDRAWFRAME, true, &TWinSkinForm::OnThemedFramePaint},
    {WM_SETTEXT, true, &TWinSkinForm::OnSetText},
    {WM_SETICON, true, &TWinSkinForm::OnSetIcon},
    {WM_NCHITTEST, true, &TWinSkinForm::OnNcHitTest},
    {WM_NCMOUSEMOVE, true, &TWinSkinForm::OnNcMouseMove},
    {WM_NCLBUTTONDOWN, true, &TWinSkinForm::OnNcLeftDown},
    {WM_NCLBUTTONDBLCLK, true, &TWinSkinForm::OnNcLeftDown},
    {WM_MOUSEMOVE, true, &TWinSkinForm::OnMouseMove},
    {WM_LBUTTONUP, true, &TWinSkinForm::OnLeftUp},
    {WM_CAPTURECHANGED, true, &TWinSkinForm::OnCaptureChanged},
    {WM_NCRBUTTONDOWN, true, &TWinSkinForm::OnNcRightDown},
    {WM_NCRBUTTONUP, true, &TWinSkinForm::OnNcRightUp},
    {WM_SYSCOMMAND, true, &TWinSkinForm::OnSysCommand},
    {WM_SIZE, true, &TWinSkinForm::OnSize},
    {WM_GETMINMAXINFO, true, &TWinSkinForm::OnGetMinMaxInfo},
    {WM_TIMER, true, &TWinSkinForm::OnTimer},
    {WM_MEASUREITEM, true, &TWinSkinForm::OnMeasureItem},
    {WM_DRAWITEM, true, &TWinSkinForm::OnDrawItem},
};

LRESULT CALLBACK TWinSkinForm::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* form = static_cast<TWinSkinForm*>(GetPropW(hwnd, kFormProperty));
  if (!form) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    return form->Proc({msg, wParam, lParam});
  } catch (...) {
    // A frame that cannot be drawn is left as it is; the window goes on.
    return form->original_ ? CallWindowProcW(form->original_, hwnd, msg, wParam, lParam) : 0;
  }
}

LRESULT TWinSkinForm::Proc(const Message& m) {
  for (const Route& route : kRoutes)
    if (route.id == m.id) return route.frameOnly && !DrawsFrame() ? Pass(m) : (this->*route.handler)(m);
  return Pass(m);
}

LRESULT TWinSkinForm::Pass(const Message& m) { return CallWindowProcW(original_, window_, m.id, m.wParam, m.lParam); }

template <class After>
LRESULT TWinSkinForm::PassThen(const Message& m, After&& after) {
  const LRESULT r = Pass(m);
  after();
  return r;
}

// A caption-less popup keeps its own shape, and a skin without main menus draws no frames.
bool TWinSkinForm::DrawsFrame() const {
  return state_.kind != WindowKind::CaptionlessPopup && skin_.SkinControls[xcMainMenu];
}

LRESULT TWinSkinForm::OnSkinQuery(const Message&) { return 1; }

LRESULT TWinSkinForm::OnEraseBackground(const Message& m) {
  RECT client{};
  GetClientRect(window_, &client);
  FillRect(reinterpret_cast<HDC>(m.wParam), &client, manager_.FaceBrush(skin_));
  return 1;
}

LRESULT TWinSkinForm::OnDestroy(const Message& m) {
  stage_ = kDetaching;
  Act(input_.Handle({.kind = TitleBarEvent::kStop}));
  return Pass(m);
}

// The window's last message: the form lets it go, then the window's own procedure has it.
LRESULT TWinSkinForm::OnNcDestroy(const Message& m) {
  const WNDPROC original = original_;
  const HWND window = window_;
  Detach(true);
  return CallWindowProcW(original, window, m.id, m.wParam, m.lParam);
}

LRESULT TWinSkinForm::OnFinishAttach(const Message&) {
  if (!DrawsFrame()) {
    stage_ = kAttached;
    return 0;
  }
  FrameChanged(window_);
  UpdateRegion(true);
  state_.active = GetActiveWindow() == window_;
  Act(input_.Handle({.kind = TitleBarEvent::kReady, .active = state_.active}));
  stage_ = kAttached;
  PaintFrame();
  return 0;
}

LRESULT TWinSkinForm::OnRepaintFrame(const Message&) {
  PaintFrame();
  return 0;
}

LRESULT TWinSkinForm::OnDpiChanged(const Message& m) {
  return PassThen(m, [this] { TakeSystemFonts(); });
}

LRESULT TWinSkinForm::OnSettingChange(const Message& m) {
  return PassThen(m, [&] {
    if (m.wParam == SPI_SETNONCLIENTMETRICS) TakeSystemFonts();
  });
}

LRESULT TWinSkinForm::OnNcCalcSize(const Message& m) {
  if (IsIconic(window_)) return Pass(m);
  if (m.wParam) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.lParam);
    const RECT oldClient = params->rgrc[2];
    const RECT& w = params->rgrc[0];
    const Rect c = ClientFromWindow({w.left, w.top, w.right, w.bottom}, borders_, state_.menuBarHeight);
    params->rgrc[0] = {c.left, c.top, c.right, c.bottom};
    params->rgrc[1] = params->rgrc[0];
    params->rgrc[2] = oldClient;
    return WVR_VALIDRECTS;
  }
  auto* r = reinterpret_cast<RECT*>(m.lParam);
  const Rect c = ClientFromWindow({r->left, r->top, r->right, r->bottom}, borders_, state_.menuBarHeight);
  *r = {c.left, c.top, c.right, c.bottom};
  return 0;
}

LRESULT TWinSkinForm::OnNcPaint(const Message& m) {
  if (IsIconic(window_)) return Pass(m);
  PaintFrame();
  return 0;
}

LRESULT TWinSkinForm::OnNcActivate(const Message& m) {
  state_.active = m.wParam != 0;
  Act(input_.Handle({.kind = TitleBarEvent::kActivate, .active = state_.active}));
  if (IsIconic(window_)) return Pass(m);
  PaintFrame();
  return TRUE;
}

LRESULT TWinSkinForm::OnThemedFramePaint(const Message&) { return 0; }

LRESULT TWinSkinForm::OnSetText(const Message& m) {
  return PassThen(m, [this] { PaintFrame(); });
}

// Another icon: the title bar shows it.
LRESULT TWinSkinForm::OnSetIcon(const Message& m) {
  return PassThen(m, [this] {
    ReadWindow();
    PaintFrame();
  });
}

LRESULT TWinSkinForm::OnNcHitTest(const Message& m) {
  const LRESULT r = Pass(m);
  return RefineHitTest(static_cast<std::int32_t>(r), WindowPoint(ScreenPointOf(m.lParam)).y, borders_.title);
}

LRESULT TWinSkinForm::OnNcMouseMove(const Message& m) {
  Act(input_.Handle(EventAt(TitleBarEvent::kMove, WindowPoint(ScreenPointOf(m.lParam)))));
  return Pass(m);
}

LRESULT TWinSkinForm::OnNcLeftDown(const Message& m) {
  const TitleBarDecision d = input_.Handle(EventAt(TitleBarEvent::kDown, WindowPoint(ScreenPointOf(m.lParam))));
  Act(d);
  return d.consumed ? 0 : Pass(m);
}

LRESULT TWinSkinForm::OnMouseMove(const Message& m) {
  const TitleBarDecision d = input_.Handle(EventAt(TitleBarEvent::kCapturedMove, WindowPointOfClient(m.lParam)));
  Act(d);
  return d.consumed ? 0 : Pass(m);
}

LRESULT TWinSkinForm::OnLeftUp(const Message& m) {
  const POINT p = WindowPointOfClient(m.lParam);
  RECT r{};
  GetWindowRect(window_, &r);
  const TitleBarDecision d = input_.Handle(EventAt(TitleBarEvent::kUp, p));
  Act(d, {r.left + p.x + 1, r.top + p.y + 1});  // a menu opens just below the pointer
  return d.consumed ? 0 : Pass(m);
}

LRESULT TWinSkinForm::OnCaptureChanged(const Message& m) {
  if (reinterpret_cast<HWND>(m.lParam) != window_) Act(input_.Handle({.kind = TitleBarEvent::kCaptureLost}));
  return Pass(m);
}

// The right button on the title opens the system menu when it comes up.
LRESULT TWinSkinForm::OnNcRightDown(const Message& m) { return m.wParam == HTCAPTION ? 0 : Pass(m); }

LRESULT TWinSkinForm::OnNcRightUp(const Message& m) {
  if (m.wParam != HTCAPTION) return Pass(m);
  Act(input_.Handle({.kind = TitleBarEvent::kMenuRequest}), ScreenPointOf(m.lParam));
  return 0;
}

// Alt+Space opens the system menu below the window's icon corner.
LRESULT TWinSkinForm::OnSysCommand(const Message& m) {
  if ((m.wParam & 0xFFF0) != SC_KEYMENU || m.lParam != ' ') return Pass(m);
  RECT r{};
  GetWindowRect(window_, &r);
  Act(input_.Handle({.kind = TitleBarEvent::kMenuRequest}), {r.left + borders_.left, r.top + borders_.title});
  return 0;
}

// A minimised window wears the platform's caption; restored, it gives it up again.
LRESULT TWinSkinForm::OnSize(const Message& m) {
  const Placement before = state_.placement;
  state_.placement = m.wParam == SIZE_MINIMIZED ? Placement::Minimised
                     : m.wParam == SIZE_MAXIMIZED ? Placement::Maximised
                                                  : Placement::Normal;
  if (state_.placement == Placement::Minimised && before != Placement::Minimised) GiveCaptionBack();
  const LRESULT r = Pass(m);
  if (state_.placement != Placement::Minimised) {
    if (before == Placement::Minimised) {
      TakeCaption();
      FrameChanged(window_);
    }
    UpdateRegion(false);
    PaintFrame();
  }
  return r;
}

// A sizeable window is dragged no larger than it maximises.
LRESULT TWinSkinForm::OnGetMinMaxInfo(const Message& m) {
  return PassThen(m, [&] {
    if (state_.kind != WindowKind::Sizeable) return;
    auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
    info->ptMaxTrackSize = info->ptMaxSize;
  });
}

LRESULT TWinSkinForm::OnTimer(const Message& m) {
  if (m.wParam != kHoverTimer) return Pass(m);
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = WindowPoint(cursor);
  const std::int32_t hot = input_.Hot();
  const bool onHot = hot != kNoPart && static_cast<std::size_t>(hot) < layout_.buttons.size() &&
                     layout_.buttons[static_cast<std::size_t>(hot)].Contains(p.x, p.y);
  Act(input_.Handle({.kind = TitleBarEvent::kHoverTick, .part = onHot ? hot : kNoPart}));
  return 0;
}

LRESULT TWinSkinForm::OnMeasureItem(const Message& m) {
  auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(m.lParam);
  if (!TSkinSystemMenu::IsItem(item.CtlType, item.itemData)) return Pass(m);
  TSkinSystemMenu::Measure(item, window_, menuFont_.Get());
  return TRUE;
}

LRESULT TWinSkinForm::OnDrawItem(const Message& m) {
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
  if (!TSkinSystemMenu::IsItem(item.CtlType, item.itemData)) return Pass(m);
  TSkinSystemMenu::Draw(item, skin_, manager_.MenuGlyphs(skin_), menuFont_.Get());
  return TRUE;
}

// ---- the title bar's input

POINT TWinSkinForm::WindowPoint(POINT screen) const {
  RECT r{};
  GetWindowRect(window_, &r);
  return {screen.x - r.left, screen.y - r.top};
}

POINT TWinSkinForm::WindowPointOfClient(LPARAM clientPoint) const {
  POINT screen = ScreenPointOf(clientPoint);
  ClientToScreen(window_, &screen);
  return WindowPoint(screen);
}

TitleBarEvent TWinSkinForm::EventAt(TitleBarEvent::Kind kind, POINT windowPoint) const {
  return {.kind = kind,
          .part = ButtonAt(layout_, windowPoint.x, windowPoint.y),
          .time = static_cast<std::uint32_t>(GetMessageTime()),  // when the click was made
          .doubleClickTime = GetDoubleClickTime(),
          .active = state_.active};
}

void TWinSkinForm::Act(const TitleBarDecision& d, POINT menuAt) {
  if (d.bringForward) SetForegroundWindow(window_);
  if (d.capture == CaptureChange::kTake) SetCapture(window_);
  if (d.capture == CaptureChange::kRelease && GetCapture() == window_) ReleaseCapture();
  if (d.hoverTimer == TimerChange::kStart) SetTimer(window_, kHoverTimer, kHoverInterval, nullptr);
  if (d.hoverTimer == TimerChange::kStop) KillTimer(window_, kHoverTimer);
  for (std::int32_t part : d.repaint) PaintButton(part);
  if (d.command != kNoPart && static_cast<std::size_t>(d.command) < skin_.SysButtons.size())
    RunCommand(skin_.SysButtons[static_cast<std::size_t>(d.command)].Action);
  if (d.openMenu) ShowSystemMenu(menuAt);
  if (d.closeWindow) PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TWinSkinForm::RunCommand(std::int32_t action) {
  const ButtonCommand command = CommandOfAction(action);
  switch (command) {
    case ButtonCommand::Close: PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case ButtonCommand::MaximiseOrRestore:
      PostMessageW(window_, WM_SYSCOMMAND, state_.placement == Placement::Maximised ? SC_RESTORE : SC_MAXIMIZE, 0);
      break;
    case ButtonCommand::MinimiseOrRestore:
      PostMessageW(window_, WM_SYSCOMMAND, state_.placement == Placement::Minimised ? SC_RESTORE : SC_MINIMIZE, 0);
      break;
    case ButtonCommand::SystemMenu: break;  // the input opens it (TitleBarDecision::openMenu)
    case ButtonCommand::ChildMinimise:
    case ButtonCommand::ChildRestore:
    case ButtonCommand::ChildClose:
      if (HWND child = ActiveMdiChild(window_)) {
        const WPARAM sc = command == ButtonCommand::ChildMinimise  ? SC_MINIMIZE
                          : command == ButtonCommand::ChildRestore ? SC_RESTORE
                                                                   : SC_CLOSE;
        PostMessageW(child, WM_SYSCOMMAND, sc, 0);
      }
      break;
    case ButtonCommand::Post: PostMessageW(window_, kSkinButtonAction, static_cast<WPARAM>(action), 0); break;
  }
}

// The skin's replacement menu, or the window's own for an MDI child or where the skin leaves
// system menus alone. While it is up the menu's loop takes the clicks; the input still sees those
// on the title bar, for the second click on the icon.
void TWinSkinForm::ShowSystemMenu(POINT screen) {
  const bool mdiChild = (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  const bool replacement = !mdiChild && MaySkinPopupMenu(skin_, xcSystemMenu, kSystemMenuTag);
  HMENU menu = replacement ? systemMenu_.Handle() : GetSystemMenu(window_, FALSE);
  UINT chosen = 0;
  if (menu) {
    if (replacement) systemMenu_.EnableFor(state_.placement);
    chosen = TrackMenuWatchingClicks(menu, window_, screen, [this](const MSG& click) {
      TitleBarEvent e = EventAt(TitleBarEvent::kMenuClick, WindowPoint(click.pt));
      e.time = click.time;
      return input_.Handle(e).endMenu;
    });
  }
  const TitleBarDecision closed = input_.Handle({.kind = TitleBarEvent::kMenuClosed});
  Act(closed);
  if (closed.closeWindow || chosen == 0) return;
  if (const UINT command = replacement ? TSkinSystemMenu::SystemCommandOf(chosen) : chosen)
    PostMessageW(window_, WM_SYSCOMMAND, command, 0);
}

// ---- painting

std::wstring TWinSkinForm::ShownTitle() const {
  const int length = GetWindowTextLengthW(window_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), length + 1)));
  return L"  " + text + L" ";
}

void TWinSkinForm::Relayout(HDC dc, const std::wstring& shown) {
  RECT r{};
  GetWindowRect(window_, &r);
  state_.width = r.right - r.left;
  state_.height = r.bottom - r.top;
  SIZE extent{};
  {
    const win::ScopedSelect font(dc, captionFont_.Get());
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
  }
  layout_ = LayoutTitle(skin_, state_, borders_, extent.cx, extent.cy);
}

void TWinSkinForm::PaintFrame() {
  if (state_.kind == WindowKind::CaptionlessPopup) return;
  if (stage_ != kAttached && stage_ != kRefreshing) return;
  if (IsIconic(window_)) return;
  DrawOnWindow(window_, [this](HDC dc) { DrawFrame(dc); });
}

void TWinSkinForm::DrawFrame(HDC dc) {
  const std::wstring shown = ShownTitle();
  Relayout(dc, shown);
  const int t = borders_.title;
  // The side borders below the title, and the bottom.
  for (TBorderSide side : {bsLeft, bsRight, bsBottom}) {
    BorderPiece piece = PaintBorder(skin_, side, state_, borders_);
    if (side != bsBottom && piece.pixels.height > t) {
      const Bitmap below = Crop(piece.pixels, {0, t, piece.pixels.width, piece.pixels.height});
      Blit(dc, below, piece.place.left, piece.place.top + t);
    } else if (side == bsBottom) {
      Blit(dc, piece.pixels, piece.place.left, piece.place.top);
    }
  }
  if (state_.width > 0 && t > 0) Blit(dc, RenderTitleBar(shown), 0, 0);
}

// The title bar, off screen: its borders and text background, the text, then the buttons.
Bitmap TWinSkinForm::RenderTitleBar(const std::wstring& shown) {
  ui::TDib dib(PaintTitleBack(skin_, state_, borders_, layout_));
  if (!dib.Pixels()) throw std::runtime_error("no memory for the title bar");
  const win::ScopedMemoryDc memory(CreateCompatibleDC(nullptr));
  const win::ScopedSelect selected(memory.Get(), dib.Handle());
  {
    const win::ScopedSelect font(memory.Get(), captionFont_.Get());
    SetBkMode(memory.Get(), TRANSPARENT);
    const ColorRef colour = state_.active ? skin_.Colors[scTitleTextActive] : skin_.Colors[scTitleTextNoActive];
    SetTextColor(memory.Get(), TSkinManage::Resolve(colour));
    RECT r{layout_.text.left, layout_.text.top, layout_.text.right, layout_.text.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    format |= state_.rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    DrawTextW(memory.Get(), shown.c_str(), static_cast<int>(shown.size()), &r, format);
  }
  GdiFlush();
  titleBack_ = dib.ToBitmap();
  Bitmap withButtons = titleBack_;
  DrawTitleButtons(withButtons, skin_, state_, layout_, [this](std::int32_t i) { return input_.State(i); });
  std::memcpy(dib.Pixels(), withButtons.pixels.data(), withButtons.pixels.size() * sizeof(Pixel));
  for (std::size_t i = 0; i < layout_.visible.size() && i < skin_.SysButtons.size(); ++i)
    if (layout_.visible[i] && IsIconAction(skin_.SysButtons[i].Action) && smallIcon_)
      DrawIconEx(memory.Get(), layout_.buttons[i].left, layout_.buttons[i].top, smallIcon_, kSmallIconSize,
                 kSmallIconSize, 0, nullptr, DI_NORMAL);
  GdiFlush();
  return dib.ToBitmap();
}

void TWinSkinForm::PaintButton(std::int32_t index) {
  if (state_.kind == WindowKind::CaptionlessPopup || (stage_ != kAttached && stage_ != kRefreshing)) return;
  const auto i = static_cast<std::size_t>(index);
  if (index < 0 || i >= layout_.visible.size() || !layout_.visible[i] || IsIconic(window_)) return;
  const Rect place = layout_.buttons[i];
  const TDataSkinSysButton& sb = skin_.SysButtons[i];
  DrawOnWindow(window_, [&](HDC dc) {
    Bitmap piece = Crop(titleBack_, place);
    if (sb.Image.width > 0 && !IsIconAction(sb.Action)) {
      const Rect frame =
          BorderFrameRect(sb.Image, sb.FrameCount, ButtonFrame(sb, input_.State(index), state_.active), true);
      DrawTransparent(piece, 0, 0, sb.Image, frame);
    }
    Blit(dc, piece, place.left, place.top);
    if (IsIconAction(sb.Action) && smallIcon_)
      DrawIconEx(dc, place.left, place.top, smallIcon_, kSmallIconSize, kSmallIconSize, 0, nullptr, DI_NORMAL);
  });
}

void TWinSkinForm::UpdateRegion(bool force) {
  // A caption-less popup keeps whatever shape its owner gave it.
  if (state_.kind == WindowKind::CaptionlessPopup || IsIconic(window_)) return;
  RECT r{};
  GetWindowRect(window_, &r);
  const SIZE size{r.right - r.left, r.bottom - r.top};
  if (!force && size.cx == regionSize_.cx && size.cy == regionSize_.cy) return;
  state_.width = size.cx;
  state_.height = size.cy;
  // The Top border's shape is the title bar as it is painted: text and buttons over its magenta
  // parts stay in the window.
  std::optional<Bitmap> title;
  try {
    const win::WindowDc screen(nullptr);
    if (screen.Get()) {
      const std::wstring shown = ShownTitle();
      Relayout(screen.Get(), shown);
      title = RenderTitleBar(shown);
    }
  } catch (...) {
    title.reset();  // no memory for the picture: the bare border gives the shape
  }
  const std::vector<Rect> rects = WindowRegionRects(skin_, state_, borders_, title ? &*title : nullptr);
  std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(rects.size());
  header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header->rcBound = {0, 0, size.cx, size.cy};
  auto* out = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
  for (std::size_t k = 0; k < rects.size(); ++k) out[k] = {rects[k].left, rects[k].top, rects[k].right, rects[k].bottom};
  win::ScopedRegion region(
      ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
  if (!region) return;
  if (SetWindowRgn(window_, region.Get(), TRUE)) {
    region.Release();  // the window owns it now
    regionSize_ = size;
  }
}

}  // namespace pimblo
