#include "win32/bitmap_region.h"

#include <cstring>
#include <utility>

#include "sprites/region_scan.h"

namespace pimblo {
namespace {

// The rectangle buffer: a movable global block laid out as RGNDATA, locked
// while it is written, grown by kRectBlock rectangles, and turned into a partial
// region per batch; the partial regions are joined into the result.
class GlobalRectSink {
 public:
  GlobalRectSink() {
    block_ = GlobalAlloc(GMEM_MOVEABLE, Bytes(capacity_));
    if (block_) Lock();
  }
  ~GlobalRectSink() {
    if (block_) {
      GlobalUnlock(block_);
      GlobalFree(block_);
    }
  }
  GlobalRectSink(const GlobalRectSink&) = delete;
  GlobalRectSink& operator=(const GlobalRectSink&) = delete;

  bool Ok() const { return data_ != nullptr; }
  void Start() {
    data_->rdh.dwSize = sizeof(RGNDATAHEADER);
    data_->rdh.iType = RDH_RECTANGLES;
    data_->rdh.nRgnSize = 0;
    ResetHeader();
  }
  std::int32_t Count() const { return static_cast<std::int32_t>(data_->rdh.nCount); }
  std::int32_t Capacity() const { return capacity_; }

  void Grow() {
    GlobalUnlock(block_);
    data_ = nullptr;
    HGLOBAL grown = GlobalReAlloc(block_, Bytes(capacity_ + kRectBlock), GMEM_MOVEABLE);
    if (grown) {
      block_ = grown;
      capacity_ += kRectBlock;
    }
    Lock();
    if (!grown) full_ = true;  // no more room: later runs are dropped rather than written past the end
  }

  void Append(const Rect& r) {
    if (full_ && Count() >= capacity_) return;
    RECT* rects = reinterpret_cast<RECT*>(data_->Buffer);
    SetRect(&rects[data_->rdh.nCount], r.left, r.top, r.right, r.bottom);
    RECT& bound = data_->rdh.rcBound;
    if (r.left < bound.left) bound.left = r.left;
    if (r.top < bound.top) bound.top = r.top;
    if (r.right > bound.right) bound.right = r.right;
    if (r.bottom > bound.bottom) bound.bottom = r.bottom;
    ++data_->rdh.nCount;
  }

  void EmitBatch() {
    HRGN part = ExtCreateRegion(nullptr, Bytes(capacity_), data_);
    if (part) {
      if (!result_) {
        result_ = part;
      } else {
        CombineRgn(result_, result_, part, RGN_OR);
        DeleteObject(part);
      }
    }
    ResetHeader();
  }

  HRGN TakeResult() { return std::exchange(result_, nullptr); }

 private:
  static DWORD Bytes(std::int32_t capacity) {
    return static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * static_cast<std::size_t>(capacity));
  }
  void Lock() { data_ = static_cast<RGNDATA*>(GlobalLock(block_)); }
  void ResetHeader() {
    data_->rdh.nCount = 0;
    SetRect(&data_->rdh.rcBound, kEmptyBound.left, kEmptyBound.top, kEmptyBound.right, kEmptyBound.bottom);
  }

  HGLOBAL block_ = nullptr;
  RGNDATA* data_ = nullptr;
  std::int32_t capacity_ = kRectBlock;
  bool full_ = false;
  HRGN result_ = nullptr;
};

static_assert(sizeof(RGNDATAHEADER) == 32, "RGNDATA header is 32 bytes");
static_assert(sizeof(RECT) == 16, "a rectangle is 16 bytes");

}  // namespace

HRGN BitmapToRegion(HBITMAP bitmap, std::uint32_t key, std::uint32_t tolerance) {
  if (!bitmap) return nullptr;
  HDC memDc = CreateCompatibleDC(nullptr);
  if (!memDc) return nullptr;
  BITMAP bm{};
  if (!GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
    DeleteDC(memDc);
    return nullptr;
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = bm.bmWidth;
  header.biHeight = bm.bmHeight;  // positive: rows bottom-up
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(memDc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) {
    DeleteDC(memDc);
    return nullptr;
  }
  HGDIOBJ oldMem = SelectObject(memDc, dib);
  HDC srcDc = CreateCompatibleDC(memDc);
  if (!srcDc) {
    SelectObject(memDc, oldMem);
    DeleteObject(dib);
    DeleteDC(memDc);
    return nullptr;
  }
  BITMAP dibInfo{};
  GetObjectW(dib, sizeof dibInfo, &dibInfo);
  std::ptrdiff_t stride = dibInfo.bmWidthBytes;
  while (stride % 4 != 0) ++stride;

  HGDIOBJ oldSrc = SelectObject(srcDc, bitmap);
  BitBlt(memDc, 0, 0, bm.bmWidth, bm.bmHeight, srcDc, 0, 0, SRCCOPY);
  GdiFlush();

  HRGN result = nullptr;
  {
    GlobalRectSink sink;
    if (sink.Ok()) {
      sink.Start();
      ScanRegionRows(static_cast<const std::uint8_t*>(dibInfo.bmBits ? dibInfo.bmBits : bits), bm.bmWidth,
                     bm.bmHeight, stride, MakeKeyRange(key, tolerance), sink);
      result = sink.TakeResult();
    }
  }

  SelectObject(srcDc, oldSrc);
  DeleteDC(srcDc);
  SelectObject(memDc, oldMem);
  DeleteObject(dib);
  DeleteDC(memDc);
  return result;
}

}  // namespace pimblo
