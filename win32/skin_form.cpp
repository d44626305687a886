#include "win32/skin_form.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "look/skin_choice.h"
#include "look/title_bar_input.h"
#include "win32/dib.h"
#include "win32/dpi.h"
#include "win32/skin_manage.h"
#include "win32/text.h"

namespace pimblo {
namespace {

constexpr wchar_t kFormProperty[] = L"PimbloSkinForm";
constexpr UINT_PTR kHoverTimer = 0x3501;
constexpr UINT kHoverInterval = 250;
constexpr UINT kMenuFirstId = 0x7000;  // menu item id = kMenuFirstId + tag
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

}  // namespace

// ---- TNCObject

void TNCObject::Press() {
  State = kButtonPressed;
  form_.SetHot(this);
  Repaint();
}
void TNCObject::Release() {
  State = kButtonHot;
  Repaint();
}
void TNCObject::Enter() {
  if (TNCObject* previous = form_.Hot(); previous && previous != this) previous->Leave();
  State = kButtonHot;
  form_.SetHot(this);
  Repaint();
}
void TNCObject::Leave() {
  State = kButtonNormal;
  form_.SetHot(nullptr);
  Repaint();
}

void TWinSysButton::Repaint() { form_.PaintButton(*this); }

// ---- TWinSkinForm

TWinSkinForm::TWinSkinForm(HWND window, TSkinData& skin, TSkinManage& manager)
    : window_(window), skin_(skin), manager_(manager) {}

TWinSkinForm::~TWinSkinForm() {
  if (stage_ != kReleased && IsWindow(window_)) Detach(false);
}

void TWinSkinForm::ReadWindow() {
  const auto windowStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(window_, GWL_STYLE)) | static_cast<std::uint32_t>(takenBits_);
  const auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  wchar_t name[256] = {};
  GetClassNameW(window_, name, 256);
  className_ = name;
  ownerWindow_ = GetWindow(window_, GW_OWNER);
  state_.kind = KindOfWindow(windowStyle, exStyle, ui::Narrow(className_));
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
  sizeable_ = (windowStyle & WS_THICKFRAME) != 0;
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
  buttons_.clear();
  hot_ = nullptr;
  pressed_ = nullptr;
  for (std::size_t i = 0; i < skin_.SysButtons.size(); ++i) buttons_.push_back(std::make_unique<TWinSysButton>(*this, i));
}

void TWinSkinForm::Attach() {
  ReadWindow();

  // The replacement system menu; each item's glyph is the one of its tag.
  systemMenu_.Reset(CreatePopupMenu());
  for (const SystemMenuItem& item : SystemMenuItems(state_.hasMinBox, state_.hasMaxBox, state_.placement)) {
    const UINT flags = item.tag == 100 ? (MF_SEPARATOR | MF_OWNERDRAW) : MF_OWNERDRAW;
    AppendMenuW(systemMenu_.Get(), flags, kMenuFirstId + static_cast<UINT>(item.tag),
                reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(kSystemMenuTag)));
  }
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

void TWinSkinForm::TakeCaption() {
  const LONG_PTR current = GetWindowLongPtrW(window_, GWL_STYLE);
  const bool owned = ownerWindow_ != nullptr || (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD);
  const LONG bits = owned ? (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) : WS_CAPTION;
  const LONG taken = static_cast<LONG>(current) & bits;
  if (!taken) return;
  takenBits_ |= taken;
  hadCaption_ = (taken & WS_CAPTION) != 0;
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
  if (hoverTimer_) KillTimer(window_, kHoverTimer), hoverTimer_ = 0;
  if (GetCapture() == window_) ReleaseCapture();
  systemMenu_.Reset();
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
      SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  stage_ = kReleased;
}

void TWinSkinForm::Refresh() {
  if (stage_ != kAttached) return;
  stage_ = kRefreshing;
  ComputeBorders();
  SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  UpdateRegion(true);
  PaintFrame();
  stage_ = kAttached;
}

