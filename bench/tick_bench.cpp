// The cost of one tick of a pet on the simulated desktop, and of what a redraw does.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "pet/zibbet.h"
#include "resources/embedded_assets.h"
#include "sprites/pet_sheets.h"
#include "sprites/region_scan.h"
#include "tools/sim/sim_desktop.h"

#include "bench/allocations.h"

namespace pimblo {
namespace {

const PetSheets& Sheets() {
  static const PetSheets sheets = std::get<PetSheets>(LoadPetSheets(assets::HeadsStream(), assets::LegsStream()));
  return sheets;
}

std::vector<WindowRect> SomeWindows(int n) {
  std::mt19937 rng(42);
  std::vector<WindowRect> w;
  for (int i = 0; i < n; ++i) {
    const int left = static_cast<int>(rng() % 900), top = static_cast<int>(rng() % 600);
    w.push_back({left, top, left + 100 + static_cast<int>(rng() % 300), top + 80 + static_cast<int>(rng() % 200)});
  }
  return w;
}

void ReportCounts(benchmark::State& state, const SimCounts& c, long long allocations = -1) {
  const double ticks = static_cast<double>(state.iterations());
  if (allocations >= 0) state.counters["allocs/tick"] = static_cast<double>(allocations) / ticks;
  state.counters["probes/tick"] = static_cast<double>(c.windowFromPoint) / ticks;
  state.counters["rects/tick"] = static_cast<double>(c.getWindowRect) / ticks;
  state.counters["metrics/tick"] = static_cast<double>(c.metrics) / ticks;
  state.counters["moves/tick"] = static_cast<double>(c.windowMoves) / ticks;
  state.counters["redraws/tick"] = static_cast<double>(c.redraws) / ticks;
}

// A pet walking on the bottom of the screen, among `windows` windows elsewhere.
void BM_TickWalking(benchmark::State& state) {
  SimDesktop desktop(1024, 768);
  desktop.SetWindows(SomeWindows(static_cast<int>(state.range(0))));
  ScriptedRandom random({});
  double speedFactor = 0.988;
  SimPetWindow window(desktop, Sheets(), {500, 735});
  TZibbetForm pet(desktop, window, random, speedFactor);
  pet.PosX = 500;
  pet.PosY = 735.95f;  // resting on the bottom of the screen
  pet.Blinking = false;  // a settled walker: only the walk cycle redraws
  for (int i = 0; i < 500; ++i) pet.MoveZibbet();
  desktop.counts = {};
  const long long before = pimblo::AllocationCount();
  for (auto _ : state) pet.MoveZibbet();
  ReportCounts(state, desktop.counts, pimblo::AllocationCount() - before);
}
BENCHMARK(BM_TickWalking)->Arg(0)->Arg(10)->Arg(200);

// A hundred pets on one desktop, ticked together as the timer does.
void BM_HundredPets(benchmark::State& state) {
  SimDesktop desktop(1024, 768);
  desktop.SetWindows(SomeWindows(10));
  ScriptedRandom random({});
  double speedFactor = 0.988;
  std::vector<std::unique_ptr<SimPetWindow>> windows;
  std::vector<std::unique_ptr<TZibbetForm>> pets;
  for (int i = 0; i < 100; ++i) {
    windows.push_back(std::make_unique<SimPetWindow>(desktop, Sheets(), ScreenPoint{i * 9, (i * 37) % 700}));
    pets.push_back(std::make_unique<TZibbetForm>(desktop, *windows.back(), random, speedFactor));
    pets.back()->PosX = static_cast<float>(i * 9);
    pets.back()->PosY = static_cast<float>((i * 37) % 700);
  }
  for (auto _ : state)
    for (auto& pet : pets) pet->MoveZibbet();
  state.counters["pets"] = 100;
}
BENCHMARK(BM_HundredPets);

// A pet falling from the top of the screen again and again.
void BM_TickFalling(benchmark::State& state) {
  SimDesktop desktop(1024, 768);
  desktop.SetWindows(SomeWindows(static_cast<int>(state.range(0))));
  ScriptedRandom random({});
  double speedFactor = 0.988;
  SimPetWindow window(desktop, Sheets(), {500, 0});
  TZibbetForm pet(desktop, window, random, speedFactor);
  const long long before = pimblo::AllocationCount();
  for (auto _ : state) {
    if (pet.BlockedY || pet.PosY > 700) {
      pet.PosY = 0;
      pet.VelY = 0;
    }
    pet.MoveZibbet();
  }
  ReportCounts(state, desktop.counts, pimblo::AllocationCount() - before);
}
BENCHMARK(BM_TickFalling)->Arg(0)->Arg(10)->Arg(200);

// Composing a pose and scanning it into region rectangles.
void BM_RedrawPath(benchmark::State& state) {
  Bitmap picture;
  int leg = 0;
  for (auto _ : state) {
    Sheets().FHeads.Draw(6, picture);
    Sheets().FLegs.Draw(leg, picture);
    leg = (leg + 1) % 8;
    auto scan = ScanBitmap(picture, kPetKey, kPetTolerance);
    benchmark::DoNotOptimize(scan);
  }
}
BENCHMARK(BM_RedrawPath);

}  // namespace
}  // namespace pimblo

BENCHMARK_MAIN();
