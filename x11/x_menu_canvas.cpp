#include "x11/x_menu_canvas.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <bit>
#include <cassert>
#include <memory>
#include <vector>

#include "look/menu_colors.h"
#include "x11/pixel_format.h"
#include "x11/system_colors.h"
#include "x11/text.h"

namespace pimblo::x11 {

namespace {

// The language that makes fontconfig prefer a font with the Chinese characters.
constexpr const char* kMenuLanguage = "zh-cn";
// The family opened when the asked one cannot be.
constexpr const char* kFallbackFamily = "sans";
// A positive LOGFONT height is the cell's; the em is about this share of it.
constexpr double kEmOfCell = 0.8;


std::vector<FcChar32> Utf32(std::wstring_view text) {
  static_assert(sizeof(wchar_t) == sizeof(FcChar32), "wide strings hold UTF-32 here");
  std::vector<FcChar32> out;
  out.reserve(text.size());
  for (wchar_t c : text) out.push_back(static_cast<FcChar32>(c));
  return out;
}

XRectangle XRectOf(const Rect& r) {
  return {static_cast<short>(r.left), static_cast<short>(r.top), static_cast<unsigned short>(std::max(0, r.Width())),
          static_cast<unsigned short>(std::max(0, r.Height()))};
}

XftFont* OpenFont(Display* display, int screen, const MenuFont& asked) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(ToUtf8(asked.Name).c_str()));
  if (!pattern) return nullptr;
  FcValue ignored;
  if (FcPatternGet(pattern, FC_LANG, 0, &ignored) != FcResultMatch)
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(kMenuLanguage));
  const double pixels = asked.Height < 0 ? -asked.Height : asked.Height > 0 ? asked.Height * kEmOfCell : -kMenuFontHeight;
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels);
  FcPatternAddInteger(pattern, FC_WEIGHT, asked.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, asked.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcResult result;
  FcPattern* match = XftFontMatch(display, screen, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return nullptr;
  XftFont* font = XftFontOpenPattern(display, match);  // takes the match
  if (!font) FcPatternDestroy(match);
  return font;
}

}  // namespace

XMenuCanvas::XMenuCanvas(Display* display, Drawable target, int width, int height, Visual* visual, Colormap colormap,
                         int depth)
    : display_(display), target_(target), width_(width), height_(height), visual_(visual), colormap_(colormap),
      depth_(depth), gc_(display, XCreateGC(display, target, 0, nullptr)),
      draw_(XftDrawCreate(display, target, visual, colormap)) {
  assert(visual->c_class == TrueColor && "the menu is drawn on a TrueColor visual");
  // One-pixel lines that leave out their end point, as the look expects.
  XSetLineAttributes(display_, gc_.Get(), 0, LineSolid, CapNotLast, JoinMiter);
  SystemMenuFont(fontAsked_);
}

XMenuCanvas::~XMenuCanvas() {
  if (draw_) XftDrawDestroy(draw_);
}

int XMenuCanvas::BitsPerPixel() { return depth_ >= 24 ? 32 : depth_; }

ColorRef XMenuCanvas::SystemColor(int index) { return DefaultSystemColor(index); }

ColorRef XMenuCanvas::NearestColor(ColorRef rgb) {
  // What the visual can show: each channel cut to the bits its mask has.
  const auto cut = [](int value, unsigned long mask) {
    const int bits = std::min(std::popcount(mask), 8);
    const int dropped = 8 - bits;
    return (value >> dropped) << dropped;
  };
  return MakeColor(cut(RedOfColor(rgb), visual_->red_mask), cut(GreenOfColor(rgb), visual_->green_mask),
                   cut(BlueOfColor(rgb), visual_->blue_mask));
}

bool XMenuCanvas::SystemMenuFont(MenuFont& font) {
  font.Name = kMenuFontFamily;
  font.Height = kMenuFontHeight;
  font.Charset = 1;  // DEFAULT_CHARSET
  font.Bold = font.Italic = font.Underline = font.StrikeOut = false;
  return true;
}

void XMenuCanvas::SetFont(const MenuFont& font) {
  if (font_ && font == fontAsked_) return;
  fontAsked_ = font;
  font_ = XftFontOwner();
}

