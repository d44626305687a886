#include "x11/tray_icon.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <string>

#include "x11/error_trap.h"
#include "x11/pixel_format.h"

namespace pimblo::x11 {
namespace {

// The tray's opcodes, sent to its window as _NET_SYSTEM_TRAY_OPCODE.
constexpr long kRequestDock = 0;
// The XEmbed messages we act on, and the info flag that asks the embedder to map us.
constexpr long kXEmbedEmbeddedNotify = 0;
constexpr long kXEmbedVersion = 0;
constexpr long kXEmbedMapped = 1;
// The buttons that open the menu, as on Windows: the left and the right one.
constexpr unsigned kLeftButton = Button1;
constexpr unsigned kRightButton = Button3;
// The side the icon window asks for until the tray has given it a size: the smallest picture's.
constexpr int kFirstSide = 16;
// Where the tip goes: from the pointer's hot spot down to the tip's top, or from the tip's bottom up
// to the icon's top.
constexpr int kTipBelowPointer = 20;
constexpr int kTipAboveIcon = 2;
constexpr long kIconEvents = ExposureMask | StructureNotifyMask | ButtonPressMask | EnterWindowMask |
                             LeaveWindowMask | PointerMotionMask;

Atom Intern(Display* display, const std::string& name) { return XInternAtom(display, name.c_str(), False); }

// Adds `events` to what this client selects on a window it does not own; false when the window is gone.
bool AddEvents(Display* display, Window window, long events) {
  ErrorTrap trap(display);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  XSelectInput(display, window, attributes.your_event_mask | events);
  return trap.FirstError() == Success;
}

// The pixel value of an opaque colour in a TrueColor visual; the bits no colour channel uses are
// alpha in a 32-bit visual and are set (opaque). A colour-mapped visual gets black or white.
unsigned long PixelValue(const Visual* visual, int depth, Pixel p, Display* display, int screen) {
  if (visual->red_mask == 0 || visual->green_mask == 0 || visual->blue_mask == 0) {
    const unsigned brightness = (RedOf(p) * 3u + GreenOf(p) * 6u + BlueOf(p)) / 10u;
    return brightness >= 128 ? WhitePixel(display, screen) : BlackPixel(display, screen);
  }
  unsigned long value =
      NativePixel(p, {static_cast<std::uint32_t>(visual->red_mask), static_cast<std::uint32_t>(visual->green_mask),
                      static_cast<std::uint32_t>(visual->blue_mask)});
  const unsigned long all = depth >= 32 ? 0xFFFFFFFFul : (1ul << depth) - 1;
  value |= all & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
  return value;
}

// The visual a tray asks its icons to use, when it names one.
std::optional<VisualID> TrayVisual(Display* display, Window tray, Atom property) {
  ErrorTrap trap(display);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<VisualID> visual;
  if (XGetWindowProperty(display, tray, property, 0, 1, False, XA_VISUALID, &type, &format, &count, &after, &data) ==
          Success &&
      type == XA_VISUALID && format == 32 && count == 1)
    visual = static_cast<VisualID>(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return visual;
}

}  // namespace

TrayIcon::TrayIcon(Display* display, std::vector<IconPicture> pictures, std::string tip, PressHandler onPress)
    : display_(display),
      screen_(DefaultScreen(display)),
      root_(RootWindow(display, screen_)),
      selection_(Intern(display, "_NET_SYSTEM_TRAY_S" + std::to_string(screen_))),
      manager_(Intern(display, "MANAGER")),
      opcode_(Intern(display, "_NET_SYSTEM_TRAY_OPCODE")),
      visualProperty_(Intern(display, "_NET_SYSTEM_TRAY_VISUAL")),
      xembed_(Intern(display, "_XEMBED")),
      xembedInfo_(Intern(display, "_XEMBED_INFO")),
      pictures_(std::move(pictures)),
      tip_(std::move(tip)),
      onPress_(std::move(onPress)),
      tipWindow_(display, screen_) {
  assert(!pictures_.empty() && "the icon has a picture to show");
  // A new tray announces itself to the root window's structure listeners.
  AddEvents(display_, root_, StructureNotifyMask);
  FindTray();
}

TrayIcon::~TrayIcon() {
  DropIconWindow();
  XFlush(display_);
}

void TrayIcon::FindTray() {
  const Window owner = XGetSelectionOwner(display_, selection_);
  if (owner != None) DockInto(owner);
}

void TrayIcon::DockInto(Window tray) {
  if (tray == tray_ && window_) return;  // the same tray announcing itself again
  Undock();
  // Watching the tray first: should it go before the request reaches it, we hear of it.
  if (!AddEvents(display_, tray, StructureNotifyMask)) return;
  tray_ = tray;
  visual_ = DefaultVisual(display_, screen_);
  depth_ = DefaultDepth(display_, screen_);
  if (const auto id = TrayVisual(display_, tray, visualProperty_)) {
    XVisualInfo wanted{};
    wanted.visualid = *id;
    wanted.screen = screen_;
    int count = 0;
    if (XVisualInfo* found = XGetVisualInfo(display_, VisualIDMask | VisualScreenMask, &wanted, &count)) {
      if (count > 0) {
        visual_ = found[0].visual;
        depth_ = found[0].depth;
      }
      XFree(found);
    }
  }
  CreateIconWindow();

  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = tray;
  request.xclient.message_type = opcode_;
  request.xclient.format = 32;
  request.xclient.data.l[0] = CurrentTime;
  request.xclient.data.l[1] = kRequestDock;
  request.xclient.data.l[2] = static_cast<long>(window_.Get());
  ErrorTrap trap(display_);
  XSendEvent(display_, tray, False, NoEventMask, &request);
}

void TrayIcon::Undock() {
  HideTip();
  DropIconWindow();
  tray_ = None;
  docked_ = false;
}

void TrayIcon::CreateIconWindow() {
  XSetWindowAttributes attributes{};
  unsigned long mask = CWEventMask;
  attributes.event_mask = kIconEvents;
  if (visual_ == DefaultVisual(display_, screen_)) {
    attributes.background_pixmap = ParentRelative;  // the tray's own background shows around the icon
    mask |= CWBackPixmap;
  } else {
    colormap_ = ScopedColormap(display_, XCreateColormap(display_, root_, visual_, AllocNone));
    attributes.colormap = colormap_.Get();
    attributes.background_pixel = 0;  // see-through in the tray's visual with alpha
    attributes.border_pixel = 0;
    mask |= CWColormap | CWBackPixel | CWBorderPixel;
  }
  width_ = height_ = kFirstSide;
  window_ = ScopedWindow(display_, XCreateWindow(display_, root_, 0, 0, kFirstSide, kFirstSide, 0, depth_, InputOutput,
                                                 visual_, mask, &attributes));
  const long info[] = {kXEmbedVersion, kXEmbedMapped};
  XChangeProperty(display_, window_.Get(), xembedInfo_, xembedInfo_, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(info), 2);
  AskForSide(kFirstSide);
  Render();
}

void TrayIcon::AskForSide(int side) {
  // Trays that size their icons by what the icon asks for read its normal hints, and watch them.
  XSizeHints hints{};
  hints.flags = PMinSize | PBaseSize;
  hints.min_width = hints.min_height = hints.base_width = hints.base_height = side;
  XSetWMNormalHints(display_, window_.Get(), &hints);
  askedSide_ = side;
}

void TrayIcon::DropIconWindow() {
  // The tray may have destroyed the window with its own already.
  ErrorTrap trap(display_);
  gc_ = {};
  picture_ = {};
  opaque_ = {};
  window_ = {};
  colormap_ = {};
  pictureSide_ = 0;
}

void TrayIcon::Render() {
  const int side = std::min(width_, height_);
  if (side <= 0 || side == pictureSide_) return;
  const IconPicture& source = NearestIconPicture(pictures_, side);
  XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(side), static_cast<unsigned>(side), 32, 0);
  assert(image && "an image of the window's own visual can be made");
  image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line) * side, 1));
  const int bytesPerRow = (side + 7) / 8;
  std::vector<char> opaqueBits(static_cast<std::size_t>(bytesPerRow * side), 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      // Nearest neighbour from pixel centres: the picture stays hard-edged pixel art.
      const int sx = (2 * x + 1) * source.pixels.width / (2 * side);
      const int sy = (2 * y + 1) * source.pixels.height / (2 * side);
      if (source.clear.IsTransparent(sx, sy)) continue;
      XPutPixel(image, x, y, PixelValue(visual_, depth_, source.pixels.At(sx, sy), display_, screen_));
      opaqueBits[static_cast<std::size_t>(y * bytesPerRow + x / 8)] |= static_cast<char>(1 << (x % 8));
    }
  picture_ = ScopedPixmap(display_, XCreatePixmap(display_, window_.Get(), static_cast<unsigned>(side),
                                                  static_cast<unsigned>(side), static_cast<unsigned>(depth_)));
  {
    const ScopedGc put(display_, XCreateGC(display_, picture_.Get(), 0, nullptr));
    XPutImage(display_, picture_.Get(), put.Get(), image, 0, 0, 0, 0, static_cast<unsigned>(side),
              static_cast<unsigned>(side));
  }
  XDestroyImage(image);  // frees the pixels too
  opaque_ = ScopedPixmap(display_, XCreateBitmapFromData(display_, window_.Get(), opaqueBits.data(),
                                                         static_cast<unsigned>(side), static_cast<unsigned>(side)));
  XGCValues values{};
  values.clip_mask = opaque_.Get();
  values.clip_x_origin = (width_ - side) / 2;
  values.clip_y_origin = (height_ - side) / 2;
  values.graphics_exposures = False;
  gc_ = ScopedGc(display_, XCreateGC(display_, window_.Get(), GCClipMask | GCClipXOrigin | GCClipYOrigin |
                                                                 GCGraphicsExposures, &values));
  pictureSide_ = side;
}

