// The LZHUF decoder on arbitrary streams, and the encoder against it: whatever
// the encoder makes of the bytes, the decoder gives them back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "look/lzh.h"
#include "sprites/bytes.h"

// 3 ring windows: enough for matches that reach back across the ring's wrap.
constexpr std::size_t kRoundTripMax = 3 * 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pimblo;
  if (size < 2) return 0;
  // The first two bytes ask for an output size; the rest is the stream.
  ByteReader input({data, size});
  const std::size_t want = input.U16();
  const std::span<const std::uint8_t> stream = input.Bytes(input.Remaining());
  const std::vector<std::uint8_t> out = TLZH::Decode(stream, want);
  if (out.size() != want) std::abort();
  // Round trip of the same bytes, for small inputs only: the encoder is slow, and what it does with
  // a stream does not change past a few windows.
  if (stream.size() <= kRoundTripMax) {
    const std::vector<std::uint8_t> packed = TLZH::Encode(stream);
    if (TLZH::Decode(packed, stream.size()) != std::vector<std::uint8_t>(stream.begin(), stream.end())) std::abort();
  }
  // As a skin file (unpacked size, then the stream), with a limit that still refuses some sizes
  // but does not decode a megabyte of noise on every run.
  TLZH::UnpackFile({data, size}, 1u << 16);
  return 0;
}
