// Drawing the skin's pictures and text on an X drawable: a font opened through
// fontconfig (one that has the Chinese the program writes), and a canvas that
// puts the core's Bitmaps, fills and draws text at an origin within the drawable.
#pragma once

#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "sprites/bitmap.h"
#include "sprites/rect.h"

namespace pimblo::x11 {

// An open Xft font, closed on destruction. Does not own the display.
class XftFontOwner {
 public:
  XftFontOwner() = default;
  XftFontOwner(Display* display, XftFont* font) : display_(display), font_(font) {}
  XftFontOwner(XftFontOwner&& other) noexcept
      : display_(std::exchange(other.display_, nullptr)), font_(std::exchange(other.font_, nullptr)) {}
  XftFontOwner& operator=(XftFontOwner&& other) noexcept {
    if (this != &other) {
      Reset();
      display_ = std::exchange(other.display_, nullptr);
      font_ = std::exchange(other.font_, nullptr);
    }
    return *this;
  }
  ~XftFontOwner() { Reset(); }
  XftFont* Get() const { return font_; }
  explicit operator bool() const { return font_ != nullptr; }

 private:
  void Reset() {
    if (display_ && font_) XftFontClose(display_, font_);
    font_ = nullptr;
  }
  Display* display_ = nullptr;
  XftFont* font_ = nullptr;
};

// Xft keeps up to 16 closed fonts open for a quick reopening, and with them
// the face's file mapped: 2.3 MB of a CJK face for a menu opened now and then.
// The program opens its fonts where they are shown and closes them with their
// window, so on the display a closed font is let go at once. Asked before a
// font is opened; once a display is enough.
void LetClosedFontsGo(Display* display, int screen);

// A sans-serif face that covers simplified Chinese, pixelSize pixels to the em; nothing when
// fontconfig finds no font at all.
std::optional<XftFontOwner> OpenUiFont(Display* display, int screen, int pixelSize);

struct TextExtent {
  std::int32_t width = 0;   // the advance of the whole text
  std::int32_t height = 0;  // the font's ascent and descent
};
TextExtent MeasureText(Display* display, const XftFontOwner& font, std::string_view utf8);

// Draws on a drawable of the default visual of `screen`, with (0, 0) at origin. Does not own the
// display or the drawable.
class Canvas {
 public:
  Canvas(Display* display, int screen, Drawable drawable, std::int32_t originX, std::int32_t originY,
         std::int32_t width, std::int32_t height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  Display* GetDisplay() const { return display_; }

  void Put(const Bitmap& picture, std::int32_t x, std::int32_t y);
  void Fill(const Rect& area, Pixel colour);
  // One line of text whose cell's top is at `top`, clipped to `clip`.
  void Text(const XftFontOwner& font, std::int32_t x, std::int32_t top, std::string_view utf8, Pixel colour,
            const Rect& clip);

 private:
  Display* display_;
  int screen_;
  Drawable drawable_;
  std::int32_t originX_, originY_, width_, height_;
  GC gc_;
  XftDraw* draw_ = nullptr;  // made at the first text
};

}  // namespace pimblo::x11
