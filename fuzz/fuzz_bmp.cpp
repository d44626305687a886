// The BMP reader on arbitrary bytes; what it reads must survive writing and reading again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "look/bmp_read.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  const auto bitmap = ReadBmp({data, size});
  if (bitmap && bitmap->pixels.size() <= (1u << 16)) {
    const auto again = ReadBmp(WriteBmp24(*bitmap));
    if (!again || *again != *bitmap) std::abort();
  }
  return 0;
}
