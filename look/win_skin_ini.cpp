#include "look/win_skin_ini.h"

#include <algorithm>
#include <stdexcept>

#include "look/text.h"

namespace pimblo {
namespace {

bool IsSectionLine(std::string_view line) { return !line.empty() && line.front() == '[' && line.back() == ']'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void TQuickIni::Load(std::span<const std::uint8_t> bytes) {
  const auto nul = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  Load(std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(nul - bytes.begin())));
}

void TQuickIni::Load(std::string_view text) {
  lines_.clear();
  sections_.clear();
  text = text.substr(0, text.find('\0'));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(start, end - start));
    if (!line.empty() && line.front() != ';') {
      if (IsSectionLine(line)) sections_.push_back(lines_.size());
      lines_.emplace_back(line);
    }
    // CR LF is one line end.
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  std::string header;
  header.reserve(section.size() + 2);
  header.append(1, '[').append(section).append(1, ']');
  const auto found = std::ranges::find_if(sections_, [&](std::size_t at) { return SameText(lines_[at], header); });
  if (found == sections_.end()) return std::string(def);

  const std::string wanted = ToLower(key);
  for (std::size_t i = *found + 1; i < lines_.size() && !IsSectionLine(lines_[i]); ++i) {
    const std::string_view line = lines_[i];
    const std::size_t eq = line.find('=');
    const std::string_view lineKey = eq == std::string_view::npos ? std::string_view() : Trim(line.substr(0, eq));
    if (ToLower(lineKey) != wanted) continue;
    const std::string_view value = eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
    return std::string(value.empty() ? def : value);
  }
  return std::string(def);
}

std::optional<std::int32_t> TQuickIni::ToInteger(std::string_view value) {
  bool negative = false;
  bool hex = false;
  if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    hex = true;
    value.remove_prefix(2);
  } else {
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
      negative = value.front() == '-';
      value.remove_prefix(1);
    }
    if (!value.empty() && value.front() == '$') {
      hex = true;
      value.remove_prefix(1);
    }
  }
  if (value.empty()) return std::nullopt;

  // Decimal values must fit; hexadecimal ones may use all 32 bits, the top one being the sign.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (char c : value) {
    const int digit = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  auto bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
  return ToInteger(ReadString(section, key, "")).value_or(def);
}

std::uint32_t TQuickIni::ReadColor(std::string_view section, std::string_view key, std::uint32_t def) const {
  const std::string value = ReadString(section, key, "");
  if (value.empty()) return def;
  std::uint32_t parts[3] = {0, 0, 0};
  int part = -1;
  bool inNumber = false;
  for (char c : value) {
    if (c < '0' || c > '9') {
      inNumber = false;
      continue;
    }
    if (!inNumber) ++part;
    inNumber = true;
    if (part < 3) parts[part] = (parts[part] * 10 + static_cast<std::uint32_t>(c - '0')) % 256;
  }
  return RgbColor(static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                  static_cast<std::uint8_t>(parts[2]));
}

void TQuickIni::ReadSections(std::vector<std::string>* strings) const {
  if (!strings) throw std::invalid_argument("The parameter Strings is unassigned!");
  strings->clear();
  for (std::size_t at : sections_) {
    const std::string_view line = lines_[at];
    strings->emplace_back(Trim(line.substr(1, line.size() - 2)));
  }
}

}  // namespace pimblo
