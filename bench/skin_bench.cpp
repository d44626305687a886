// The skin the program carries: decoding it, and reading its package and
// description.
#include <benchmark/benchmark.h>

#include "bench/allocations.h"
#include "look/lzh.h"
#include "look/skin_layout.h"
#include "look/win_skin_data.h"
#include "look/skin_read.h"
#include "look/win_skin_ini.h"
#include "resources/embedded_assets.h"

namespace pimblo {
namespace {

std::span<const std::uint8_t> SkinFile() { return assets::SkinStream().subspan(4); }

void BM_SkinDecode(benchmark::State& state) {
  std::size_t out = 0;
  for (auto _ : state) {
    auto unpacked = TLZH::UnpackFile(SkinFile());
    out = unpacked.data ? unpacked.data->size() : 0;
    benchmark::DoNotOptimize(unpacked);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(out));
  state.counters["unpacked bytes"] = static_cast<double>(out);
}
BENCHMARK(BM_SkinDecode);

void BM_SkinOpenAndDescription(benchmark::State& state) {
  for (auto _ : state) {
    TSkinReader reader;
    reader.Open(SkinFile());
    std::vector<std::uint8_t> ini;
    std::string name;
    reader.FindFile(".ini", ini, name);
    TQuickIni description;
    description.Load(ini);
    benchmark::DoNotOptimize(description.ReadColor("Colours", "ButtonFace", 0));
  }
}
BENCHMARK(BM_SkinOpenAndDescription);

// The whole load: the stored value to skin objects, as the main form does at start;
// and the heap a loaded skin keeps.
void BM_SkinLoad(benchmark::State& state) {
  const long long before = BytesHeld();
  {
    TSkinData skin;
    skin.ReadSkinStream(assets::SkinStream());
    state.counters["kB kept"] = static_cast<double>(BytesHeld() - before) / 1024;
  }
  for (auto _ : state) {
    TSkinData skin;
    skin.ReadSkinStream(assets::SkinStream());
    benchmark::DoNotOptimize(skin.Empty());
  }
}
BENCHMARK(BM_SkinLoad);

// The help window (393 x 366, sizeable) in the skin the program carries.
struct HelpWindow {
  HelpWindow() {
    skin.ReadSkinStream(assets::SkinStream());
    w.kind = WindowKind::Sizeable;
    w.width = 393;
    w.height = 366;
    b = ComputeBorderSizes(skin, w.kind);
  }
  TSkinData skin;
  ChromeState w;
  BorderSizes b;
};

// One frame painting of the help window: layout and the four border pieces.
void BM_PaintHelpWindowFrame(benchmark::State& state) {
  HelpWindow help;
  help.w.hasSysMenu = help.w.hasMinBox = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LayoutTitle(help.skin, help.w, help.b, 40, 16));
    for (TBorderSide side : {bsLeft, bsRight, bsTop, bsBottom})
      benchmark::DoNotOptimize(PaintBorder(help.skin, side, help.w, help.b));
  }
}
BENCHMARK(BM_PaintHelpWindowFrame);

// The help window's region (rebuilt on every change of size).
void BM_HelpWindowRegion(benchmark::State& state) {
  const HelpWindow help;
  std::size_t rects = 0;
  for (auto _ : state) {
    auto r = WindowRegionRects(help.skin, help.w, help.b);
    rects = r.size();
    benchmark::DoNotOptimize(r);
  }
  state.counters["rectangles"] = static_cast<double>(rects);
}
BENCHMARK(BM_HelpWindowRegion);

}  // namespace
}  // namespace pimblo
