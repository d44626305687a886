// The skin the program carries: decoding it, and reading its package and
// description.
#include <benchmark/benchmark.h>

#include "look/lzh.h"
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

}  // namespace
}  // namespace pimblo