LRESULT CALLBACK TWinSkinForm::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* form = static_cast<TWinSkinForm*>(GetPropW(hwnd, kFormProperty));
  if (!form) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    return form->Proc(msg, wParam, lParam);
  } catch (...) {
    // A frame that cannot be drawn is left as it is; the window goes on.
    return form->original_ ? CallWindowProcW(form->original_, hwnd, msg, wParam, lParam) : 0;
  }
}

LRESULT TWinSkinForm::CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(original_, window_, msg, wParam, lParam);
}

POINT TWinSkinForm::WindowPoint(LPARAM screenPoint) const {
  RECT r{};
  GetWindowRect(window_, &r);
  return {static_cast<short>(LOWORD(screenPoint)) - r.left, static_cast<short>(HIWORD(screenPoint)) - r.top};
}

LRESULT TWinSkinForm::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kSkinQuery: return 1;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, manager_.FaceBrush(skin_));
      return 1;
    }
    case WM_DESTROY:
      stage_ = kDetaching;
      if (hoverTimer_) KillTimer(window_, kHoverTimer), hoverTimer_ = 0;
      return CallOriginal(msg, wParam, lParam);
    case WM_NCDESTROY: {
      const WNDPROC original = original_;
      const HWND window = window_;
      Detach(true);
      return CallWindowProcW(original, window, msg, wParam, lParam);
    }
    default: break;
  }
  if (state_.kind == WindowKind::CaptionlessPopup || !skin_.SkinControls[xcMainMenu])
    return msg == kSkinFinishAttach ? (stage_ = kAttached, 0) : CallOriginal(msg, wParam, lParam);

  switch (msg) {
    case kSkinFinishAttach:
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      UpdateRegion(true);
      state_.active = GetActiveWindow() == window_;
      if (state_.active && !hoverTimer_) hoverTimer_ = SetTimer(window_, kHoverTimer, kHoverInterval, nullptr);
      stage_ = kAttached;
      PaintFrame();
      return 0;
    case kSkinRepaintFrame: PaintFrame(); return 0;
    case WM_DPICHANGED:
    case WM_SETTINGCHANGE: {
      // Another scale, or other system fonts: the title takes them.
      const LRESULT r = CallOriginal(msg, wParam, lParam);
      if (msg == WM_DPICHANGED || wParam == SPI_SETNONCLIENTMETRICS) {
        LoadFonts();
        PaintFrame();
      }
      return r;
    }
    case WM_NCCALCSIZE: {
      if (IsIconic(window_)) return CallOriginal(msg, wParam, lParam);
      if (wParam) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        const RECT oldClient = params->rgrc[2];
        const RECT& w = params->rgrc[0];
        const Rect c = ClientFromWindow({w.left, w.top, w.right, w.bottom}, borders_, state_.menuBarHeight);
        params->rgrc[0] = {c.left, c.top, c.right, c.bottom};
        params->rgrc[1] = params->rgrc[0];
        params->rgrc[2] = oldClient;
        return WVR_VALIDRECTS;
      }
      auto* r = reinterpret_cast<RECT*>(lParam);
      const Rect c = ClientFromWindow({r->left, r->top, r->right, r->bottom}, borders_, state_.menuBarHeight);
      *r = {c.left, c.top, c.right, c.bottom};
      return 0;
    }
    case WM_NCPAINT:
      if (IsIconic(window_)) return CallOriginal(msg, wParam, lParam);
      PaintFrame();
      return 0;
    case WM_NCACTIVATE:
      state_.active = wParam != 0;
      if (state_.active && !hoverTimer_) hoverTimer_ = SetTimer(window_, kHoverTimer, kHoverInterval, nullptr);
      if (!state_.active && hoverTimer_) {
        KillTimer(window_, kHoverTimer);
        hoverTimer_ = 0;
        if (hot_) hot_->Leave();
      }
      if (IsIconic(window_)) return CallOriginal(msg, wParam, lParam);
      PaintFrame();
      return TRUE;
    case WM_NCUAHDRAWCAPTION:
    case WM_NCUAHDRAWFRAME: return 0;
    case WM_SETTEXT:
    case WM_SETICON: {
      const LRESULT r = CallOriginal(msg, wParam, lParam);
      if (msg == WM_SETICON) ReadWindow();
      PaintFrame();
      return r;
    }
    case WM_NCHITTEST: {
      const LRESULT r = CallOriginal(msg, wParam, lParam);
      return RefineHitTest(static_cast<std::int32_t>(r), WindowPoint(lParam).y, borders_.title);
    }
    case WM_NCMOUSEMOVE: MouseMove(WindowPoint(lParam)); break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (MouseDown(WindowPoint(lParam))) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (pressed_) {
        POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window_, &screen);
        const POINT p = WindowPoint(MAKELPARAM(screen.x, screen.y));
        if (msg == WM_MOUSEMOVE) MouseMove(p);
        else MouseUp(p);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (pressed_ && reinterpret_cast<HWND>(lParam) != window_) {
        TWinSysButton* b = pressed_;
        pressed_ = nullptr;
        b->State = kButtonNormal;
        if (hot_ == b) hot_ = nullptr;
        PaintButton(*b);
      }
      break;
    case WM_NCRBUTTONDOWN:
      if (wParam == HTCAPTION) return 0;
      break;
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION) {
        ShowSystemMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == ' ') {
        RECT r{};
        GetWindowRect(window_, &r);
        ShowSystemMenu({r.left + borders_.left, r.top + borders_.title});
        return 0;
      }
      break;
    case WM_SIZE: {
      const Placement before = state_.placement;
      state_.placement = wParam == SIZE_MINIMIZED ? Placement::Minimised
                         : wParam == SIZE_MAXIMIZED ? Placement::Maximised
                                                    : Placement::Normal;
      if (state_.placement == Placement::Minimised && before != Placement::Minimised) GiveCaptionBack();
      const LRESULT r = CallOriginal(msg, wParam, lParam);
      if (state_.placement != Placement::Minimised) {
        if (before == Placement::Minimised) {
          TakeCaption();
          SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        UpdateRegion(false);
        PaintFrame();
      }
      return r;
    }
    case WM_GETMINMAXINFO: {
      const LRESULT r = CallOriginal(msg, wParam, lParam);
      if (state_.kind == WindowKind::Sizeable) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxTrackSize = info->ptMaxSize;
      }
      return r;
    }
    case WM_TIMER:
      if (wParam == kHoverTimer) {
        CheckHover();
        return 0;
      }
      break;
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (m->CtlType == ODT_MENU && m->itemData == kSystemMenuTag) {
        const int tag = static_cast<int>(m->itemID) - static_cast<int>(kMenuFirstId);
        if (tag == 100) {
          m->itemHeight = 8;
          m->itemWidth = 20;
          return TRUE;
        }
        HDC dc = GetDC(window_);
        const win::ScopedSelect font(dc, menuFont_.Get());
        int width = 0;
        for (const SystemMenuItem& item : SystemMenuItems(true, true, Placement::Normal))
          if (item.tag == tag) {
            SIZE text{}, shortcut{};
            GetTextExtentPoint32W(dc, item.caption, static_cast<int>(wcslen(item.caption)), &text);
            GetTextExtentPoint32W(dc, item.shortcut, static_cast<int>(wcslen(item.shortcut)), &shortcut);
            width = text.cx + (shortcut.cx ? shortcut.cx + 24 : 0);
          }
        ReleaseDC(window_, dc);
        m->itemWidth = static_cast<UINT>(width + 28 + 8);
        m->itemHeight = 22;
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (d->CtlType == ODT_MENU && d->itemData == kSystemMenuTag) {
        DrawMenuItem(*d);
        return TRUE;
      }
      break;
    }
    default: break;
  }
  return CallOriginal(msg, wParam, lParam);
}

