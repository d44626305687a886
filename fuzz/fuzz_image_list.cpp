// The image-list stream reader on arbitrary bytes: it refuses or reads, never
// reads outside the input, never allocates out of proportion.
#include <cstddef>
#include <cstdint>

#include "sprites/image_list_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = pimblo::ReadImageListStream({data, size});
  if (result.list) {
    pimblo::Bitmap target;
    for (std::int32_t i = 0; i < result.list->Count(); ++i) result.list->Draw(i, target);
  }
  return 0;
}
