// The skin readers on arbitrary bytes: the skin file (LZHUF stream behind its
// unpacked size) through the package reader, and the description parser.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "look/skin_read.h"
#include "look/win_skin_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  TSkinReader reader([](std::string_view) {});
  if (reader.Open({data, size})) {
    std::vector<std::uint8_t> bytes;
    std::string name;
    if (reader.FindFile(".ini", bytes, name)) {
      TQuickIni ini;
      ini.Load(bytes);
      std::vector<std::string> sections;
      ini.ReadSections(&sections);
      for (const auto& s : sections) ini.ReadColor(s, "ButtonFace", 0);
    }
    for (std::size_t i = 0; i < reader.Count(); ++i) reader.GetFile(reader.Name(i), bytes);
  }
  // The same bytes as a description, too.
  TQuickIni ini;
  ini.Load(std::span<const std::uint8_t>(data, size));
  ini.ReadString("Colours", "ButtonFace", "");
  ini.ReadInteger("Personality", "LeftFrame", 1);
  return 0;
}
