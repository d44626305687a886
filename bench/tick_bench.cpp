// The cost of one tick of a pet on the simulated desktop: a walking pet, a falling
// pet and a pet dragged fast, with 0, 10 and 200 windows, and a hundred pets
// ticked together. Each reports, per tick, the platform calls it made (hit tests,
// rectangle queries, metric reads, top-window queries, cursor reads, window
// moves, raises, redraws) and the allocations of the engine.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/allocations.h"
#include "bench/bench_common.h"
#include "pet/zibbet.h"
#include "tools/sim/sim_desktop.h"

namespace pimblo {
namespace {

// The window the pet walks on in the ordinary case, topmost of the desktop.
constexpr Rect kHost{300, 400, 700, 600};

// `n` windows: with n > 0 the host window first, then n − 1 others behind it.
std::vector<Rect> DesktopWithHost(int n) {
  if (n == 0) return {};
  std::vector<Rect> w{kHost};
  for (const Rect& r : bench::SomeWindows(n - 1)) w.push_back(r);
  return w;
}

// The simulated pet window, with its own redraw bookkeeping (the shape it keeps
// for the simulated hit tests) left out of the allocation count: the program's
// window draws into its bitmap and reshapes through the window system.
class BenchPetWindow : public SimPetWindow {
 public:
  using SimPetWindow::SimPetWindow;
  void PreparePicture() override {
    AllocationPause pause;
    SimPetWindow::PreparePicture();
  }
  void DrawFrame(SheetId sheet, std::int32_t index) override {
    AllocationPause pause;
    SimPetWindow::DrawFrame(sheet, index);
  }
  void ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) override {
    AllocationPause pause;
    SimPetWindow::ShapeToPicture(key, tolerance);
  }
};

// What the pets of a benchmark share: the 1024 x 768 desktop and its windows, a
// random source that never lets them hop, and the program's speed factor.
struct TickWorld {
  explicit TickWorld(std::vector<Rect> windows) : desktop(1024, 768) { desktop.SetWindows(std::move(windows)); }
  SimDesktop desktop;
  ScriptedRandom random{{}};
  double speedFactor = 0.988;
};

// A pet and its window at `at` in a world.
struct BenchPet {
  BenchPet(TickWorld& world, ScreenPoint at)
      : window(world.desktop, bench::Sheets(), at), pet(world.desktop, window, world.random, world.speedFactor) {}
  BenchPetWindow window;
  TZibbetForm pet;
};

struct Measured {
  double ticks = 0;
  SimCounts counts;
  long long allocations = 0;
  double PerTick(std::int64_t v) const { return static_cast<double>(v) / ticks; }
};

void Report(benchmark::State& state, const Measured& m) {
  state.counters["allocs/tick"] = static_cast<double>(m.allocations) / m.ticks;
  state.counters["probes/tick"] = m.PerTick(m.counts.windowFromPoint);
  state.counters["rects/tick"] = m.PerTick(m.counts.getWindowRect);
  state.counters["metrics/tick"] = m.PerTick(m.counts.metrics);
  state.counters["top/tick"] = m.PerTick(m.counts.topWindow);
  state.counters["cursor/tick"] = m.PerTick(m.counts.cursor);
  state.counters["moves/tick"] = m.PerTick(m.counts.windowMoves);
  state.counters["raises/tick"] = m.PerTick(m.counts.raises);
  state.counters["redraws/tick"] = m.PerTick(m.counts.redraws);
}

// Every tick's part of the work must leave the heap alone.
bool NoAllocations(benchmark::State& state, const Measured& m) {
  if (m.allocations == 0) return true;
  state.SkipWithError(("the tick allocated " + std::to_string(m.allocations) + " times").c_str());
  return false;
}

// What the timed loop did: allocations since `before` (read first, as reporting
// allocates), the desktop's calls, and the ticks, `ticksPerIteration` a round.
Measured Finish(benchmark::State& state, const SimDesktop& desktop, long long before, double ticksPerIteration = 1) {
  Measured m;
  m.allocations = AllocationCount() - before;
  m.ticks = static_cast<double>(state.iterations()) * ticksPerIteration;
  m.counts = desktop.counts;
  Report(state, m);
  return m;
}

// Finish for a pet that went `travel` pixels in the timed loop, reported a tick.
void FinishTravel(benchmark::State& state, const SimDesktop& desktop, long long before, double travel) {
  const Measured m = Finish(state, desktop, before);
  state.counters["px/tick"] = travel / m.ticks;
  NoAllocations(state, m);
}

// A settled walker asks only what its algorithm needs. Each tick: the sideways
// sub-step (two points), the refused downward sub-step (two points) and the
// ledge look-ahead are five solid-point tests, each reading the screen's width
// and height and, on the screen, asking for the window there and its rectangle;
// the desktop bounds are four metric reads and the clamp two more; one
// top-window query; no raise, no cursor read, at most one window move (it walks
// less than a pixel a tick) and a redraw only when the leg frame changes, each
// tenth tick. At the screen's ends a point off the screen is solid without
// asking, and a clamp that bites reads the screen's size once more: a few calls
// in a thousand ticks either way.
void CheckSettledWalker(benchmark::State& state, const Measured& m, double expectedHitTests) {
  std::string excess;
  auto check = [&](const char* what, double value, double low, double high) {
    if (value < low - 1e-9 || value > high + 1e-9) {
      char line[160];
      std::snprintf(line, sizeof line, "%s %.4f/tick, expected %.2f to %.2f; ", what, value, low, high);
      excess += line;
    }
  };
  check("hit tests", m.PerTick(m.counts.windowFromPoint), expectedHitTests - 0.002, expectedHitTests);
  check("rectangle queries", m.PerTick(m.counts.getWindowRect), 0, m.PerTick(m.counts.windowFromPoint));
  check("metric reads", m.PerTick(m.counts.metrics), 15.99, 16.01);
  check("top-window queries", m.PerTick(m.counts.topWindow), 1, 1);
  check("cursor reads", m.PerTick(m.counts.cursor), 0, 0);
  check("raises", m.PerTick(m.counts.raises), 0, 0);
  check("window moves", m.PerTick(m.counts.windowMoves), 0.5, 1);
  check("redraws", m.PerTick(m.counts.redraws), 0.09, 0.11);
  if (!excess.empty()) state.SkipWithError(("a settled walker: " + excess).c_str());
}

// A pet walking, settled: on the screen's bottom among no windows, or on the top
// edge of the topmost window with 9 or 199 more behind it.
void BM_TickWalking(benchmark::State& state) {
  const int windows = static_cast<int>(state.range(0));
  TickWorld world(DesktopWithHost(windows));
  SimDesktop& desktop = world.desktop;
  const int startY = windows == 0 ? 736 : kHost.top - 33;
  BenchPet walker(world, {500, startY});
  TZibbetForm& pet = walker.pet;
  pet.PosX = 500;
  pet.PosY = static_cast<float>(startY) - 0.05f;
  pet.Blinking = false;  // a settled walker: only the walk cycle redraws
  for (int i = 0; i < 2000; ++i) pet.MoveZibbet();
  desktop.counts = {};
  const long long before = AllocationCount();
  for (auto _ : state) pet.MoveZibbet();
  const Measured m = Finish(state, desktop, before);
  if (!NoAllocations(state, m)) return;
  // The calls are checked over a fixed stretch of ticks of the same walk, however
  // few the timed loop ran.
  Measured check;
  check.ticks = 20000;
  desktop.counts = {};
  for (int i = 0; i < 20000; ++i) {
    pet.MoveZibbet();
    if (pet.AirTicks != 0) {
      state.SkipWithError("the walker left the ground");
      return;
    }
  }
  check.counts = desktop.counts;
  // On the screen's bottom the downward and look-ahead points lie below the
  // screen and are solid without asking; on a window all five are asked.
  CheckSettledWalker(state, check, windows == 0 ? 2 : 5);
}
BENCHMARK(BM_TickWalking)->Arg(0)->Arg(10)->Arg(200);

// A pet falling from the top of the screen again and again.
void BM_TickFalling(benchmark::State& state) {
  TickWorld world(bench::SomeWindows(static_cast<int>(state.range(0))));
  BenchPet faller(world, {500, 0});
  TZibbetForm& pet = faller.pet;
  double travel = 0;
  const long long before = AllocationCount();
  for (auto _ : state) {
    if (pet.BlockedY || pet.PosY > 700) {
      pet.PosY = 0;
      pet.VelY = 0;
    }
    pet.MoveZibbet();
    travel += std::fabs(pet.VelY);
  }
  FinishTravel(state, world.desktop, before, travel);
}
BENCHMARK(BM_TickFalling)->Arg(0)->Arg(10)->Arg(200);

// A pet held by the mouse while the cursor circles fast (about 12 pixels a tick),
// so that it swings after it at fifteen pixels a tick and more: many sub-steps,
// every probe made though none blocks.
void BM_TickDragged(benchmark::State& state) {
  TickWorld world(DesktopWithHost(static_cast<int>(state.range(0))));
  SimDesktop& desktop = world.desktop;
  constexpr double kRadius = 200, kPeriod = 100;
  const ScreenPoint centre{512, 384};
  auto cursorAt = [&](long long t) {
    const double a = 2 * std::numbers::pi * static_cast<double>(t % static_cast<long long>(kPeriod)) / kPeriod;
    return ScreenPoint{centre.x + static_cast<int>(kRadius * std::cos(a)), centre.y + static_cast<int>(kRadius * std::sin(a))};
  };
  desktop.SetCursor(cursorAt(0));
  BenchPet dragged(world, {centre.x + 200 - 16, centre.y - 16});
  TZibbetForm& pet = dragged.pet;
  pet.PosX = static_cast<float>(dragged.window.Left());
  pet.PosY = static_cast<float>(dragged.window.Top());
  pet.ImageMouseDown(MouseButton::Left, 16, 16);
  long long t = 0;
  auto tick = [&] {
    desktop.SetCursor(cursorAt(t++));
    if (!pet.Dragging) pet.ImageMouseDown(MouseButton::Left, 16, 16);  // let go at the desktop's edge: picked up again
    pet.MoveZibbet();
  };
  for (int i = 0; i < 1000; ++i) tick();
  desktop.counts = {};
  double travel = 0;
  const long long before = AllocationCount();
  for (auto _ : state) {
    tick();
    travel += pet.Speed;
  }
  FinishTravel(state, desktop, before, travel);
}
BENCHMARK(BM_TickDragged)->Arg(0)->Arg(10)->Arg(200);

// A hundred pets on one desktop with ten windows, ticked together as the timer
// does; the time is for all hundred, the counts per pet and tick.
void BM_HundredPets(benchmark::State& state) {
  TickWorld world(bench::SomeWindows(10));
  std::vector<std::unique_ptr<BenchPet>> pets;
  for (int i = 0; i < 100; ++i) {
    pets.push_back(std::make_unique<BenchPet>(world, ScreenPoint{i * 9, (i * 37) % 700}));
    pets.back()->pet.PosX = static_cast<float>(i * 9);
    pets.back()->pet.PosY = static_cast<float>((i * 37) % 700);
  }
  world.desktop.counts = {};
  const long long before = AllocationCount();
  for (auto _ : state)
    for (auto& p : pets) p->pet.MoveZibbet();
  const Measured m = Finish(state, world.desktop, before, 100);
  state.counters["pets"] = 100;
  NoAllocations(state, m);
}
BENCHMARK(BM_HundredPets);

}  // namespace
}  // namespace pimblo
