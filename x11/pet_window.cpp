#include "x11/pet_window.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>

#include <cassert>
#include <cstdlib>
#include <stdexcept>

#include "sprites/region_scan.h"

namespace pimblo::x11 {
namespace {

// The buttons of the core protocol's pointer; 4 and up are the wheel's.
constexpr unsigned kLeftButton = Button1;
constexpr unsigned kMiddleButton = Button2;
constexpr unsigned kRightButton = Button3;

constexpr long kPetEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | LeaveWindowMask;
// While held the pet follows the cursor the engine reads at each tick: no motion events wanted.
constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask;

std::optional<MouseButton> ButtonOf(unsigned button) {
  switch (button) {
    case kLeftButton: return MouseButton::Left;
    case kMiddleButton: return MouseButton::Middle;
    case kRightButton: return MouseButton::Right;
    default: return std::nullopt;
  }
}

PixelFormat FormatOf(const Visual& visual) {
  if (visual.c_class != TrueColor && visual.c_class != DirectColor)
    throw std::runtime_error("the screen's visual is not true colour; the pet cannot be drawn on it");
  return {static_cast<std::uint32_t>(visual.red_mask), static_cast<std::uint32_t>(visual.green_mask),
          static_cast<std::uint32_t>(visual.blue_mask)};
}

}  // namespace

void X11PetWindow::ImageDeleter::operator()(XImage* image) const { XDestroyImage(image); }

X11PetWindow::X11PetWindow(Display* display, X11Desktop& desktop, RandomSource& random, const double& speedFactor,
                           const PetSheets& sheets, std::function<void(ScreenPoint)> popupMenu, ScreenPoint at,
                           std::uint32_t blinkSeed)
    : display_(display),
      desktop_(desktop),
      sheets_(sheets),
      popupMenu_(std::move(popupMenu)),
      left_(at.x),
      top_(at.y),
      format_(FormatOf(*DefaultVisual(display, DefaultScreen(display)))),
      depth_(DefaultDepth(display, DefaultScreen(display))),
      visual_(DefaultVisual(display, DefaultScreen(display))),
      cursor_(display, XCreateFontCursor(display, XC_hand2)) {
  int eventBase = 0, errorBase = 0;
  if (!XShapeQueryExtension(display_, &eventBase, &errorBase))
    throw std::runtime_error("the X server has no Shape extension; the pet cannot be cut to its outline");

  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;  // no frame, and the window manager neither places nor focuses it
  attributes.background_pixmap = None;  // nothing painted before the picture
  attributes.border_pixel = 0;
  attributes.event_mask = kPetEvents;
  attributes.cursor = cursor_.Get();
  attributes.colormap = DefaultColormap(display_, DefaultScreen(display_));
  window_ = ScopedWindow(display_, XCreateWindow(display_, DefaultRootWindow(display_), left_, top_,
                                                 static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                                                 depth_, InputOutput, visual_,
                                                 CWOverrideRedirect | CWBackPixmap | CWBorderPixel | CWEventMask |
                                                     CWCursor | CWColormap,
                                                 &attributes));

  // Names for the user's tools and the tests; the keyboard is never ours.
  XStoreName(display_, window_.Get(), "Pimblo");
  XClassHint classHint{const_cast<char*>("pimblo"), const_cast<char*>("Pimblo")};
  XSetClassHint(display_, window_.Get(), &classHint);
  XWMHints hints{};
  hints.flags = InputHint;
  hints.input = False;
  XSetWMHints(display_, window_.Get(), &hints);

  gc_ = ScopedGc(display_, XCreateGC(display_, window_.Get(), 0, nullptr));
  SetShape({});  // nothing shows until the first picture
  pet_.emplace(desktop_, *this, random, speedFactor, blinkSeed);
}

X11PetWindow::~X11PetWindow() {
  if (grabbed_) XUngrabPointer(display_, CurrentTime);
}

void X11PetWindow::Show() { XMapRaised(display_, window_.Get()); }

bool X11PetWindow::Handle(const XEvent& event) {
  if (event.xany.window != window_.Get()) return false;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Paint();
      break;
    case ButtonPress: MouseDown(event.xbutton); break;
    case ButtonRelease: MouseUp(event.xbutton); break;
    case LeaveNotify:
      // Another window took the pointer from the held pet (the program's own
      // menu, which may grab it over ours): the pet is let go as if the button
      // had been released, instead of following the cursor on.
      if (event.xcrossing.mode == NotifyGrab && grabbed_) {
        grabbed_ = false;
        if (pet_->Dragging) pet_->ImageMouseUp(MouseButton::Left, 0, 0);
      }
      break;
    default: break;
  }
  return true;
}

// A diagonal step is one move: no one sees the corner between the old and the new place.
void X11PetWindow::MoveTo(ScreenPoint topLeft) {
  if (topLeft.x == left_ && topLeft.y == top_) return;
  left_ = topLeft.x;
  top_ = topLeft.y;
  XMoveWindow(display_, window_.Get(), left_, top_);
}

