// A pet on a simulated desktop, for the engine's tests.
#pragma once

#include <memory>
#include <vector>

#include "pet/zibbet.h"
#include "sprites/pet_sheets.h"
#include "tools/sim/sim_desktop.h"

namespace pimblo::test {

// The sheets the program ships, loaded once.
const PetSheets& ShippedSheets();

// A desktop that answers like SimDesktop and records every probed point.
class ProbeLog : public SimDesktop {
 public:
  using SimDesktop::SimDesktop;
  WindowHandle WindowFromPoint(ScreenPoint p) override {
    probes.push_back(p);
    return SimDesktop::WindowFromPoint(p);
  }
  std::int32_t GetSystemMetrics(Metric m) override {
    if (m == Metric::DesktopLeft) ++subSteps;  // read once by every sub-step
    return SimDesktop::GetSystemMetrics(m);
  }
  std::vector<ScreenPoint> probes;
  int subSteps = 0;
};

struct World {
  explicit World(ScreenPoint at = {100, 100}, std::vector<Rect> windows = {}, std::int32_t screenWidth = 1024,
                 std::int32_t screenHeight = 768);

  // Runs `n` ticks.
  void Tick(int n = 1);
  // Places the pet exactly, window included, as if it had been there last tick.
  void Place(float x, float y);
  // Ticks until the pet rests on a floor (blocked downwards and slow), at most `limit` ticks.
  bool Settle(int limit = 2000);

  ProbeLog desktop;
  ScriptedRandom random{{}};
  double speedFactor = 0.988;
  SimPetWindow window;
  TZibbetForm pet;
};

}  // namespace pimblo::test
