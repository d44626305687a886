#include "x11/xft_canvas.h"

#include <X11/Xutil.h>

#include <bit>
#include <cassert>

namespace pimblo::x11 {

namespace {
XRenderColor RenderColour(Pixel colour) {
  constexpr unsigned short kScale = 257;  // 0xFF to 0xFFFF
  return {static_cast<unsigned short>(RedOf(colour) * kScale), static_cast<unsigned short>(GreenOf(colour) * kScale),
          static_cast<unsigned short>(BlueOf(colour) * kScale), 0xFFFF};
}
}  // namespace

void LetClosedFontsGo(Display* display, int screen) {
  static Display* done = nullptr;
  if (done == display) return;
  FcPattern* defaults = FcPatternCreate();
  if (!defaults) return;
  XftDefaultSubstitute(display, screen, defaults);  // what the display's resources say
  FcPatternDel(defaults, XFT_MAX_UNREF_FONTS);
  FcPatternAddInteger(defaults, XFT_MAX_UNREF_FONTS, 0);
  if (XftDefaultSet(display, defaults)) done = display;  // the display's now
}

std::optional<XftFontOwner> OpenUiFont(Display* display, int screen, int pixelSize) {
  LetClosedFontsGo(display, screen);
  const std::string name = "sans-serif:lang=zh-cn:pixelsize=" + std::to_string(pixelSize);
  XftFont* font = XftFontOpenName(display, screen, name.c_str());
  if (!font) return std::nullopt;
  return XftFontOwner(display, font);
}

TextExtent MeasureText(Display* display, const XftFontOwner& font, std::string_view utf8) {
  if (!font) return {};
  XGlyphInfo info{};
  XftTextExtentsUtf8(display, font.Get(), reinterpret_cast<const FcChar8*>(utf8.data()),
                     static_cast<int>(utf8.size()), &info);
  return {info.xOff, font.Get()->ascent + font.Get()->descent};
}

Canvas::Canvas(Display* display, int screen, Drawable drawable, std::int32_t originX, std::int32_t originY,
               std::int32_t width, std::int32_t height)
    : display_(display), screen_(screen), drawable_(drawable), originX_(originX), originY_(originY), width_(width),
      height_(height), gc_(XCreateGC(display, drawable, 0, nullptr)) {}

Canvas::~Canvas() {
  if (draw_) XftDrawDestroy(draw_);
  XFreeGC(display_, gc_);
}

// The Bitmap's pixels are 0x00RRGGBB words in the host's order, which is what a 24-bit TrueColor
// visual of red mask 0xFF0000 takes in a 32-bit ZPixmap of the host's byte order.
void Canvas::Put(const Bitmap& picture, std::int32_t x, std::int32_t y) {
  if (picture.width <= 0 || picture.height <= 0) return;
  static_assert(std::endian::native == std::endian::little, "the pixels are put as little-endian words");
  Visual* visual = DefaultVisual(display_, screen_);
  XImage* image = XCreateImage(display_, visual, static_cast<unsigned>(DefaultDepth(display_, screen_)), ZPixmap, 0,
                               reinterpret_cast<char*>(const_cast<Pixel*>(picture.pixels.data())),
                               static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height), 32,
                               picture.width * 4);
  if (!image) return;
  image->byte_order = LSBFirst;
  XPutImage(display_, drawable_, gc_, image, 0, 0, originX_ + x, originY_ + y, static_cast<unsigned>(picture.width),
            static_cast<unsigned>(picture.height));
  image->data = nullptr;  // the pixels stay the Bitmap's
  XDestroyImage(image);
}

void Canvas::Fill(const Rect& area, Pixel colour) {
  if (area.Empty()) return;
  XSetForeground(display_, gc_, colour);
  XFillRectangle(display_, drawable_, gc_, originX_ + area.left, originY_ + area.top,
                 static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()));
}

void Canvas::Text(const XftFontOwner& font, std::int32_t x, std::int32_t top, std::string_view utf8, Pixel colour,
                  const Rect& clip) {
  if (!font || utf8.empty() || clip.Empty()) return;
  if (!draw_)
    draw_ = XftDrawCreate(display_, drawable_, DefaultVisual(display_, screen_), DefaultColormap(display_, screen_));
  if (!draw_) return;
  XRectangle r{static_cast<short>(originX_ + clip.left), static_cast<short>(originY_ + clip.top),
               static_cast<unsigned short>(clip.Width()), static_cast<unsigned short>(clip.Height())};
  XftDrawSetClipRectangles(draw_, 0, 0, &r, 1);
  const XRenderColor rc = RenderColour(colour);
  XftColor xc{};
  XftColorAllocValue(display_, DefaultVisual(display_, screen_), DefaultColormap(display_, screen_), &rc, &xc);
  XftDrawStringUtf8(draw_, &xc, font.Get(), originX_ + x, originY_ + top + font.Get()->ascent,
                    reinterpret_cast<const FcChar8*>(utf8.data()), static_cast<int>(utf8.size()));
  XftColorFree(display_, DefaultVisual(display_, screen_), DefaultColormap(display_, screen_), &xc);
}

}  // namespace pimblo::x11
