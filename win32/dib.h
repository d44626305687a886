// A 32-bit top-down DIB section: a GDI bitmap whose pixels we can read and write.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win32/scoped_win.h"
#include "sprites/bitmap.h"

namespace pimblo::ui {

// The header of a 32-bit, uncompressed device-independent bitmap; rows top-down
// unless `bottomUp`.
BITMAPINFO Dib32Info(int width, int height, bool bottomUp = false);

class TDib {
 public:
  TDib() = default;
  TDib(int width, int height);
  explicit TDib(const Bitmap& bitmap);

  HBITMAP Handle() const { return bitmap_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  explicit operator bool() const { return static_cast<bool>(bitmap_); }
  Pixel* Pixels() const { return pixels_; }  // rows top-down, no padding
  Bitmap ToBitmap() const;

 private:
  win::ScopedBitmap bitmap_;
  Pixel* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace pimblo::ui
