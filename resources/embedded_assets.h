// The compiled assets, built into the tools and tests from the same files the
// program ships.
#pragma once

#include <cstdint>
#include <span>

namespace pimblo::assets {

std::span<const std::uint8_t> HeadsStream();  // image-list stream of the head frames
std::span<const std::uint8_t> LegsStream();   // image-list stream of the leg frames
std::span<const std::uint8_t> SkinStream();   // the skin: 32-bit length, then the skin file

}  // namespace pimblo::assets
