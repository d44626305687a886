// TImageList: the window system's image list of equally sized frames with masks.
#pragma once

#include <windows.h>
#include <objidl.h>  // before commctrl.h, for ImageList_Read
#include <commctrl.h>

#include <cstdint>
#include <span>

#include "win32/component.h"
#include "win32/scoped_win.h"
#include "sprites/bitmap.h"

namespace pimblo::ui {

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner, int width = 32, int height = 32);

  // Replaces the list with one read from an image-list stream (ImageList_Read).
  bool ReadStream(std::span<const std::uint8_t> bytes);

  HIMAGELIST Handle() const { return list_.Get(); }
  int Count() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Draws frame `index` through its mask at (x, y) of a device context.
  bool DrawTo(HDC dc, int index, int x, int y) const;
  // Draws frame `index` into a picture of the frame size (kept when it already
  // has it); an index outside the list leaves the picture alone.
  void Draw(int index, Bitmap& target) const;
  // Appends a frame; without a mask every pixel is drawn.
  void Add(const Bitmap& image, const Mask* mask);

 private:
  win::ScopedImageList list_;
  int width_;
  int height_;
};

// A one-bit GDI bitmap of a mask: white (1) where transparent.
win::ScopedBitmap MakeMaskBitmap(const Mask& mask);

}  // namespace pimblo::ui
