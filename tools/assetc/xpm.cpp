#include "tools/assetc/xpm.h"

#include <charconv>
#include <map>
#include <optional>
#include <sstream>

#include "look/text.h"

namespace pimblo {
namespace {

// The C string literals of the file, in order.
std::vector<std::string> StringLiterals(std::string_view text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "/*") == 0) {
      const auto end = text.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 1;
      continue;
    }
    if (text[i] != '"') continue;
    std::string s;
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size()) ++i;
      s += text[i];
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::optional<std::pair<Pixel, bool>> ParseColour(std::string value) {
  value = ToLower(value);
  if (value == "none") return std::pair<Pixel, bool>{0, true};
  if (value == "black") return std::pair<Pixel, bool>{MakePixel(0, 0, 0), false};
  if (value == "white") return std::pair<Pixel, bool>{MakePixel(255, 255, 255), false};
  if (value == "red") return std::pair<Pixel, bool>{MakePixel(255, 0, 0), false};
  if (value.size() < 2 || value[0] != '#') return std::nullopt;
  const std::string hex = value.substr(1);
  if (hex.size() % 3 != 0 || hex.empty() || hex.size() > 12) return std::nullopt;
  const std::size_t n = hex.size() / 3;
  unsigned channel[3];
  for (int k = 0; k < 3; ++k) {
    unsigned v = 0;
    auto [p, ec] = std::from_chars(hex.data() + k * n, hex.data() + (k + 1) * n, v, 16);
    if (ec != std::errc() || p != hex.data() + (k + 1) * n) return std::nullopt;
    // Keep the top eight bits of whatever width the file uses.
    channel[k] = n >= 2 ? v >> (4 * (n - 2)) : v * 17;
  }
  return std::pair<Pixel, bool>{MakePixel(static_cast<std::uint8_t>(channel[0]), static_cast<std::uint8_t>(channel[1]),
                                          static_cast<std::uint8_t>(channel[2])),
                                false};
}

}  // namespace

std::variant<XpmImage, std::string> ReadXpm(std::string_view text) {
  const std::vector<std::string> lines = StringLiterals(text);
  if (lines.empty()) return std::string("no XPM values line");
  std::istringstream values(lines[0]);
  int width = 0, height = 0, ncolours = 0, cpp = 0;
  if (!(values >> width >> height >> ncolours >> cpp) || width <= 0 || height <= 0 || ncolours <= 0 || cpp <= 0 ||
      width > 4096 || height > 4096 || cpp > 4)
    return std::string("bad XPM values line");
  if (lines.size() < static_cast<std::size_t>(1 + ncolours + height)) return std::string("XPM is truncated");

  XpmImage image;
  std::map<std::string, std::pair<Pixel, bool>> table;
  for (int i = 0; i < ncolours; ++i) {
    const std::string& line = lines[static_cast<std::size_t>(1 + i)];
    if (line.size() < static_cast<std::size_t>(cpp)) return "bad colour line " + std::to_string(i + 1);
    const std::string key = line.substr(0, static_cast<std::size_t>(cpp));
    std::istringstream rest(line.substr(static_cast<std::size_t>(cpp)));
    std::string type, value, found;
    while (rest >> type >> value)
      if (type == "c") found = value;
    auto colour = ParseColour(found);
    if (!colour) return "unknown colour \"" + found + "\" for key \"" + key + "\"";
    table[key] = *colour;
    if (!colour->second) image.colours.push_back(colour->first);
  }

  image.pixels = Bitmap(width, height);
  image.clear = Mask(width, height);
  for (int y = 0; y < height; ++y) {
    const std::string& row = lines[static_cast<std::size_t>(1 + ncolours + y)];
    if (row.size() != static_cast<std::size_t>(width * cpp)) return "row " + std::to_string(y) + " has the wrong length";
    for (int x = 0; x < width; ++x) {
      auto it = table.find(row.substr(static_cast<std::size_t>(x * cpp), static_cast<std::size_t>(cpp)));
      if (it == table.end()) return "row " + std::to_string(y) + " uses an unknown colour key";
      image.pixels.At(x, y) = it->second.first;
      image.clear.Set(x, y, it->second.second);
      image.hasNone = image.hasNone || it->second.second;
    }
  }
  return image;
}

}  // namespace pimblo
