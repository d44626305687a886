// The simulator's scenario reader on arbitrary text: a scenario or one line of
// error, never a crash. Short accepted scenarios are run a few ticks.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "resources/embedded_assets.h"
#include "tools/sim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  auto parsed = ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
  if (auto* scenario = std::get_if<Scenario>(&parsed)) {
    static const PetSheets sheets = std::get<PetSheets>(LoadPetSheets(assets::HeadsStream(), assets::LegsStream()));
    if (scenario->ticks > 200) scenario->ticks = 200;
    if (scenario->windows.size() > 50) scenario->windows.resize(50);
    std::ostringstream out;
    RunScenario(*scenario, sheets, out);
  }
  return 0;
}
