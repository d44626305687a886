// The process-wide pseudo-random generator: a 32-bit linear congruential
// generator; a draw in [0, n) takes the high part of seed × n.
#pragma once

#include <cstdint>

#include "pet/platform.h"

namespace pimblo {

class LinearRandom : public RandomSource {
 public:
  explicit LinearRandom(std::uint32_t seed = 0) : seed_(seed) {}
  void Seed(std::uint32_t seed) { seed_ = seed; }
  std::int32_t Random(std::int32_t n) override {
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(n)) >> 32);
  }

 private:
  std::uint32_t seed_;
};

}  // namespace pimblo