// ---- painting

void TWinSkinForm::Relayout(HDC dc) {
  RECT r{};
  GetWindowRect(window_, &r);
  state_.width = r.right - r.left;
  state_.height = r.bottom - r.top;
  const int length = GetWindowTextLengthW(window_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), length + 1)));
  const std::wstring shown = L"  " + text + L" ";
  SIZE extent{};
  {
    const win::ScopedSelect font(dc, captionFont_.Get());
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
  }
  layout_ = LayoutTitle(skin_, state_, borders_, extent.cx, extent.cy);
}

Bitmap TWinSkinForm::ComposeTitle(HDC windowDc) {
  Relayout(windowDc);
  const int w = state_.width, t = borders_.title;
  Bitmap title(w, t);
  const BorderPiece left = PaintBorder(skin_, bsLeft, state_, borders_);
  const BorderPiece right = PaintBorder(skin_, bsRight, state_, borders_);
  const BorderPiece top = PaintBorder(skin_, bsTop, state_, borders_);
  for (const BorderPiece* piece : {&left, &right, &top})
    for (int y = 0; y < std::min(t, piece->pixels.height); ++y)
      for (int x = 0; x < piece->pixels.width; ++x) {
        const int tx = piece->place.left + x;
        if (tx >= 0 && tx < w) title.At(tx, y) = piece->pixels.At(x, y);
      }
  return title;
}