XftFont* XMenuCanvas::Font() {
  if (font_) return font_.Get();
  const int screen = DefaultScreen(display_);
  LetClosedFontsGo(display_, screen);
  font_ = XftFontOwner(display_, OpenFont(display_, screen, fontAsked_));
  if (!font_) font_ = XftFontOwner(display_, XftFontOpenName(display_, screen, kFallbackFamily));
  assert(font_ && "some font opens");
  return font_.Get();
}

MenuSize XMenuCanvas::TextExtent(std::wstring_view text) {
  XftFont* font = Font();
  const int height = font->ascent + font->descent;
  if (text.empty()) return {0, height};
  const std::vector<FcChar32> chars = Utf32(text);
  XGlyphInfo info{};
  XftTextExtents32(display_, font, chars.data(), static_cast<int>(chars.size()), &info);
  return {info.xOff, height};
}

void XMenuCanvas::OutText(int x, int y, std::wstring_view text, ColorRef color, const Rect& clip,
                          TextOptions options) {
  if (text.empty() || clip.Empty()) return;
  XftFont* font = Font();
  XftColor xft{};
  xft.pixel = PixelOf(color);
  xft.color.red = static_cast<unsigned short>(RedOfColor(color) * 257);
  xft.color.green = static_cast<unsigned short>(GreenOfColor(color) * 257);
  xft.color.blue = static_cast<unsigned short>(BlueOfColor(color) * 257);
  xft.color.alpha = 0xFFFF;
  XRectangle area = XRectOf(clip);
  XftDrawSetClipRectangles(draw_, 0, 0, &area, 1);
  const std::vector<FcChar32> chars = Utf32(text);
  const int baseline = y + font->ascent;
  XftDrawString32(draw_, &xft, font, x, baseline, chars.data(), static_cast<int>(chars.size()));
  XftDrawSetClip(draw_, nullptr);

  if (options.Accelerator < 0 || static_cast<std::size_t>(options.Accelerator) >= text.size()) return;
  // The accelerator's underline: one pixel below the baseline, under that character.
  const auto accelerator = static_cast<std::size_t>(options.Accelerator);
  const int from = x + TextExtent(text.substr(0, accelerator)).cx;
  const int to = x + TextExtent(text.substr(0, accelerator + 1)).cx;
  XSetClipRectangles(display_, gc_.Get(), 0, 0, &area, 1, Unsorted);
  UseColor(color);
  XDrawLine(display_, target_, gc_.Get(), from, baseline + 1, to, baseline + 1);
  XSetClipMask(display_, gc_.Get(), None);
}

unsigned long XMenuCanvas::PixelOf(ColorRef color) const {
  return NativePixel(PixelFromColorRef(color), {static_cast<std::uint32_t>(visual_->red_mask),
                                                static_cast<std::uint32_t>(visual_->green_mask),
                                                static_cast<std::uint32_t>(visual_->blue_mask)});
}

void XMenuCanvas::UseColor(ColorRef color) { XSetForeground(display_, gc_.Get(), PixelOf(color)); }

void XMenuCanvas::FillRect(const Rect& rect, ColorRef color) {
  if (rect.Empty()) return;
  UseColor(color);
  XFillRectangle(display_, target_, gc_.Get(), rect.left, rect.top, static_cast<unsigned>(rect.Width()),
                 static_cast<unsigned>(rect.Height()));
}

void XMenuCanvas::FrameRect(const Rect& rect, ColorRef color) {
  if (rect.Empty()) return;
  UseColor(color);
  // A zero-width outline covers one more pixel than its size on the right and bottom.
  XDrawRectangle(display_, target_, gc_.Get(), rect.left, rect.top, static_cast<unsigned>(rect.Width() - 1),
                 static_cast<unsigned>(rect.Height() - 1));
}

void XMenuCanvas::Rectangle(const Rect& rect, ColorRef pen, ColorRef brush) {
  FillRect(rect, brush);
  FrameRect(rect, pen);
}

void XMenuCanvas::Ellipse(const Rect& rect, ColorRef pen, ColorRef brush) {
  if (rect.Empty()) return;
  constexpr int kFullCircle = 360 * 64;  // X measures arcs in 1/64 degree
  const auto w = static_cast<unsigned>(rect.Width() - 1);
  const auto h = static_cast<unsigned>(rect.Height() - 1);
  UseColor(brush);
  XFillArc(display_, target_, gc_.Get(), rect.left, rect.top, w, h, 0, kFullCircle);
  UseColor(pen);
  XDrawArc(display_, target_, gc_.Get(), rect.left, rect.top, w, h, 0, kFullCircle);
}

