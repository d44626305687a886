// The compiled assets, built into the tools and tests from the same files the
// program ships.
#pragma once

#include <cstdint>
#include <span>

namespace pimblo::assets {

std::span<const std::uint8_t> HeadsStream();  // image-list stream of the head frames
std::span<const std::uint8_t> LegsStream();   // image-list stream of the leg frames
std::span<const std::uint8_t> SkinStream();   // the skin: 32-bit length, then the skin file
std::span<const std::uint8_t> IconFile();     // the program's icon file, at 16, 32 and 48 pixels

// The menu's glyphs, BMP files.
std::span<const std::uint8_t> GlyphStop();
std::span<const std::uint8_t> GlyphGo();
std::span<const std::uint8_t> GlyphSpeed();
std::span<const std::uint8_t> GlyphFaster();
std::span<const std::uint8_t> GlyphSlower();
std::span<const std::uint8_t> GlyphBall();
std::span<const std::uint8_t> GlyphHelp();
std::span<const std::uint8_t> GlyphQuit();
// The skinned windows' system menu glyphs: a strip of 16 x 16 squares, one a tag.
std::span<const std::uint8_t> SystemMenuGlyphs();

}  // namespace pimblo::assets
