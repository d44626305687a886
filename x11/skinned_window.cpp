#include "x11/skinned_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "look/menu_colors.h"

namespace pimblo::x11 {

namespace {

constexpr int kCaptionPixelSize = 12;
constexpr int kTitleTextMargin = 3;  // at least this much of the title bar above and below its text
constexpr unsigned kLeftButton = Button1;
constexpr unsigned kRightButton = Button3;
constexpr std::int32_t kMoveThreshold = 4;  // pixels the mouse goes, held on the title, before the window moves
constexpr long kMoveWithManager = 8;   // _NET_WM_MOVERESIZE's "move" direction
constexpr long kSourceApplication = 1;  // an EWMH request from an application
constexpr long kMotifDecorationsFlag = 1L << 1;
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | FocusChangeMask | StructureNotifyMask | KeyPressMask;

Atom Intern(Display* display, const char* name) { return XInternAtom(display, name, False); }

// A skin colour as a pixel; system colour references (the skin gave none) take `fallback`.
Pixel SkinPixel(ColorRef colour, Pixel fallback) {
  if (colour == clNone || (colour & kSystemColorFlag)) return fallback;
  return PixelFromColorRef(colour);
}

// Copies src to (x, y) of dst, clipped.
void CopyInto(Bitmap& dst, const Bitmap& src, std::int32_t x, std::int32_t y) {
  for (std::int32_t j = std::max(0, -y); j < src.height && y + j < dst.height; ++j)
    for (std::int32_t i = std::max(0, -x); i < src.width && x + i < dst.width; ++i) dst.At(x + i, y + j) = src.At(i, j);
}

// The caption as it fits `width`: whole, or cut at a character with "..." after it.
std::string FitCaption(Display* display, const XftFontOwner& font, const std::string& text, std::int32_t width) {
  if (MeasureText(display, font, text).width <= width) return text;
  std::string cut = text;
  while (!cut.empty()) {
    // The last character: its UTF-8 continuation bytes, then its first byte.
    while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80) cut.pop_back();
    if (!cut.empty()) cut.pop_back();
    if (MeasureText(display, font, cut + "...").width <= width) break;
  }
  return cut + "...";
}

// Asks the window manager, through the root, to do `type` (an EWMH message) for `window`.
void AskManager(Display* display, int screen, Window window, const char* type, std::initializer_list<long> data) {
  XEvent m{};
  m.xclient.type = ClientMessage;
  m.xclient.window = window;
  m.xclient.message_type = Intern(display, type);
  m.xclient.format = 32;
  assert(data.size() <= 5 && "a client message holds five longs");
  int i = 0;
  for (long value : data) m.xclient.data.l[i++] = value;
  XSendEvent(display, RootWindow(display, screen), False, SubstructureRedirectMask | SubstructureNotifyMask, &m);
}

// A box has a dialog's frame; the help window a sizeable one's.
ChromeState StateOf(const SkinnedWindowSetup& setup) {
  ChromeState s;
  s.kind = setup.dialog ? WindowKind::Dialog : WindowKind::Sizeable;
  s.hasSysMenu = true;
  s.hasMinBox = setup.minimiseBox;
  s.hasMaxBox = false;
  s.active = false;
  s.popupStyle = setup.dialog;
  s.width = setup.bounds.Width();
  s.height = setup.bounds.Height();
  return s;
}

}  // namespace

SkinnedWindow::SkinnedWindow(Display* display, const TSkinData& skin, SkinnedWindowSetup setup, Hooks hooks)
    : display_(display), screen_(DefaultScreen(display)), skin_(skin), setup_(std::move(setup)),
      hooks_(std::move(hooks)), state_(StateOf(setup_)), deleteWindow_(Intern(display, "WM_DELETE_WINDOW")),
      protocols_(Intern(display, "WM_PROTOCOLS")) {
  assert(!setup_.bounds.Empty() && "a skinned window has a size");
  borders_ = ComputeBorderSizes(skin_, state_.kind);
  input_.SetParts(TitleBarParts(skin_));
  shownTitle_ = "  " + setup_.title + " ";

  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // the back buffer covers it all: no flash of a background
  attributes.event_mask = kEventMask;
  window_ = ScopedWindow(
      display_, XCreateWindow(display_, RootWindow(display_, screen_), setup_.bounds.left, setup_.bounds.top,
                              static_cast<unsigned>(state_.width), static_cast<unsigned>(state_.height), 0,
                              CopyFromParent, InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes));
  SetProperties();
}

