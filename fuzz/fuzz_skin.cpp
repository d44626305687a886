// The skin readers on arbitrary bytes: the skin file (LZHUF stream behind its
// unpacked size) through the package reader, and the description parser.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "look/lzh.h"
#include "look/skin_read.h"
#include "look/win_skin_ini.h"
#include "sprites/bytes.h"

// Our own skin unpacks to about 215 KiB.
constexpr std::uint32_t kMaxUnpacked = 512u << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  // A skin file whose size field asks for more than a few of our skins is skipped unless it is
  // past the reader's own limit: the reader would otherwise decode megabytes of noise on every
  // run, while the refusal of the limit stays reached.
  const std::uint32_t unpacked = size >= 4 ? ByteReader({data, size}).U32() : 0;
  const bool open = unpacked <= kMaxUnpacked || unpacked > kLzhMaxUnpackedSize;
  TSkinReader reader([](std::string_view) {});
  if (open && reader.Open({data, size})) {
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