void TrayIcon::Paint() {
  if (!picture_) return;
  XCopyArea(display_, picture_.Get(), window_.Get(), gc_.Get(), 0, 0, static_cast<unsigned>(pictureSide_),
            static_cast<unsigned>(pictureSide_), (width_ - pictureSide_) / 2, (height_ - pictureSide_) / 2);
}

void TrayIcon::HideTip() {
  tipDue_.reset();
  tipWindow_.Hide();
}

std::optional<TrayIcon::Clock::duration> TrayIcon::TimeUntilDue(Clock::time_point now) const {
  if (!tipDue_) return std::nullopt;
  return std::max(Clock::duration::zero(), *tipDue_ - now);
}

void TrayIcon::OnTime(Clock::time_point now) {
  if (!tipDue_ || now < *tipDue_) return;
  tipDue_.reset();
  // Below the pointer, clear of its arrow; above the icon where the screen ends below it.
  tipWindow_.Show(tip_, pointer_.x, pointer_.y + kTipBelowPointer, iconTop_ - kTipAboveIcon);
}

bool TrayIcon::Handle(const XEvent& event) {
  if (tipWindow_.Handle(event)) return true;
  switch (event.type) {
    case ClientMessage: {
      const XClientMessageEvent& message = event.xclient;
      if (message.window == root_ && message.message_type == manager_ && message.format == 32 &&
          static_cast<Atom>(message.data.l[1]) == selection_) {
        DockInto(static_cast<Window>(message.data.l[2]));
        return true;
      }
      if (window_ && message.window == window_.Get() && message.message_type == xembed_) {
        if (message.data.l[1] == kXEmbedEmbeddedNotify) docked_ = true;
        return true;
      }
      return false;
    }
    case DestroyNotify:
      if (tray_ != None && event.xdestroywindow.window == tray_) {
        Undock();
        FindTray();  // a tray that took over before this one went would have announced itself
        return true;
      }
      if (window_ && event.xdestroywindow.window == window_.Get()) {
        // Destroyed with a tray that still owns the selection? Ask again with a new window.
        const Window tray = tray_;
        Undock();
        if (tray != None) DockInto(tray);
        return true;
      }
      return false;
    default:
      break;
  }
  if (!window_ || event.xany.window != window_.Get()) return false;
  switch (event.type) {
    case ReparentNotify:
      if (event.xreparent.parent == root_) {
        // Handed back to the root: the tray closed and kept us from going down with it.
        Undock();
        FindTray();
      } else {
        docked_ = true;
      }
      break;
    case ConfigureNotify:
      if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
        width_ = event.xconfigure.width;
        height_ = event.xconfigure.height;
        // A tray gives its thickness across and what we asked for along: ask for a square of it.
        if (const int side = std::max(width_, height_); side != askedSide_ && width_ != height_) AskForSide(side);
        Render();
      }
      break;
    case Expose:
      if (event.xexpose.count == 0) Paint();
      break;
    case EnterNotify:
      pointer_ = {event.xcrossing.x_root, event.xcrossing.y_root};
      iconTop_ = event.xcrossing.y_root - event.xcrossing.y;
      if (event.xcrossing.mode == NotifyNormal && !tipWindow_.Shown()) tipDue_ = Clock::now() + kTipDelay;
      break;
    case MotionNotify:
      pointer_ = {event.xmotion.x_root, event.xmotion.y_root};
      iconTop_ = event.xmotion.y_root - event.xmotion.y;
      break;
    case LeaveNotify:
      HideTip();
      break;
    case ButtonPress:
      if (event.xbutton.button == kLeftButton || event.xbutton.button == kRightButton) {
        HideTip();
        onPress_({event.xbutton.x_root, event.xbutton.y_root});
      }
      break;
    default:
      break;
  }
  return true;
}

}  // namespace pimblo::x11
