// Reads XPM (version 3) pictures, the editable form of our sprites, glyphs and icon.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sprites/bitmap.h"

namespace pimblo {

struct XpmImage {
  Bitmap pixels;    // None pixels are black here
  Mask clear;       // transparent where the XPM says None
  bool hasNone = false;
  std::vector<Pixel> colours;  // the colour table, None left out
};

std::variant<XpmImage, std::string> ReadXpm(std::string_view text);

}  // namespace pimblo