void XMenuCanvas::RoundRect(const Rect& rect, int corner, ColorRef pen, ColorRef brush) {
  if (rect.Empty()) return;
  constexpr int kQuarter = 90 * 64;
  const int d = std::clamp(corner, 0, std::min(rect.Width(), rect.Height()));
  const int r = d / 2;
  const int l = rect.left, t = rect.top, right = rect.right - 1, bottom = rect.bottom - 1;
  const auto du = static_cast<unsigned>(d);
  // The inside: a cross of two rectangles and the four corner pies.
  UseColor(brush);
  XFillRectangle(display_, target_, gc_.Get(), l + r, t, static_cast<unsigned>(rect.Width() - 2 * r),
                 static_cast<unsigned>(rect.Height()));
  XFillRectangle(display_, target_, gc_.Get(), l, t + r, static_cast<unsigned>(rect.Width()),
                 static_cast<unsigned>(rect.Height() - 2 * r));
  const XArc arcs[] = {{static_cast<short>(l), static_cast<short>(t), static_cast<unsigned short>(du),
                        static_cast<unsigned short>(du), kQuarter, kQuarter},
                       {static_cast<short>(right - d), static_cast<short>(t), static_cast<unsigned short>(du),
                        static_cast<unsigned short>(du), 0, kQuarter},
                       {static_cast<short>(l), static_cast<short>(bottom - d), static_cast<unsigned short>(du),
                        static_cast<unsigned short>(du), 2 * kQuarter, kQuarter},
                       {static_cast<short>(right - d), static_cast<short>(bottom - d), static_cast<unsigned short>(du),
                        static_cast<unsigned short>(du), 3 * kQuarter, kQuarter}};
  XFillArcs(display_, target_, gc_.Get(), const_cast<XArc*>(arcs), 4);
  // The outline: the corners' arcs and the straight sides between them.
  UseColor(pen);
  XDrawArcs(display_, target_, gc_.Get(), const_cast<XArc*>(arcs), 4);
  XSetLineAttributes(display_, gc_.Get(), 0, LineSolid, CapButt, JoinMiter);
  XDrawLine(display_, target_, gc_.Get(), l + r, t, right - r, t);
  XDrawLine(display_, target_, gc_.Get(), l + r, bottom, right - r, bottom);
  XDrawLine(display_, target_, gc_.Get(), l, t + r, l, bottom - r);
  XDrawLine(display_, target_, gc_.Get(), right, t + r, right, bottom - r);
  XSetLineAttributes(display_, gc_.Get(), 0, LineSolid, CapNotLast, JoinMiter);
}

void XMenuCanvas::Line(int x1, int y1, int x2, int y2, ColorRef color) {
  UseColor(color);
  XDrawLine(display_, target_, gc_.Get(), x1, y1, x2, y2);
}

void XMenuCanvas::SetPixel(int x, int y, ColorRef color) {
  UseColor(color);
  XDrawPoint(display_, target_, gc_.Get(), x, y);
}

void XMenuCanvas::DrawBitmap(int x, int y, const Bitmap& bitmap, Pixel transparent) {
  // What lies under the picture is read, its opaque pixels laid over that, and all put back.
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + bitmap.width, width_), bottom = std::min(y + bitmap.height, height_);
  if (right <= left || bottom <= top) return;
  XImage* image = XGetImage(display_, target_, left, top, static_cast<unsigned>(right - left),
                            static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
  if (!image) return;
  const auto destroy = [](XImage* i) { XDestroyImage(i); };
  const std::unique_ptr<XImage, decltype(destroy)> owned(image, destroy);
  for (int row = top; row < bottom; ++row)
    for (int column = left; column < right; ++column) {
      const Pixel p = bitmap.At(column - x, row - y) & 0xFFFFFF;
      if (p == (transparent & 0xFFFFFF)) continue;
      XPutPixel(image, column - left, row - top, PixelOf(ColorRefFromPixel(p)));
    }
  XPutImage(display_, target_, gc_.Get(), image, 0, 0, left, top, static_cast<unsigned>(right - left),
            static_cast<unsigned>(bottom - top));
}

}  // namespace pimblo::x11
