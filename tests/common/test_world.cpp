#include "tests/common/test_world.h"

#include <cmath>
#include <stdexcept>

#include "resources/embedded_assets.h"

namespace pimblo::test {

const PetSheets& ShippedSheets() {
  static const PetSheets sheets = [] {
    auto loaded = LoadPetSheets(assets::HeadsStream(), assets::LegsStream());
    if (auto* error = std::get_if<std::string>(&loaded)) throw std::runtime_error(*error);
    return std::get<PetSheets>(std::move(loaded));
  }();
  return sheets;
}

World::World(ScreenPoint at, std::vector<Rect> windows, std::int32_t screenWidth, std::int32_t screenHeight)
    : desktop(screenWidth, screenHeight), window(desktop, ShippedSheets(), at),
      pet(desktop, window, random, speedFactor) {
  desktop.SetWindows(std::move(windows));
  desktop.SetCursor(at);
  pet.PosX = static_cast<float>(at.x);
  pet.PosY = static_cast<float>(at.y);
  pet.LegFrame = 0;
  pet.ShownLeg = 1;
}

void World::Tick(int n) {
  for (int i = 0; i < n; ++i) pet.MoveZibbet();
}

void World::Place(float x, float y) {
  pet.PosX = x;
  pet.PosY = y;
  window.MoveTo({Trunc(x), Trunc(y)});
}

bool World::Settle(int limit) {
  for (int i = 0; i < limit; ++i) {
    Tick();
    if (pet.BlockedY && std::fabs(pet.VelY) < 0.5f && pet.AirTicks == 0 && i > 50) return true;
  }
  return false;
}

}  // namespace pimblo::test
