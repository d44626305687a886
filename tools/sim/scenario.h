// Scenarios of the simulator: a desktop, a pet, a number of ticks and what happens
// on the way, read from JSON; and the run that prints a CSV trace of the pet.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "pet/platform.h"
#include "sprites/pet_sheets.h"
#include "tools/sim/sim_desktop.h"

namespace pimblo {

struct ScenarioEvent {
  enum class Kind { Cursor, Press, Release, Windows, SpeedFactor };
  std::int64_t tick = 1;  // applied just before the tick-th call of the tick
  Kind kind = Kind::Cursor;
  ScreenPoint point;           // cursor, or the client point of a press
  MouseButton button = MouseButton::Left;
  std::vector<Rect> windows;
  double speedFactor = 0;
};

struct Scenario {
  std::int32_t screenWidth = 1024;
  std::int32_t screenHeight = 768;
  DesktopArea desktop{0, 0, 1024, 768};
  std::vector<Rect> windows;  // topmost first
  ScreenPoint pet{100, 100};
  double speedFactor = 0.988;
  std::int64_t ticks = 0;
  std::vector<std::int32_t> random;    // the draws in order, then 0 for ever…
  std::optional<std::uint32_t> seed;   // …or the program's own generator from this seed
  std::vector<ScenarioEvent> events;  // in the order listed
};

// A scenario, or one line naming what is wrong with the text.
std::variant<Scenario, std::string> ParseScenario(std::string_view json);

constexpr std::string_view kTraceHeader =
    "tick,PosX,PosY,VelX,VelY,Left,Top,Speed,Direction,Dragging,BlockedX,BlockedY,AirTicks,StuckCounter,"
    "HeadFrame,LegFrame,ShownHead,ShownLeg";

// Runs the scenario on a simulated desktop and writes the header and one row
// after each tick. Returns the desktop's counts.
SimCounts RunScenario(const Scenario& scenario, const PetSheets& sheets, std::ostream& out);

}  // namespace pimblo