void TWinSkinForm::PaintFrame() {
  if (state_.kind == WindowKind::CaptionlessPopup) return;
  if (stage_ != kAttached && stage_ != kRefreshing) return;
  if (IsIconic(window_)) return;
  HDC dc = GetWindowDC(window_);
  if (!dc) return;
  try {
    const Bitmap title = ComposeTitle(dc);
    const int w = state_.width, t = borders_.title;
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
    if (w > 0 && t > 0) {
      // The title bar, off screen: borders, text, then buttons.
      ui::TDib dib(title);
      if (!dib.Pixels()) throw std::runtime_error("no memory for the title bar");
      win::ScopedMemoryDc memory(CreateCompatibleDC(dc));
      const win::ScopedSelect selected(memory.Get(), dib.Handle());
      const int length = GetWindowTextLengthW(window_);
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), length + 1)));
      const std::wstring shown = L"  " + text + L" ";
      const TDataSkinTitle& skinTitle = skin_.Title;
      if (skinTitle.Image.width > 0 && !layout_.textBack.Empty()) {
        const Rect frame = BorderFrameRect(skinTitle.Image, skinTitle.FrameCount, state_.active ? 1 : 2, false);
        Bitmap back = dib.ToBitmap();
        DrawNineSlice(back, layout_.textBack, skinTitle.Image, frame, skinTitle.LeftWidth, 0, skinTitle.RightWidth, 0,
                      skinTitle.Tile == 1);
        std::memcpy(dib.Pixels(), back.pixels.data(), back.pixels.size() * sizeof(Pixel));
      }
      {
        const win::ScopedSelect font(memory.Get(), captionFont_.Get());
        SetBkMode(memory.Get(), TRANSPARENT);
        ColorRef colour = state_.active ? skin_.Colors[scTitleTextActive] : skin_.Colors[scTitleTextNoActive];
        SetTextColor(memory.Get(), TSkinManage::Resolve(colour));
        RECT r{layout_.text.left, layout_.text.top, layout_.text.right, layout_.text.bottom};
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        format |= state_.rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
        DrawTextW(memory.Get(), shown.c_str(), static_cast<int>(shown.size()), &r, format);
      }
      GdiFlush();
      titleBack_ = dib.ToBitmap();
      Bitmap withButtons = titleBack_;
      for (const auto& button : buttons_) {
        const std::size_t i = button->Index;
        if (!layout_.visible[i]) continue;
        const TDataSkinSysButton& sb = skin_.SysButtons[i];
        if (sb.Image.width > 0 && !IsIconAction(sb.Action)) {
          const Rect frame =
              BorderFrameRect(sb.Image, sb.FrameCount, ButtonFrame(sb, button->State, state_.active), true);
          DrawTransparent(withButtons, layout_.buttons[i].left, layout_.buttons[i].top, sb.Image, frame);
        }
      }
      std::memcpy(dib.Pixels(), withButtons.pixels.data(), withButtons.pixels.size() * sizeof(Pixel));
      for (const auto& button : buttons_) {
        const std::size_t i = button->Index;
        if (layout_.visible[i] && IsIconAction(skin_.SysButtons[i].Action) && smallIcon_)
          DrawIconEx(memory.Get(), layout_.buttons[i].left, layout_.buttons[i].top, smallIcon_, kSmallIconSize,
                     kSmallIconSize, 0, nullptr, DI_NORMAL);
      }
      BitBlt(dc, 0, 0, w, t, memory.Get(), 0, 0, SRCCOPY);
    }
  } catch (...) {
    // Errors while painting the frame are swallowed; the context goes back below.
  }
  ReleaseDC(window_, dc);
}

