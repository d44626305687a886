#include "x11/tip_window.h"

#include <algorithm>
#include <cassert>

namespace pimblo::x11 {
namespace {

constexpr int kFontPixelSize = 12;
constexpr char kBackgroundColour[] = "#FFFFE1";  // pale yellow
constexpr char kTextColour[] = "#000000";          // the text and the border
constexpr int kBorderWidth = 1;
constexpr int kPaddingX = 3;      // between the border and the text, each side
constexpr int kPaddingY = 2;

}  // namespace

TipWindow::TipWindow(Display* display, int screen) : display_(display), screen_(screen) {}

TipWindow::~TipWindow() {
  if (draw_) XftDrawDestroy(draw_);
  for (int i = 0; i < allocatedColours_; ++i)
    XftColorFree(display_, DefaultVisual(display_, screen_), DefaultColormap(display_, screen_), &colours_[i]);
}

void TipWindow::MakeWindow() {
  Visual* visual = DefaultVisual(display_, screen_);
  const Colormap colormap = DefaultColormap(display_, screen_);
  for (const char* name : {kBackgroundColour, kTextColour}) {
    // Without both colours (a full colour map) the box is white with a black border and no text.
    if (!XftColorAllocName(display_, visual, colormap, name, &colours_[allocatedColours_])) break;
    ++allocatedColours_;
  }
  const bool coloured = allocatedColours_ == kColourCount;
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.save_under = True;
  attributes.background_pixel = coloured ? colours_[kBackground].pixel : WhitePixel(display_, screen_);
  attributes.border_pixel = coloured ? colours_[kText].pixel : BlackPixel(display_, screen_);
  attributes.event_mask = ExposureMask;
  window_ = ScopedWindow(display_, XCreateWindow(display_, RootWindow(display_, screen_), 0, 0, 1, 1, kBorderWidth,
                                                 CopyFromParent, InputOutput, CopyFromParent,
                                                 CWOverrideRedirect | CWSaveUnder | CWBackPixel | CWBorderPixel |
                                                     CWEventMask,
                                                 &attributes));
  draw_ = XftDrawCreate(display_, window_.Get(), visual, colormap);
}

void TipWindow::Show(const std::string& text, int left, int top, int bottomAbove) {
  if (!window_) MakeWindow();
  if (!font_) {
    std::optional<XftFontOwner> font = OpenUiFont(display_, screen_, kFontPixelSize);
    assert(font && "fontconfig always answers with some font");
    font_ = std::move(*font);
  }
  text_ = text;
  XGlyphInfo extents{};
  XftTextExtentsUtf8(display_, font_.Get(), reinterpret_cast<const FcChar8*>(text_.data()), static_cast<int>(text_.size()),
                     &extents);
  width_ = extents.xOff + 2 * kPaddingX;
  height_ = font_.Get()->ascent + font_.Get()->descent + 2 * kPaddingY;
  const int outerWidth = width_ + 2 * kBorderWidth, outerHeight = height_ + 2 * kBorderWidth;
  const int screenWidth = DisplayWidth(display_, screen_), screenHeight = DisplayHeight(display_, screen_);
  int y = top;
  if (y + outerHeight > screenHeight) y = bottomAbove - outerHeight;
  const int x = std::clamp(left, 0, std::max(0, screenWidth - outerWidth));
  y = std::clamp(y, 0, std::max(0, screenHeight - outerHeight));
  XMoveResizeWindow(display_, window_.Get(), x, y, static_cast<unsigned>(width_), static_cast<unsigned>(height_));
  XMapRaised(display_, window_.Get());
  shown_ = true;
  Draw();
}

void TipWindow::Hide() {
  if (window_ && shown_) XUnmapWindow(display_, window_.Get());
  shown_ = false;
  font_ = XftFontOwner();  // a hidden tip lets its face go
}

void TipWindow::Draw() {
  if (!shown_ || !draw_) return;
  XClearWindow(display_, window_.Get());
  if (allocatedColours_ == kColourCount)
    XftDrawStringUtf8(draw_, &colours_[kText], font_.Get(), kPaddingX, kPaddingY + font_.Get()->ascent,
                      reinterpret_cast<const FcChar8*>(text_.data()), static_cast<int>(text_.size()));
}

bool TipWindow::Handle(const XEvent& event) {
  if (!window_ || event.xany.window != window_.Get()) return false;
  if (event.type == Expose && event.xexpose.count == 0) Draw();
  return true;
}

}  // namespace pimblo::x11
