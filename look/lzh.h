// LZHUF, the compression of our skin files: LZSS over a 4096-byte ring with matches of 3 to 60
// bytes, whose literals and match lengths are coded by an adaptive Huffman tree and whose match
// positions by a fixed code for the upper 6 bits plus 6 plain bits. Bits go most significant first.
//
// A skin file is U, the unpacked size (32-bit little-endian), followed by the compressed stream.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The coder's inner steps run once for every bit or symbol and their loops compare counts and
// positions: the fuzzers learn nothing from tracing those comparisons, which took most of their
// time. These steps are left out of the coverage instrumentation (nothing else changes).
#if defined(__clang__) && defined(__has_attribute)
#if __has_attribute(no_sanitize)
#define PIMBLO_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#endif
#endif
#ifndef PIMBLO_NO_COVERAGE
#define PIMBLO_NO_COVERAGE
#endif

namespace pimblo {

// The largest unpacked size we accept from a skin file. The format allows up to 4 GiB, but our
// skins unpack to about half a megabyte, and a bigger U only comes from a damaged or hostile file.
constexpr std::uint32_t kLzhMaxUnpackedSize = 16u << 20;

// The adaptive Huffman model of the 314 literal/length symbols (256 bytes, then the match lengths
// 3..60 as symbols 256..313). Encoder and decoder keep one each and update them in step.
// Nodes 0..626 are kept in order of frequency; node 626 is the root.
class TLzhTree {
 public:
  static constexpr int kSymbols = 314;
  static constexpr int kNodes = 2 * kSymbols - 1;
  static constexpr int kRoot = kNodes - 1;
  static constexpr std::uint32_t kMaxFreq = 0x8000;

  TLzhTree();

  // Counts one more `symbol`; rebuilds the tree with halved counts once the root reaches kMaxFreq.
  void Update(int symbol);

  // The code of `symbol`, root first, in `bits` (one bit a byte); returns its length.
  int Code(int symbol, std::array<std::uint8_t, kNodes>& bits) const;

  // For checks of the tree's shape: a node's count, its first child (a leaf holds
  // kNodes + its symbol instead) and its parent (0 for the root); the node of a symbol's leaf.
  std::uint32_t Freq(int node) const { return freq_[static_cast<std::size_t>(node)]; }
  PIMBLO_NO_COVERAGE int Child(int node) const { return child_[static_cast<std::size_t>(node)]; }
  int Parent(int node) const { return parent_[static_cast<std::size_t>(node)]; }
  int LeafOf(int symbol) const { return parent_[static_cast<std::size_t>(symbol + kNodes)]; }

 private:
  void Rebuild();

  std::array<std::uint32_t, kNodes + 1> freq_{};  // the extra slot is a stop mark above every count
  std::array<int, kNodes + kSymbols> parent_{};   // entries kNodes.. give each symbol's leaf
  std::array<int, kNodes> child_{};
};

struct LzhUnpackResult {
  std::optional<std::vector<std::uint8_t>> data;
  std::string error;  // why the file was refused, when it was
};

class TLZH {
 public:
  // Decodes `stream` into exactly `size` bytes. Decoding runs until at least `size` bytes came out
  // and copies a final match whole into the ring, but a match that runs past `size` is delivered
  // only up to it. Input past the end of `stream` reads as zero bits, so a truncated stream still
  // gives `size` bytes. The caller bounds `size`: this allocates it.
  static std::vector<std::uint8_t> Decode(std::span<const std::uint8_t> stream, std::size_t size);

  // Compresses `data` into a stream that Decode(stream, data.size()) turns back into `data`.
  static std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data);

  // A skin file: U followed by the stream. Files shorter than 4 bytes and U above `maxSize` are
  // refused with a reason.
  static LzhUnpackResult UnpackFile(std::span<const std::uint8_t> file, std::uint32_t maxSize = kLzhMaxUnpackedSize);
  // Throws std::length_error for data of 4 GiB or more, which U cannot hold.
  static std::vector<std::uint8_t> PackFile(std::span<const std::uint8_t> data);
};

}  // namespace pimblo
