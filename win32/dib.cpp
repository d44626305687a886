#include "win32/dib.h"

#include <cstring>

namespace pimblo::ui {

BITMAPINFO Dib32Info(int width, int height, bool bottomUp) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = bottomUp ? height : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TDib::TDib(int width, int height) : width_(width), height_(height) {
  const BITMAPINFO info = Dib32Info(width, height);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  pixels_ = static_cast<Pixel*>(bits);
  if (!bitmap_) width_ = height_ = 0;
}

TDib::TDib(const Bitmap& bitmap) : TDib(bitmap.width, bitmap.height) {
  if (pixels_ && !bitmap.pixels.empty())
    std::memcpy(pixels_, bitmap.pixels.data(), bitmap.pixels.size() * sizeof(Pixel));
}

Bitmap TDib::ToBitmap() const {
  GdiFlush();
  Bitmap b(width_, height_);
  if (pixels_ && !b.pixels.empty()) std::memcpy(b.pixels.data(), pixels_, b.pixels.size() * sizeof(Pixel));
  for (Pixel& p : b.pixels) p &= 0x00FFFFFF;
  return b;
}

}  // namespace pimblo::ui