BorderSizes SkinnedWindow::FrameOf(const TSkinData& skin, const SkinnedWindowSetup& setup) {
  return ComputeBorderSizes(skin, StateOf(setup).kind);
}

void SkinnedWindow::SetProperties() {
  const Window w = window_.Get();
  // Where it asked to be, at its size.
  XSizeHints size{};
  size.flags = USPosition | PPosition | PSize;
  size.x = setup_.bounds.left;
  size.y = setup_.bounds.top;
  size.width = state_.width;
  size.height = state_.height;
  XWMHints wm{};
  wm.flags = InputHint | StateHint;
  wm.input = True;
  wm.initial_state = NormalState;
  XClassHint klass{const_cast<char*>(setup_.className.c_str()), const_cast<char*>("Pimblo")};
  Xutf8SetWMProperties(display_, w, setup_.title.c_str(), setup_.title.c_str(), nullptr, 0, &size, &wm, &klass);
  const Atom utf8 = Intern(display_, "UTF8_STRING");
  for (const char* name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
    XChangeProperty(display_, w, Intern(display_, name), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(setup_.title.data()), static_cast<int>(setup_.title.size()));
  XSetWMProtocols(display_, w, &deleteWindow_, 1);
  // No decorations of the window manager's: the skin is the frame.
  const long motif[5] = {kMotifDecorationsFlag, 0, 0, 0, 0};
  const Atom motifHints = Intern(display_, "_MOTIF_WM_HINTS");
  XChangeProperty(display_, w, motifHints, motifHints, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(motif), 5);
  const Atom type = Intern(display_, setup_.dialog ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL");
  XChangeProperty(display_, w, Intern(display_, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
}

// ---- showing

// The caption's font is held while the window is shown: a hidden window lets its face go.
void SkinnedWindow::OpenCaptionFont() {
  if (captionFont_) return;
  captionFont_ = OpenUiFont(display_, screen_, kCaptionPixelSize);
  if (captionFont_ && borders_.title > 2 * kTitleTextMargin &&
      MeasureText(display_, *captionFont_, shownTitle_).height > borders_.title - 2 * kTitleTextMargin)
    captionFont_ = OpenUiFont(display_, screen_, borders_.title - 2 * kTitleTextMargin);
}

void SkinnedWindow::Show() {
  OpenCaptionFont();
  XMapRaised(display_, window_.Get());
  // Mapped, a window keeps its place only if asked again (some managers place new windows).
  if (!placed_) XMoveWindow(display_, window_.Get(), setup_.bounds.left, setup_.bounds.top);
  placed_ = true;
  XFlush(display_);
}

void SkinnedWindow::Hide() {
  // Withdrawn (unmapped, and the root told), so the manager forgets it too.
  XWithdrawWindow(display_, window_.Get(), screen_);
  captionFont_.reset();
  XFlush(display_);
}

void SkinnedWindow::Minimise() {
  XIconifyWindow(display_, window_.Get(), screen_);
  XFlush(display_);
}

void SkinnedWindow::Restore() {
  XMapRaised(display_, window_.Get());
  Activate();
  XFlush(display_);
}

void SkinnedWindow::RequestClose() {
  if (hooks_.close)
    hooks_.close();
  else
    Hide();
}

Rect SkinnedWindow::ClientArea() const {
  return ClientFromWindow({0, 0, state_.width, state_.height}, borders_, 0);
}

// ---- events

void SkinnedWindow::Dispatch(const XEvent& event) {
  if (!Owns(event)) return;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Present();
      break;
    case MapNotify:
      mapped_ = true;
      Paint();
      if (!ManagerMoves()) Activate();  // no window manager gives it the focus
      break;
    case UnmapNotify:
      mapped_ = false;
      Act(input_.Handle({.kind = TitleBarEvent::kHoverTick, .part = kNoPart, .active = state_.active}), 0, 0);
      break;
    case ConfigureNotify: OnConfigure(event.xconfigure); break;
    case FocusIn:
    case FocusOut:
      // The grabs of a window manager's move and the focus passing inside the window change nothing.
      if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab) break;
      if (event.xfocus.detail == NotifyInferior || event.xfocus.detail == NotifyPointer) break;
      OnFocus(event.type == FocusIn);
      break;
    case ButtonPress: OnPress(event.xbutton); break;
    case ButtonRelease: OnRelease(event.xbutton); break;
    case MotionNotify: OnMotion(event.xmotion); break;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal) OnLeave();
      break;
    case KeyPress:
      if (hooks_.key) hooks_.key(XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0));
      break;
    case ClientMessage:
      if (event.xclient.message_type == protocols_ && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
        RequestClose();
      break;
    default: break;
  }
}

TitleBarEvent SkinnedWindow::EventAt(TitleBarEvent::Kind kind, std::int32_t x, std::int32_t y, Time time) const {
  constexpr std::uint32_t kDoubleClickTime = 500;
  return {.kind = kind,
          .part = ButtonAt(layout_, x, y),
          .time = static_cast<std::uint32_t>(time),
          .doubleClickTime = kDoubleClickTime,
          .active = state_.active};
}

void SkinnedWindow::OnPress(const XButtonEvent& e) {
  const Rect client = ClientArea();
  if (client.Contains(e.x, e.y)) {
    if (!state_.active) Activate();
    clientHeld_ = true;
    if (hooks_.clientMouse)
      hooks_.clientMouse({ClientMouse::kDown, e.x - client.left, e.y - client.top, e.button});
    return;
  }
  const bool onTitle = e.y >= 0 && e.y < borders_.title;
  if (e.button == kRightButton && onTitle) {
    Act(input_.Handle({.kind = TitleBarEvent::kMenuRequest, .active = state_.active}), e.x_root, e.y_root);
    return;
  }
  if (e.button != kLeftButton) return;
  const TitleBarDecision d = input_.Handle(EventAt(TitleBarEvent::kDown, e.x, e.y, e.time));
  Act(d, e.x_root, e.y_root);
  if (!d.consumed && onTitle) {
    if (!state_.active) Activate();
    movePending_ = true;
    pressX_ = e.x;
    pressY_ = e.y;
    pressRootX_ = e.x_root;
    pressRootY_ = e.y_root;
  }
}

void SkinnedWindow::OnRelease(const XButtonEvent& e) {
  if (e.button == kLeftButton) movePending_ = false;
  if (dragging_ && e.button == kLeftButton) {
    dragging_ = false;
    return;
  }
  if (clientHeld_) {
    clientHeld_ = false;
    const Rect client = ClientArea();
    if (hooks_.clientMouse) hooks_.clientMouse({ClientMouse::kUp, e.x - client.left, e.y - client.top, e.button});
    return;
  }
  if (e.button == kLeftButton) Act(input_.Handle(EventAt(TitleBarEvent::kUp, e.x, e.y, e.time)), e.x_root, e.y_root);
}

void SkinnedWindow::OnMotion(const XMotionEvent& e) {
  if (dragging_) {
    XMoveWindow(display_, window_.Get(), e.x_root - dragDx_, e.y_root - dragDy_);
    return;
  }
  if (movePending_ && (e.state & Button1Mask) &&
      std::max(std::abs(e.x - pressX_), std::abs(e.y - pressY_)) >= kMoveThreshold) {
    movePending_ = false;
    StartMove(e.x_root, e.y_root, e.time);
    return;
  }
  const Rect client = ClientArea();
  if (hooks_.clientMouse && (clientHeld_ || client.Contains(e.x, e.y)))
    hooks_.clientMouse({ClientMouse::kMove, e.x - client.left, e.y - client.top, 0});
  else if (hooks_.clientMouse)
    hooks_.clientMouse({ClientMouse::kLeave, 0, 0, 0});
  const auto kind = input_.Pressed() != kNoPart ? TitleBarEvent::kCapturedMove : TitleBarEvent::kMove;
  Act(input_.Handle(EventAt(kind, e.x, e.y, e.time)), e.x_root, e.y_root);
}

// X tells when the mouse leaves: no timer needs to look.
void SkinnedWindow::OnLeave() {
  Act(input_.Handle({.kind = TitleBarEvent::kHoverTick, .part = kNoPart, .active = state_.active}), 0, 0);
  if (hooks_.clientMouse && !clientHeld_) hooks_.clientMouse({ClientMouse::kLeave, 0, 0, 0});
}

void SkinnedWindow::OnFocus(bool in) {
  if (state_.active == in) return;
  state_.active = in;
  Act(input_.Handle({.kind = TitleBarEvent::kActivate, .active = in}), 0, 0);
  Paint();
}

void SkinnedWindow::OnConfigure(const XConfigureEvent& e) {
  if (e.width == state_.width && e.height == state_.height) return;
  state_.width = e.width;
  state_.height = e.height;
  back_ = ScopedPixmap();
  Paint();
}

void SkinnedWindow::Act(const TitleBarDecision& d, std::int32_t screenX, std::int32_t screenY) {
  if (d.bringForward) Activate();
  if (!d.repaint.empty()) Paint();
  if (d.command != kNoPart && static_cast<std::size_t>(d.command) < skin_.SysButtons.size())
    RunCommand(skin_.SysButtons[static_cast<std::size_t>(d.command)].Action);
  if (d.openMenu) {
    if (hooks_.systemMenu) hooks_.systemMenu(screenX, screenY);
    Act(input_.Handle({.kind = TitleBarEvent::kMenuClosed, .active = state_.active}), screenX, screenY);
  }
  if (d.closeWindow) RequestClose();
}

void SkinnedWindow::RunCommand(std::int32_t action) {
  switch (CommandOfAction(action)) {
    case ButtonCommand::Close: RequestClose(); break;
    case ButtonCommand::MinimiseOrRestore: Minimise(); break;
    default: break;  // no maximise box, no child windows, nothing posted to act on
  }
}

// ---- moving

bool SkinnedWindow::ManagerMoves() const {
  const Atom supported = Intern(display_, "_NET_SUPPORTED");
  const Atom moveResize = Intern(display_, "_NET_WM_MOVERESIZE");
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  constexpr long kMostAtoms = 4096;
  if (XGetWindowProperty(display_, RootWindow(display_, screen_), supported, 0, kMostAtoms, False, XA_ATOM, &type,
                         &format, &count, &after, &data) == Success &&
      data) {
    if (format == 32) {
      const auto* atoms = reinterpret_cast<const Atom*>(data);
      found = std::find(atoms, atoms + count, moveResize) != atoms + count;
    }
    XFree(data);
  }
  return found;
}

void SkinnedWindow::StartMove(std::int32_t rootX, std::int32_t rootY, Time time) {
  if (!ManagerMoves()) {
    dragging_ = true;
    dragDx_ = pressX_;
    dragDy_ = pressY_;
    XMoveWindow(display_, window_.Get(), rootX - dragDx_, rootY - dragDy_);
    return;
  }
  // The manager takes the pointer over: ours goes first.
  XUngrabPointer(display_, time);
  // Where the press was: the manager moves the window by how far the mouse went since.
  AskManager(display_, screen_, window_.Get(), "_NET_WM_MOVERESIZE",
             {static_cast<long>(pressRootX_), static_cast<long>(pressRootY_), kMoveWithManager, static_cast<long>(kLeftButton), kSourceApplication});
  XFlush(display_);
}

void SkinnedWindow::Activate() {
  if (ManagerMoves()) {
    AskManager(display_, screen_, window_.Get(), "_NET_ACTIVE_WINDOW", {kSourceApplication, static_cast<long>(CurrentTime)});
  } else {
    XRaiseWindow(display_, window_.Get());
    XSetInputFocus(display_, window_.Get(), RevertToParent, CurrentTime);
  }
  XFlush(display_);
}

// ---- painting

void SkinnedWindow::Relayout() {
  const TextExtent extent = captionFont_ ? MeasureText(display_, *captionFont_, shownTitle_) : TextExtent{};
  layout_ = LayoutTitle(skin_, state_, borders_, extent.width, extent.height);
}

Bitmap SkinnedWindow::RenderTitle() const {
  Bitmap title = PaintTitleBack(skin_, state_, borders_, layout_);
  DrawTitleButtons(title, skin_, state_, layout_, [this](std::int32_t i) { return input_.State(i); });
  if (setup_.icon.width > 0)
    for (std::size_t i = 0; i < layout_.visible.size() && i < skin_.SysButtons.size(); ++i)
      if (layout_.visible[i] && IsIconAction(skin_.SysButtons[i].Action))
        DrawTransparent(title, layout_.buttons[i].left, layout_.buttons[i].top, setup_.icon,
                        {0, 0, setup_.icon.width, setup_.icon.height});
  return title;
}

void SkinnedWindow::Paint() {
  if (state_.width <= 0 || state_.height <= 0) return;
  Relayout();
  if (!back_)
    back_ = ScopedPixmap(display_, XCreatePixmap(display_, window_.Get(), static_cast<unsigned>(state_.width),
                                                 static_cast<unsigned>(state_.height),
                                                 static_cast<unsigned>(DefaultDepth(display_, screen_))));
  const Pixel face = SkinPixel(skin_.ButtonFaceColor(), MakePixel(240, 240, 240));
  Bitmap whole(state_.width, state_.height, face);
  for (TBorderSide side : {bsLeft, bsRight, bsBottom}) {
    const BorderPiece piece = PaintBorder(skin_, side, state_, borders_);
    CopyInto(whole, piece.pixels, piece.place.left, piece.place.top);
  }
  const Bitmap title = RenderTitle();
  CopyInto(whole, title, 0, 0);
  {
    Canvas frame(display_, screen_, back_.Get(), 0, 0, state_.width, state_.height);
    frame.Put(whole, 0, 0);
    if (captionFont_) {
      const Pixel text = state_.active ? SkinPixel(skin_.Colors[scTitleTextActive], MakePixel(255, 255, 255))
                                       : SkinPixel(skin_.Colors[scTitleTextNoActive], MakePixel(192, 192, 192));
      const std::int32_t height = MeasureText(display_, *captionFont_, shownTitle_).height;
      frame.Text(*captionFont_, layout_.text.left, layout_.text.top + (layout_.text.Height() - height) / 2,
                 FitCaption(display_, *captionFont_, shownTitle_, layout_.text.Width()), text, layout_.text);
    }
  }
  const Rect client = ClientArea();
  if (hooks_.paintClient && !client.Empty()) {
    Canvas inside(display_, screen_, back_.Get(), client.left, client.top, client.Width(), client.Height());
    hooks_.paintClient(inside);
  }
  if (shapeWidth_ != state_.width || shapeHeight_ != state_.height || shapeActive_ != state_.active) {
    const std::vector<Rect> rects = WindowRegionRects(skin_, state_, borders_, &title);
    std::vector<XRectangle> shape;
    shape.reserve(rects.size());
    for (const Rect& r : rects)
      shape.push_back({static_cast<short>(r.left), static_cast<short>(r.top), static_cast<unsigned short>(r.Width()),
                       static_cast<unsigned short>(r.Height())});
    XShapeCombineRectangles(display_, window_.Get(), ShapeBounding, 0, 0, shape.data(), static_cast<int>(shape.size()),
                            ShapeSet, Unsorted);
    shapeWidth_ = state_.width;
    shapeHeight_ = state_.height;
    shapeActive_ = state_.active;
  }
  Present();
}

void SkinnedWindow::Redraw() { Paint(); }

void SkinnedWindow::Present() {
  if (!back_) {
    Paint();
    return;
  }
  const ScopedGc gc(display_, XCreateGC(display_, window_.Get(), 0, nullptr));
  XCopyArea(display_, back_.Get(), window_.Get(), gc.Get(), 0, 0, static_cast<unsigned>(state_.width),
            static_cast<unsigned>(state_.height), 0, 0);
  XFlush(display_);
}

}  // namespace pimblo::x11
