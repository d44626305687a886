// The skin component on arbitrary bytes: a stored SkinStream value (length, then a skin file)
// read and loaded into skin objects at run time, with no skin manager behind it.
#include <cstddef>
#include <cstdint>

#include "look/win_skin_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  TSkinData skin;
  skin.Designing = false;
  skin.ReadSkinStream({data, size});  // loads at once
  skin.Loaded();
  return 0;
}
