#include "x11/popup_menu.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <cassert>
#include <thread>

#include "look/menu_colors.h"

namespace pimblo::x11 {

namespace {

// How long the grabs are tried for while another client still holds them.
constexpr std::chrono::milliseconds kGrabPatience{1000};
constexpr std::chrono::milliseconds kGrabRetry{10};
// The look's colours for the frame, with the system colours: its menu border
// and, for the margin, its item background.
constexpr int kBorderDarkening = 90;
constexpr int kMarginLightening = 86;

constexpr long kPointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask;

}  // namespace

PopupMenu::PopupMenu(Display* display, MenuTree& menu, int x, int y, MenuFrame frame)
    : display_(display), menu_(menu), frame_(frame) {
  const int screen = DefaultScreen(display_);
  Visual* visual = DefaultVisual(display_, screen);
  const int depth = DefaultDepth(display_, screen);
  const Colormap colormap = DefaultColormap(display_, screen);

  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.save_under = True;
  attributes.event_mask = ExposureMask | kPointerEvents | KeyPressMask;
  window_ = ScopedWindow(display_, XCreateWindow(display_, RootWindow(display_, screen), 0, 0, 1, 1, 0, depth,
                                                 InputOutput, visual, CWOverrideRedirect | CWSaveUnder | CWEventMask,
                                                 &attributes));

  // Known to compositors as a menu, which they may give a menu's shadow.
  const Atom type = XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False);
  const Atom popupMenu = XInternAtom(display_, "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
  XChangeProperty(display_, window_.Get(), type, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&popupMenu), 1);
  // Named for the user's tools and the tests.
  XClassHint classHint{const_cast<char*>("pimblo-menu"), const_cast<char*>("Pimblo")};
  XSetClassHint(display_, window_.Get(), &classHint);

