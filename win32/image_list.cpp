#include "win32/image_list.h"

#include <vector>

#include "win32/dib.h"
#include "win32/memory_stream.h"

namespace pimblo::ui {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner),
      list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 4)),
      width_(width),
      height_(height) {}

bool TImageList::ReadStream(std::span<const std::uint8_t> bytes) {
  MemoryStream stream(bytes);
  HIMAGELIST read = ImageList_Read(&stream);
  if (!read) return false;
  list_.Reset(read);
  ImageList_GetIconSize(read, &width_, &height_);
  return true;
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }

bool TImageList::DrawTo(HDC dc, int index, int x, int y) const {
  return ImageList_Draw(list_.Get(), index, dc, x, y, ILD_NORMAL) != FALSE;
}

void TImageList::Draw(int index, Bitmap& target) const {
  if (index < 0 || index >= Count()) return;
  target.SetSize(width_, height_);
  TDib dib(target);
  win::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  {
    win::ScopedSelect select(dc.Get(), dib.Handle());
    DrawTo(dc.Get(), index, 0, 0);
  }
  target = dib.ToBitmap();
}

win::ScopedBitmap MakeMaskBitmap(const Mask& mask) {
  const int rowBytes = ((mask.width + 15) / 16) * 2;  // rows of a device bitmap are word-aligned
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowBytes * mask.height), 0);
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x)
      if (mask.IsTransparent(x, y)) bits[static_cast<std::size_t>(y * rowBytes + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  return win::ScopedBitmap(CreateBitmap(mask.width, mask.height, 1, 1, bits.data()));
}

void TImageList::Add(const Bitmap& image, const Mask* mask) {
  TDib dib(image);
  const Mask opaque(image.width, image.height);
  win::ScopedBitmap maskBitmap = MakeMaskBitmap(mask ? *mask : opaque);
  ImageList_Add(list_.Get(), dib.Handle(), maskBitmap.Get());
}

}  // namespace pimblo::ui
