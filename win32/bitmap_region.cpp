#include "win32/bitmap_region.h"

#include <optional>
#include <utility>

#include "sprites/region_scan.h"
#include "win32/dib.h"
#include "win32/scoped_win.h"

namespace pimblo {
namespace {

// The rectangle buffer: a movable global block laid out as RGNDATA, locked
// while it is written, grown by kRectBlock rectangles, and turned into a partial
// region per batch; the partial regions are joined into the result.
class GlobalRectSink {
 public:
  GlobalRectSink() : block_(GlobalAlloc(GMEM_MOVEABLE, Bytes(capacity_))) {
    if (block_) Lock();
  }

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
    Unlock();
    HGLOBAL grown = GlobalReAlloc(block_.Get(), Bytes(capacity_ + kRectBlock), GMEM_MOVEABLE);
    if (grown) {
      block_.Release();  // the old handle is the grown block's now, or gone
      block_.Reset(grown);
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
    win::ScopedRegion part(ExtCreateRegion(nullptr, Bytes(capacity_), data_));
    if (part) {
      if (!result_)
        result_ = std::move(part);
      else
        CombineRgn(result_.Get(), result_.Get(), part.Get(), RGN_OR);
    }
    ResetHeader();
  }

  HRGN TakeResult() { return result_.Release(); }

 private:
  static DWORD Bytes(std::int32_t capacity) {
    return static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * static_cast<std::size_t>(capacity));
  }
  void Lock() {
    lock_.emplace(block_.Get());
    data_ = static_cast<RGNDATA*>(lock_->Data());
  }
  void Unlock() {
    data_ = nullptr;
    lock_.reset();
  }
  void ResetHeader() {
    data_->rdh.nCount = 0;
    SetRect(&data_->rdh.rcBound, kEmptyBound.left, kEmptyBound.top, kEmptyBound.right, kEmptyBound.bottom);
  }

  std::int32_t capacity_ = kRectBlock;
  win::ScopedGlobal block_;
  std::optional<win::GlobalLockGuard> lock_;  // unlocks before the block is freed
  RGNDATA* data_ = nullptr;
  bool full_ = false;
  win::ScopedRegion result_;
};

static_assert(sizeof(RGNDATAHEADER) == 32, "RGNDATA header is 32 bytes");
static_assert(sizeof(RECT) == 16, "a rectangle is 16 bytes");

}  // namespace

HRGN BitmapToRegion(HBITMAP bitmap, std::uint32_t key, std::uint32_t tolerance) {
  if (!bitmap) return nullptr;
  const win::ScopedMemoryDc memDc(CreateCompatibleDC(nullptr));
  if (!memDc) return nullptr;
  BITMAP bm{};
  if (!GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  const BITMAPINFO info = ui::Dib32Info(bm.bmWidth, bm.bmHeight, /*bottomUp=*/true);
  void* bits = nullptr;
  const win::ScopedBitmap dib(CreateDIBSection(memDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return nullptr;
  const win::ScopedSelect dibSelected(memDc.Get(), dib.Get());
  const win::ScopedMemoryDc srcDc(CreateCompatibleDC(memDc.Get()));
  if (!srcDc) return nullptr;
  BITMAP dibInfo{};
  GetObjectW(dib.Get(), sizeof dibInfo, &dibInfo);
  std::ptrdiff_t stride = dibInfo.bmWidthBytes;
  while (stride % 4 != 0) ++stride;

  const win::ScopedSelect sourceSelected(srcDc.Get(), bitmap);
  BitBlt(memDc.Get(), 0, 0, bm.bmWidth, bm.bmHeight, srcDc.Get(), 0, 0, SRCCOPY);
  GdiFlush();

  GlobalRectSink sink;
  if (!sink.Ok()) return nullptr;
  sink.Start();
  ScanRegionRows(static_cast<const std::uint8_t*>(dibInfo.bmBits ? dibInfo.bmBits : bits), bm.bmWidth, bm.bmHeight,
                 stride, MakeKeyRange(key, tolerance), sink);
  return sink.TakeResult();
}

}  // namespace pimblo
