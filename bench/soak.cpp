// A long run of the engine on a simulated desktop whose windows appear, move and
// close at random (fixed seed): the pet's state must stay finite and on the
// screen, and the memory flat.
//   pimblo_soak [TICKS]      (default ten million)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "pet/zibbet.h"
#include "resources/embedded_assets.h"
#include "sprites/pet_sheets.h"
#include "tools/sim/sim_desktop.h"

namespace {

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pimblo;
  const long long ticks = argc > 1 ? std::atoll(argv[1]) : 10'000'000;
  const auto sheets = std::get<PetSheets>(LoadPetSheets(assets::HeadsStream(), assets::LegsStream()));
  std::mt19937 rng(20261207);
  SimDesktop desktop(1024, 768);
  struct Draws : RandomSource {
    std::mt19937* rng;
    std::int32_t Random(std::int32_t n) override { return static_cast<std::int32_t>((*rng)() % static_cast<unsigned>(n)); }
  } draws;
  draws.rng = &rng;
  double speedFactor = 0.988;
  SimPetWindow window(desktop, sheets, {500, 100});
  TZibbetForm pet(desktop, window, draws, speedFactor);
  pet.PosX = 500;
  pet.PosY = 100;

  std::vector<Rect> windows;
  auto randomWindow = [&] {
    const int left = static_cast<int>(rng() % 1100) - 60, top = static_cast<int>(rng() % 800) - 30;
    return Rect{left, top, left + 40 + static_cast<int>(rng() % 500), top + 30 + static_cast<int>(rng() % 400)};
  };
  long long drags = 0, escapes = 0, bad = 0;
  long rssAtStart = 0, rssMax = 0;
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (long long t = 1; t <= ticks; ++t) {
    // Now and then the desktop changes: a window opens, moves or closes.
    if (rng() % 50 == 0) {
      const unsigned what = rng() % 3;
      if (what == 0 && windows.size() < 40) windows.insert(windows.begin(), randomWindow());
      if (what == 1 && !windows.empty()) {
        Rect& w = windows[rng() % windows.size()];
        const int dx = static_cast<int>(rng() % 41) - 20, dy = static_cast<int>(rng() % 41) - 20;
        w = {w.left + dx, w.top + dy, w.right + dx, w.bottom + dy};
      }
      if (what == 2 && !windows.empty()) windows.erase(windows.begin() + static_cast<long>(rng() % windows.size()));
      desktop.SetWindows(windows);
    }
    // Now and then the user picks the pet up and throws it.
    if (!pet.Dragging && rng() % 20000 == 0) {
      desktop.SetCursor({window.Left() + 10, window.Top() + 10});
      pet.ImageMouseDown(MouseButton::Left, 10, 10);
      desktop.SetCursor({static_cast<int>(rng() % 1024), static_cast<int>(rng() % 768)});
      ++drags;
    } else if (pet.Dragging && rng() % 100 == 0) {
      pet.ImageMouseUp(MouseButton::Left, 0, 0);
    }
    const bool wasStuck = pet.StuckCounter == 1;
    pet.MoveZibbet();
    if (wasStuck && pet.StuckCounter == 0) ++escapes;
    const float values[] = {pet.PosX, pet.PosY, pet.VelX, pet.VelY, pet.Speed, pet.LegFrame};
    bool ok = true;
    for (float v : values) ok = ok && std::isfinite(v);
    ok = ok && pet.PosX >= 0 && pet.PosX <= 1024 - 32 && pet.PosY >= 0 && pet.PosY <= 768 - 32;
    ok = ok && window.Left() >= 0 && window.Top() >= 0 && window.Left() <= 992 && window.Top() <= 736;
    if (!ok && ++bad <= 5)
      std::fprintf(stderr, "tick %lld: PosX %g PosY %g VelX %g VelY %g\n", t, double(pet.PosX), double(pet.PosY),
                   double(pet.VelX), double(pet.VelY));
    minX = std::min(minX, pet.PosX), maxX = std::max(maxX, pet.PosX);
    minY = std::min(minY, pet.PosY), maxY = std::max(maxY, pet.PosY);
    if (t == 100'000) rssAtStart = ResidentKb();
    if (t % 1'000'000 == 0) rssMax = std::max(rssMax, ResidentKb());
  }
  std::printf("ticks %lld, drags %lld, escapes %lld, bad states %lld\n", ticks, drags, escapes, bad);
  std::printf("x in [%g, %g], y in [%g, %g]\n", double(minX), double(maxX), double(minY), double(maxY));
  std::printf("resident memory: %ld kB after 100k ticks, at most %ld kB later\n", rssAtStart, rssMax);
  std::printf("probes %lld, window moves %lld, redraws %lld\n", static_cast<long long>(desktop.counts.windowFromPoint),
              static_cast<long long>(desktop.counts.windowMoves), static_cast<long long>(desktop.counts.redraws));
  return bad == 0 ? 0 : 1;
}