void TWinSkinForm::PaintButton(const TWinSysButton& button) {
  if (state_.kind == WindowKind::CaptionlessPopup || (stage_ != kAttached && stage_ != kRefreshing)) return;
  const std::size_t i = button.Index;
  if (i >= layout_.visible.size() || !layout_.visible[i] || IsIconic(window_)) return;
  const Rect place = layout_.buttons[i];
  const TDataSkinSysButton& sb = skin_.SysButtons[i];
  HDC dc = GetWindowDC(window_);
  if (!dc) return;
  try {
    Bitmap piece = Crop(titleBack_, place);
    if (sb.Image.width > 0 && !IsIconAction(sb.Action)) {
      const Rect frame = BorderFrameRect(sb.Image, sb.FrameCount, ButtonFrame(sb, button.State, state_.active), true);
      DrawTransparent(piece, 0, 0, sb.Image, frame);
    }
    Blit(dc, piece, place.left, place.top);
    if (IsIconAction(sb.Action) && smallIcon_)
      DrawIconEx(dc, place.left, place.top, smallIcon_, kSmallIconSize, kSmallIconSize, 0, nullptr, DI_NORMAL);
  } catch (...) {
  }
  ReleaseDC(window_, dc);
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
  const std::vector<Rect> rects = WindowRegionRects(skin_, state_, borders_);
  std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(rects.size());
  header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header->rcBound = {0, 0, size.cx, size.cy};
  auto* out = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
  for (std::size_t k = 0; k < rects.size(); ++k) out[k] = {rects[k].left, rects[k].top, rects[k].right, rects[k].bottom};
  HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
  if (!region) return;
  if (SetWindowRgn(window_, region, TRUE)) regionSize_ = size;  // the window owns the region now
  else DeleteObject(region);
}

// ---- the mouse

void TWinSkinForm::MouseMove(POINT p) {
  const std::int32_t i = ButtonAt(layout_, p.x, p.y);
  if (pressed_) {
    const std::int32_t want = i == static_cast<std::int32_t>(pressed_->Index) ? kButtonPressed : kButtonNormal;
    if (pressed_->State != want) {
      pressed_->State = want;
      PaintButton(*pressed_);
    }
    return;
  }
  if (!state_.active) return;
  if (i >= 0) {
    TWinSysButton* b = buttons_[static_cast<std::size_t>(i)].get();
    if (hot_ != b) b->Enter();
  } else if (hot_) {
    hot_->Leave();
  }
}

bool TWinSkinForm::MouseDown(POINT p) {
  const std::int32_t i = ButtonAt(layout_, p.x, p.y);
  if (i < 0) return false;
  TWinSysButton* b = buttons_[static_cast<std::size_t>(i)].get();
  if (IsIconAction(skin_.SysButtons[b->Index].Action)) {
    const DWORD now = static_cast<DWORD>(GetMessageTime());  // when the click was made
    if (IsSecondClick(iconClicked_, lastIconClick_, now, GetDoubleClickTime())) {
      // The second click on the icon closes the window.
      iconClicked_ = false;
      PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    }
    iconClicked_ = true;
    lastIconClick_ = now;
  }
  if (!state_.active) SetForegroundWindow(window_);
  b->Press();
  pressed_ = b;
  SetCapture(window_);
  return true;
}

