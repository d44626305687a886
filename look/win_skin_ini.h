// A small read-only parser for the skin description: "[Section]" lines and "key=value" lines,
// comments starting with ";". Sections match without regard to case, keys are compared in lower
// case, values are trimmed and keep their case. The text is ASCII.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pimblo {

// A colour as the window system keeps it: red in the low byte, then green, then blue.
constexpr std::uint32_t RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red | (std::uint32_t{green} << 8) | (std::uint32_t{blue} << 16);
}

class TQuickIni {
 public:
  // Replaces what was loaded. Lines end at CR, LF or CR LF and a NUL byte ends the text. Lines are
  // trimmed; empty ones and comments are dropped.
  void Load(std::span<const std::uint8_t> bytes);
  void Load(std::string_view text);

  // The trimmed value of the first line of `key` in the first `section`, or `def` when the section,
  // the key or the value is missing. Only the first line with the key counts, even when its value
  // is empty.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // The value as a 32-bit integer: decimal, or hexadecimal after "$" or (when longer than 2
  // characters) after "0x"/"0X"; `def` when it does not convert.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  // A colour written as three decimal numbers (red, green, blue) between any other characters,
  // e.g. "213 222 242"; each is taken modulo 256 and missing ones are 0. A fourth number and any
  // after it are ignored. An empty value gives `def`, which is returned as it is (it may name a
  // system colour).
  std::uint32_t ReadColor(std::string_view section, std::string_view key, std::uint32_t def) const;
  // The section names in order, without brackets, trimmed; `strings` is cleared first.
  // Throws std::invalid_argument with "The parameter Strings is unassigned!" for a null list.
  void ReadSections(std::vector<std::string>* strings) const;

  // The conversion ReadInteger uses.
  static std::optional<std::int32_t> ToInteger(std::string_view value);

 private:
  std::vector<std::string> lines_;
  std::vector<std::size_t> sections_;  // positions in lines_ of the "[...]" lines
};

}  // namespace pimblo