void X11PetWindow::SetWidth(std::int32_t width) {
  assert(width > 0 && "an X window has a positive size");
  width_ = width;
  XResizeWindow(display_, window_.Get(), static_cast<unsigned>(width_), static_cast<unsigned>(height_));
}

void X11PetWindow::SetHeight(std::int32_t height) {
  assert(height > 0 && "an X window has a positive size");
  height_ = height;
  XResizeWindow(display_, window_.Get(), static_cast<unsigned>(width_), static_cast<unsigned>(height_));
}

void X11PetWindow::BringToTop() { XRaiseWindow(display_, window_.Get()); }

void X11PetWindow::PopupContextMenu(ScreenPoint at) {
  if (popupMenu_) popupMenu_(at);
}

void X11PetWindow::PreparePicture() {
  if (!pictureIsBitmap_) picture_ = Bitmap();
  pictureIsBitmap_ = true;
  drawn_.clear();
  drewAll_ = true;
}

void X11PetWindow::DrawFrame(SheetId sheet, std::int32_t index) {
  const ImageList& list = sheets_.Get(sheet);
  if (index < 0 || index >= list.Count()) {
    drewAll_ = false;
    return;
  }
  drawn_.emplace_back(static_cast<int>(sheet), index);
  list.Draw(index, picture_);
}

void X11PetWindow::ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) {
  if (picture_.width == 0 || picture_.height == 0) {
    // No shape could be made: the whole square shows.
    SetShape({Rect{0, 0, width_, height_}});
    return;
  }
  SetShape(ShapeOf(key, tolerance));
}

// The picture's opaque rectangles: the pose's kept ones, scanned the first time the
// pose is shown; scanned afresh when a frame was skipped (the picture then keeps
// some of the one before).
const std::vector<Rect>& X11PetWindow::ShapeOf(std::uint32_t key, std::uint32_t tolerance) {
  if (!drewAll_ || drawn_.empty()) {
    scratch_ = ScanBitmap(picture_, key, tolerance).AllRects();
    return scratch_;
  }
  ShapeKey pose{drawn_, key, tolerance};
  auto kept = shapes_.find(pose);
  if (kept == shapes_.end())
    kept = shapes_.emplace(std::move(pose), ScanBitmap(picture_, key, tolerance).AllRects()).first;
  return kept->second;
}

void X11PetWindow::SetShape(const std::vector<Rect>& opaque) {
  std::vector<XRectangle> rects;
  rects.reserve(opaque.size());
  for (const Rect& r : opaque) {
    assert(!r.Empty() && r.left >= 0 && r.top >= 0 && "a shape's rectangles lie in the window");
    rects.push_back({static_cast<short>(r.left), static_cast<short>(r.top), static_cast<unsigned short>(r.Width()),
                     static_cast<unsigned short>(r.Height())});
  }
  // The scan gives its runs row by row, left to right, each one row high: banded.
  for (int kind : {ShapeBounding, ShapeInput})
    XShapeCombineRectangles(display_, window_.Get(), kind, 0, 0, rects.data(), static_cast<int>(rects.size()),
                            ShapeSet, YXBanded);
  desktop_.SetPet(window_.Get(), opaque);
}

// The picture goes into the image at once; the window is painted from it now and on every Expose.
void X11PetWindow::Invalidate() {
  if (picture_.width == 0 || picture_.height == 0) {
    image_.reset();
    return;
  }
  if (!image_ || image_->width != picture_.width || image_->height != picture_.height) {
    image_.reset();
    XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(picture_.width), static_cast<unsigned>(picture_.height), 32, 0);
    if (!image) throw std::runtime_error("no image could be made for the pet's picture");
    image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line),
                                                 static_cast<std::size_t>(image->height)));
    if (!image->data) {
      XDestroyImage(image);
      throw std::bad_alloc();
    }
    image_.reset(image);
  }
  // XPutPixel writes in the image's own byte order and pixel size.
  for (std::int32_t y = 0; y < picture_.height; ++y)
    for (std::int32_t x = 0; x < picture_.width; ++x) XPutPixel(image_.get(), x, y, NativePixel(picture_.At(x, y), format_));
  Paint();
}

void X11PetWindow::Paint() {
  if (!image_) return;
  XPutImage(display_, window_.Get(), gc_.Get(), image_.get(), 0, 0, 0, 0, static_cast<unsigned>(image_->width),
            static_cast<unsigned>(image_->height));
}

void X11PetWindow::MouseDown(const XButtonEvent& event) {
  const std::optional<MouseButton> button = ButtonOf(event.button);
  if (!button) return;
  if (*button != MouseButton::Right) {
    // The pointer stays ours while the pet is held, wherever it goes.
    grabbed_ = XGrabPointer(display_, window_.Get(), False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                            cursor_.Get(), event.time) == GrabSuccess;
  }
  pet_->ImageMouseDown(*button, event.x, event.y);
}

void X11PetWindow::MouseUp(const XButtonEvent& event) {
  const std::optional<MouseButton> button = ButtonOf(event.button);
  if (!button) return;
  if (grabbed_) {
    XUngrabPointer(display_, event.time);
    grabbed_ = false;
  }
  pet_->ImageMouseUp(*button, event.x, event.y);
}

}  // namespace pimblo::x11