void TWinSkinForm::MouseUp(POINT p) {
  TWinSysButton* b = pressed_;
  pressed_ = nullptr;
  if (GetCapture() == window_) ReleaseCapture();
  if (!b) return;
  if (ButtonAt(layout_, p.x, p.y) == static_cast<std::int32_t>(b->Index)) {
    b->Release();
    RECT r{};
    GetWindowRect(window_, &r);
    PerformAction(skin_.SysButtons[b->Index].Action, {r.left + p.x, r.top + p.y});
  } else {
    b->State = kButtonNormal;
    if (hot_ == b) hot_ = nullptr;
    PaintButton(*b);
  }
}

void TWinSkinForm::CheckHover() {
  if (!hot_ || pressed_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT r{};
  GetWindowRect(window_, &r);
  const auto* b = static_cast<TWinSysButton*>(hot_);
  if (!layout_.buttons[b->Index].Contains(cursor.x - r.left, cursor.y - r.top)) hot_->Leave();
}

void TWinSkinForm::PerformAction(std::int32_t action, POINT screen) {
  const bool maximised = state_.placement == Placement::Maximised;
  const bool minimised = state_.placement == Placement::Minimised;
  auto activeChild = [&]() -> HWND {
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[32] = {};
      GetClassNameW(child, name, 32);
      if (lstrcmpiW(name, L"MDICLIENT") == 0) return reinterpret_cast<HWND>(SendMessageW(child, WM_MDIGETACTIVE, 0, 0));
    }
    return nullptr;
  };
  switch (CommandOfAction(action)) {
    case ButtonCommand::Close: PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case ButtonCommand::MaximiseOrRestore:
      PostMessageW(window_, WM_SYSCOMMAND, maximised ? SC_RESTORE : SC_MAXIMIZE, 0);
      break;
    case ButtonCommand::MinimiseOrRestore:
      PostMessageW(window_, WM_SYSCOMMAND, minimised ? SC_RESTORE : SC_MINIMIZE, 0);
      break;
    case ButtonCommand::SystemMenu: ShowSystemMenu({screen.x + 1, screen.y + 1}); break;
    case ButtonCommand::ChildMinimise:
    case ButtonCommand::ChildRestore:
    case ButtonCommand::ChildClose:
      if (HWND child = activeChild()) {
        const WPARAM command = CommandOfAction(action) == ButtonCommand::ChildMinimise ? SC_MINIMIZE
                               : CommandOfAction(action) == ButtonCommand::ChildRestore ? SC_RESTORE
                                                                                        : SC_CLOSE;
        PostMessageW(child, WM_SYSCOMMAND, command, 0);
      }
      break;
    case ButtonCommand::Post: PostMessageW(window_, kSkinButtonAction, static_cast<WPARAM>(action), 0); break;
  }
}

void TWinSkinForm::ShowSystemMenu(POINT screen) {
  if (inMenu_) return;
  inMenu_ = true;
  const bool mdiChild = (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  const bool replacement = !mdiChild && MaySkinPopupMenu(skin_, xcSystemMenu, kSystemMenuTag);
  HMENU menu = replacement ? systemMenu_.Get() : GetSystemMenu(window_, FALSE);
  if (menu) {
    if (replacement) {
      const bool normal = state_.placement == Placement::Normal;
      EnableMenuItem(menu, kMenuFirstId + 0, MF_BYCOMMAND | (normal ? MF_GRAYED : MF_ENABLED));
      EnableMenuItem(menu, kMenuFirstId + 1,
                     MF_BYCOMMAND | (state_.placement == Placement::Maximised ? MF_GRAYED : MF_ENABLED));
      EnableMenuItem(menu, kMenuFirstId + 2,
                     MF_BYCOMMAND | (state_.placement == Placement::Minimised ? MF_GRAYED : MF_ENABLED));
    }
    // While the menu is up its own loop takes the clicks; a hook on that loop sees a second
    // click on the icon, which closes the window.
    closeAfterMenu_ = false;
    menuForm_ = this;
    HHOOK filter = SetWindowsHookExW(WH_MSGFILTER, &TWinSkinForm::MenuFilter, nullptr, GetCurrentThreadId());
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                                         screen.x, screen.y, 0, window_, nullptr));
    if (filter) UnhookWindowsHookEx(filter);
    menuForm_ = nullptr;
    if (closeAfterMenu_) {
      iconClicked_ = false;
      PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (chosen == 0) {
      // Closed without a choice.
    } else if (replacement) {
      ExecuteSystemCommand(static_cast<std::int32_t>(chosen - kMenuFirstId));
    } else {
      PostMessageW(window_, WM_SYSCOMMAND, chosen, 0);
    }
  }
  inMenu_ = false;
}

