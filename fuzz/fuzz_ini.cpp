// The description parser on arbitrary text: every way the skin reads it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "look/win_skin_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  TQuickIni ini;
  ini.Load(std::span<const std::uint8_t>(data, size));
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  for (const std::string& s : sections) {
    ini.ReadString(s, "Image", "");
    ini.ReadInteger(s, "Action", -1);
    ini.ReadInteger(s, "frame", 0);
    ini.ReadColor(s, "color", 0x80000008);
  }
  ini.ReadColor("Colours", "ButtonFace", 0);
  ini.ReadInteger("Personality", "LeftFrame", 1);
  // The value converter on the whole input as one value.
  TQuickIni::ToInteger(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
