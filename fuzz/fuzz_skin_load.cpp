// The skin component on arbitrary packages: the bytes are taken as an unpacked
// skin package and loaded into skin objects at run time with no skin manager
// behind it. Handing the package over unpacked lets the fuzzer change the
// package's structure, the description and the bitmaps directly instead of bits
// of a compressed stream, and spares every run a pack and an unpack: the coder
// has its own target, and fuzz_skin reads packed skin files.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "look/win_skin_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  TSkinData skin;
  skin.Designing = false;
  skin.LoadSkinPackage(std::vector<std::uint8_t>(data, data + size));
  skin.Loaded();
  return 0;
}