TWinSkinForm* TWinSkinForm::menuForm_ = nullptr;

LRESULT CALLBACK TWinSkinForm::MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  TWinSkinForm* form = menuForm_;
  if (code == MSGF_MENU && form) {
    const MSG& m = *reinterpret_cast<const MSG*>(lParam);
    if (m.message == WM_LBUTTONDOWN || m.message == WM_NCLBUTTONDOWN || m.message == WM_LBUTTONDBLCLK ||
        m.message == WM_NCLBUTTONDBLCLK) {
      RECT r{};
      GetWindowRect(form->window_, &r);
      const std::int32_t i = ButtonAt(form->layout_, m.pt.x - r.left, m.pt.y - r.top);
      if (i >= 0 && IsIconAction(form->skin_.SysButtons[static_cast<std::size_t>(i)].Action) &&
          IsSecondClick(form->iconClicked_, form->lastIconClick_, m.time, GetDoubleClickTime())) {
        form->closeAfterMenu_ = true;
        EndMenu();
        return TRUE;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TWinSkinForm::ExecuteSystemCommand(std::int32_t tag) {
  switch (tag) {
    case 0: PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0); break;
    case 1: PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0); break;
    case 2: PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case 3: PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    default: break;
  }
}

void TWinSkinForm::DrawMenuItem(const DRAWITEMSTRUCT& d) {
  const int tag = static_cast<int>(d.itemID) - static_cast<int>(kMenuFirstId);
  HDC dc = d.hDC;
  const RECT r = d.rcItem;
  const bool selected = (d.itemState & ODS_SELECTED) != 0 && tag != 100;
  const bool disabled = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const win::ScopedBrush back(CreateSolidBrush(TSkinManage::Resolve(selected ? skin_.Colors[scHilight] : skin_.Colors[scMenu])));
  FillRect(dc, &r, back.Get());
  if (tag == 100) {
    const win::ScopedBrush line(CreateSolidBrush(TSkinManage::Resolve(skin_.Colors[scButtonShadow])));
    RECT l{r.left + 24, (r.top + r.bottom) / 2, r.right - 4, (r.top + r.bottom) / 2 + 1};
    FillRect(dc, &l, line.Get());
    return;
  }
  if (HIMAGELIST glyphs = manager_.MenuGlyphs(skin_); glyphs && tag >= 0 && tag < ImageList_GetImageCount(glyphs))
    ImageList_Draw(glyphs, tag, dc, r.left + 4, r.top + (r.bottom - r.top - 16) / 2, disabled ? ILD_BLEND50 : ILD_TRANSPARENT);
  for (const SystemMenuItem& item : SystemMenuItems(true, true, Placement::Normal)) {
    if (item.tag != tag) continue;
    const win::ScopedSelect font(dc, menuFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    const ColorRef text = disabled ? skin_.Colors[scButtonShadow] : selected ? skin_.Colors[scHilightText] : skin_.Colors[scMenuText];
    SetTextColor(dc, TSkinManage::Resolve(text));
    RECT t{r.left + 28, r.top, r.right - 8, r.bottom};
    DrawTextW(dc, item.caption, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    DrawTextW(dc, item.shortcut, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
}

}  // namespace pimblo
