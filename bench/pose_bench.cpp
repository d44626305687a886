// The pose: composing the pet's picture from a head and a leg frame, scanning a
// 32 × 32 picture into region rectangles, and the whole redraw as the tick does
// it when a frame index changes.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "bench/allocations.h"
#include "bench/bench_common.h"
#include "sprites/region_scan.h"

namespace pimblo {
namespace {

// The rectangle buffer as the program's region routine keeps it: room for 100
// rectangles, grown by 100, written in place; a batch is counted where the
// program makes a partial region of it.
class BufferSink {
 public:
  std::int32_t Count() const { return count_; }
  std::int32_t Capacity() const { return capacity_; }
  void Grow() { capacity_ += kRectBlock; }
  void Append(const Rect& r) {
    rects_[static_cast<std::size_t>(count_++)] = r;
    if (r.left < bound_.left) bound_.left = r.left;
    if (r.top < bound_.top) bound_.top = r.top;
    if (r.right > bound_.right) bound_.right = r.right;
    if (r.bottom > bound_.bottom) bound_.bottom = r.bottom;
  }
  void EmitBatch() {
    ++batches;
    rects += count_;
    count_ = 0;
    bound_ = kEmptyBound;
  }
  void Reset() {
    count_ = 0;
    capacity_ = kRectBlock;
    batches = rects = 0;
  }
  std::int64_t batches = 0, rects = 0;

 private:
  std::array<Rect, kBatchLimit> rects_{};
  std::int32_t count_ = 0, capacity_ = kRectBlock;
  Rect bound_ = kEmptyBound;
};

// The picture of every walking and falling pose, facing left and right.
struct Pose {
  SheetId heads, legs;
  std::int32_t head, leg;
};
std::vector<Pose> Poses() {
  std::vector<Pose> poses;
  for (bool right : {false, true})
    for (std::int32_t leg = 1; leg <= 7; ++leg)
      poses.push_back({right ? SheetId::Heads : SheetId::FHeads, right ? SheetId::Legs : SheetId::FLegs, leg == 7 ? 1 : 6, leg});
  return poses;
}

void Compose(const Pose& p, Bitmap& picture) {
  bench::Sheets().Get(p.heads).Draw(p.head, picture);
  bench::Sheets().Get(p.legs).Draw(p.leg, picture);
}

// Copies a top-down picture into a bottom-up DIB's rows, as the program's blit
// into its scan copy does.
void CopyToDib(const Bitmap& picture, std::vector<std::uint8_t>& dib) {
  const std::ptrdiff_t stride = DibStride(picture.width);
  for (std::int32_t y = 0; y < picture.height; ++y)
    std::memcpy(dib.data() + (picture.height - 1 - y) * stride, &picture.pixels[static_cast<std::size_t>(y * picture.width)],
                static_cast<std::size_t>(picture.width) * 4);
}

void BM_ComposeFrame(benchmark::State& state) {
  const auto poses = Poses();
  Bitmap picture;
  Compose(poses[0], picture);
  const long long before = AllocationCount();
  for (const Pose& p : poses) Compose(p, picture);
  state.counters["allocs/frame"] = static_cast<double>(AllocationCount() - before) / static_cast<double>(poses.size());
  std::size_t i = 0;
  for (auto _ : state) {
    Compose(poses[i], picture);
    i = (i + 1) % poses.size();
    benchmark::DoNotOptimize(picture.pixels.data());
  }
}
BENCHMARK(BM_ComposeFrame);

void BM_RegionScan32(benchmark::State& state) {
  const auto poses = Poses();
  std::vector<std::vector<std::uint8_t>> dibs;
  for (const Pose& p : poses) {
    Bitmap picture;
    Compose(p, picture);
    dibs.push_back(ToBottomUpDib(picture));
  }
  const KeyRange range = MakeKeyRange(kPetKey, kPetTolerance);
  static BufferSink sink;
  sink.Reset();
  const long long before = AllocationCount();
  for (const auto& dib : dibs) ScanRegionRows(dib.data(), 32, 32, DibStride(32), range, sink);
  state.counters["allocs/picture"] = static_cast<double>(AllocationCount() - before) / static_cast<double>(dibs.size());
  sink.Reset();
  std::size_t i = 0;
  for (auto _ : state) {
    ScanRegionRows(dibs[i].data(), 32, 32, DibStride(32), range, sink);
    i = (i + 1) % dibs.size();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["rects/picture"] = static_cast<double>(sink.rects) / n;
  state.counters["batches/picture"] = static_cast<double>(sink.batches) / n;
}
BENCHMARK(BM_RegionScan32);

// The whole redraw: compose, copy into the scan's DIB, scan into the buffer.
void BM_RedrawPath(benchmark::State& state) {
  const auto poses = Poses();
  Bitmap picture;
  Compose(poses[0], picture);
  std::vector<std::uint8_t> dib(static_cast<std::size_t>(DibStride(32) * 32));
  const KeyRange range = MakeKeyRange(kPetKey, kPetTolerance);
  static BufferSink sink;
  sink.Reset();
  auto redraw = [&](const Pose& p) {
    Compose(p, picture);
    CopyToDib(picture, dib);
    ScanRegionRows(dib.data(), 32, 32, DibStride(32), range, sink);
  };
  const long long before = AllocationCount();
  for (const Pose& p : poses) redraw(p);
  state.counters["allocs/redraw"] = static_cast<double>(AllocationCount() - before) / static_cast<double>(poses.size());
  sink.Reset();
  std::size_t i = 0;
  for (auto _ : state) {
    redraw(poses[i]);
    i = (i + 1) % poses.size();
  }
  state.counters["rects/redraw"] = static_cast<double>(sink.rects) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RedrawPath);

// The same through the platform-free region routine, which hands its batches
// back in vectors.
void BM_RedrawPathPortable(benchmark::State& state) {
  const auto poses = Poses();
  Bitmap picture;
  std::size_t i = 0;
  for (auto _ : state) {
    Compose(poses[i], picture);
    auto scan = ScanBitmap(picture, kPetKey, kPetTolerance);
    benchmark::DoNotOptimize(scan);
    i = (i + 1) % poses.size();
  }
}
BENCHMARK(BM_RedrawPathPortable);

}  // namespace
}  // namespace pimblo
