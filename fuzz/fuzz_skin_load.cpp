// The skin component on arbitrary packages: the bytes are taken as an unpacked
// skin package, packed into a skin file and stored as the SkinStream value, then
// loaded into skin objects at run time with no skin manager behind it. Packing
// first lets the fuzzer change the package's structure, the description and the
// bitmaps directly instead of bits of a compressed stream (the decoder has its own
// target).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "look/lzh.h"
#include "look/win_skin_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  const std::vector<std::uint8_t> value = SkinStreamOf(TLZH::PackFile({data, size}));
  TSkinData skin;
  skin.Designing = false;
  skin.ReadSkinStream(value);  // loads at once
  skin.Loaded();
  return 0;
}