  // Measured with the font the painting will use, on the window itself. The measuring
  // canvas lives until the painting one has its font: Xft then hands that the same
  // face instead of loading it again.
  std::vector<MenuSize> sizes;
  XMenuCanvas measuring(display_, window_.Get(), 1, 1, visual, colormap, depth);
  MenuEntry& root = menu_.Items();
  for (int i = 0; i < root.Count(); ++i) {
    MenuEntry& entry = root.Items(i);
    int width = 0, height = 0;
    if (entry.OnMeasureItem) entry.OnMeasureItem.Call(entry, measuring, width, height);
    sizes.push_back({width, height});
  }
  layout_ = LayOutMenu(sizes);
  const Rect screenArea{0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
  const MenuOrigin origin = PlaceMenu(x, y, layout_.width, layout_.height, screenArea);
  const auto width = static_cast<unsigned>(layout_.width);
  const auto height = static_cast<unsigned>(layout_.height);
  XMoveResizeWindow(display_, window_.Get(), origin.x, origin.y, width, height);

  picture_ = ScopedPixmap(display_, XCreatePixmap(display_, window_.Get(), width, height, static_cast<unsigned>(depth)));
  canvas_ = std::make_unique<XMenuCanvas>(display_, picture_.Get(), layout_.width, layout_.height, visual, colormap,
                                          depth);
  PaintAll();
  Show();
}

PopupMenu::~PopupMenu() {
  if (state_ == MenuState::Open) Close(MenuState::Dismissed, nullptr);
  canvas_.reset();  // before the picture it draws on
}

void PopupMenu::Show() {
  XMapRaised(display_, window_.Get());
  const auto giveUp = std::chrono::steady_clock::now() + kGrabPatience;
  for (;;) {
    const int pointer = XGrabPointer(display_, window_.Get(), False, static_cast<unsigned>(kPointerEvents),
                                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    if (pointer == GrabSuccess) {
      if (XGrabKeyboard(display_, window_.Get(), False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess) {
        grabbed_ = true;
        break;
      }
      XUngrabPointer(display_, CurrentTime);
    }
    if (std::chrono::steady_clock::now() >= giveUp) break;
    std::this_thread::sleep_for(kGrabRetry);
  }
  if (!grabbed_) Close(MenuState::Dismissed, nullptr);
  XFlush(display_);
}

void PopupMenu::Close(MenuState state, MenuEntry* chosen) {
  assert(state != MenuState::Open && "a menu closes chosen or dismissed");
  state_ = state;
  chosen_ = chosen;
  if (grabbed_) {
    XUngrabKeyboard(display_, CurrentTime);
    XUngrabPointer(display_, CurrentTime);
    grabbed_ = false;
  }
  XUnmapWindow(display_, window_.Get());
  XFlush(display_);
}

MenuEntry& PopupMenu::Entry(int index) const { return menu_.Items().Items(index); }

bool PopupMenu::Selectable(int index) const {
  const MenuEntry& entry = Entry(index);
  return !entry.IsLine() && entry.Enabled;
}

void PopupMenu::PaintItem(int index) {
  MenuEntry& entry = Entry(index);
  const Rect& rect = layout_.items[static_cast<std::size_t>(index)];
  if (entry.OnDrawItem) entry.OnDrawItem.Call(entry, *canvas_, rect, selected_ == index);
}

void PopupMenu::PaintFrame() {
  const bool flat = frame_ == MenuFrame::Flat;
  const ColorRef border =
      flat ? DarkenColor(*canvas_, clBtnFace, kBorderDarkening) : ColorToRGB(*canvas_, clBtnShadow);
  const ColorRef margin = flat ? LightenColor(*canvas_, clBtnFace, kMarginLightening) : ColorToRGB(*canvas_, clMenu);
  const int w = layout_.width, h = layout_.height;
  constexpr int kFrame = kMenuBorder + kMenuMargin;
  canvas_->FillRect({0, 0, w, kFrame}, margin);
  canvas_->FillRect({0, h - kFrame, w, h}, margin);  // also over the row the last item paints below itself
  canvas_->FillRect({0, 0, kFrame, h}, margin);
  canvas_->FillRect({w - kFrame, 0, w, h}, margin);
  canvas_->FrameRect({0, 0, w, h}, border);
}

void PopupMenu::PaintAll() {
  for (int i = 0; i < static_cast<int>(layout_.items.size()); ++i) PaintItem(i);
  PaintFrame();
}

void PopupMenu::Select(std::optional<int> index) {
  if (index == selected_) return;
  const std::optional<int> before = selected_;
  selected_ = index;
  if (before) PaintItem(*before);
  if (selected_) PaintItem(*selected_);
  PaintFrame();
  XCopyArea(display_, picture_.Get(), window_.Get(), DefaultGC(display_, DefaultScreen(display_)), 0, 0,
            static_cast<unsigned>(layout_.width), static_cast<unsigned>(layout_.height), 0, 0);
  XFlush(display_);
}

bool PopupMenu::Owns(const XEvent& event) const { return event.xany.window == window_.Get(); }

MenuState PopupMenu::Handle(const XEvent& event) {
  if (state_ != MenuState::Open || !Owns(event)) return state_;
  switch (event.type) {
    case Expose:
      XCopyArea(display_, picture_.Get(), window_.Get(), DefaultGC(display_, DefaultScreen(display_)),
                event.xexpose.x, event.xexpose.y, static_cast<unsigned>(event.xexpose.width),
                static_cast<unsigned>(event.xexpose.height), event.xexpose.x, event.xexpose.y);
      break;
    case MotionNotify: {
      const std::optional<int> under = ItemAt(layout_, event.xmotion.x, event.xmotion.y);
      Select(under && !Entry(*under).IsLine() ? under : std::nullopt);
      break;
    }
    case LeaveNotify:
      Select(std::nullopt);
      break;
    case ButtonPress: {
      const bool inside = event.xbutton.x >= 0 && event.xbutton.y >= 0 && event.xbutton.x < layout_.width &&
                          event.xbutton.y < layout_.height;
      if (!inside) Close(MenuState::Dismissed, nullptr);
      break;
    }
    case ButtonRelease: {
      const std::optional<int> under = ItemAt(layout_, event.xbutton.x, event.xbutton.y);
      if (under && Selectable(*under)) Close(MenuState::Chosen, &Entry(*under));
      break;
    }
    case KeyPress: {
      XKeyEvent key = event.xkey;
      const KeySym sym = XLookupKeysym(&key, 0);
      std::vector<bool> selectable;
      for (int i = 0; i < static_cast<int>(layout_.items.size()); ++i) selectable.push_back(Selectable(i));
      if (sym == XK_Down || sym == XK_KP_Down) Select(NextSelectable(selectable, selected_, 1));
      else if (sym == XK_Up || sym == XK_KP_Up) Select(NextSelectable(selectable, selected_, -1));
      else if (sym == XK_Escape) Close(MenuState::Dismissed, nullptr);
      else if ((sym == XK_Return || sym == XK_KP_Enter) && selected_ && Selectable(*selected_))
        Close(MenuState::Chosen, &Entry(*selected_));
      break;
    }
    default:
      break;
  }
  return state_;
}

MenuEntry* RunPopupMenu(Display* display, MenuTree& menu, int x, int y, const std::function<void()>& tick,
                        const std::function<void(XEvent&)>& other, MenuFrame frame) {
  PopupMenu popup(display, menu, x, y, frame);
  auto nextTick = std::chrono::steady_clock::now() + kMenuTickInterval;
  while (popup.State() == MenuState::Open) {
    while (popup.State() == MenuState::Open && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (popup.Owns(event)) popup.Handle(event);
      else if (other) other(event);
    }
    if (popup.State() != MenuState::Open) break;
    const auto now = std::chrono::steady_clock::now();
    if (now >= nextTick) {
      if (tick) tick();
      nextTick = now + kMenuTickInterval;
      continue;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextTick - now);
    poll(&connection, 1, static_cast<int>(wait.count()));
  }
  return popup.Chosen();
}

}  // namespace pimblo::x11
