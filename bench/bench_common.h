// What the benchmarks share: the pet's sheets as the program carries them, and a
// fixed set of random windows.
#pragma once

#include <random>
#include <variant>
#include <vector>

#include "pet/platform.h"
#include "resources/embedded_assets.h"
#include "sprites/pet_sheets.h"

namespace pimblo::bench {

inline const PetSheets& Sheets() {
  static const PetSheets sheets = std::get<PetSheets>(LoadPetSheets(assets::HeadsStream(), assets::LegsStream()));
  return sheets;
}

// `n` windows of 100 to 400 by 80 to 280 pixels scattered over a 1024 × 768
// screen, the same ones on every run.
inline std::vector<Rect> SomeWindows(int n) {
  std::mt19937 rng(42);
  std::vector<Rect> w;
  for (int i = 0; i < n; ++i) {
    const int left = static_cast<int>(rng() % 900), top = static_cast<int>(rng() % 600);
    w.push_back({left, top, left + 100 + static_cast<int>(rng() % 300), top + 80 + static_cast<int>(rng() % 200)});
  }
  return w;
}

}  // namespace pimblo::bench
