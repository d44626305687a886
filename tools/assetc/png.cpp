#include "tools/assetc/png.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pimblo {

namespace {
constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kRgba = 6;  // colour type: truecolour with alpha
constexpr std::uint8_t kNoFilter = 0;
constexpr std::uint8_t kOpaque = 255, kClear = 0;
// zlib's header: deflate with a 32K window (0x78), no dictionary, the fastest
// level (0x01), which makes the pair a multiple of 31.
constexpr std::uint8_t kZlibHeader[] = {0x78, 0x01};
constexpr std::size_t kStoredBlockMax = 65535;

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(std::span(out).subspan(typeAt)));
}

// A zlib stream of stored deflate blocks: each its header byte (the last one
// marked final), its length and the length's complement, little-endian, then
// the bytes.
std::vector<std::uint8_t> StoredZlib(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> out(std::begin(kZlibHeader), std::end(kZlibHeader));
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kStoredBlockMax, data.size() - at);
    const bool final = at + n == data.size();
    out.push_back(final ? 1 : 0);  // BFINAL, BTYPE 00: stored
    const auto len = static_cast<std::uint16_t>(n);
    const auto nlen = static_cast<std::uint16_t>(~len);
    for (std::uint16_t v : {len, nlen}) {
      out.push_back(static_cast<std::uint8_t>(v & 0xFF));
      out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  } while (at < data.size());
  PutBig32(out, Adler32(data));
  return out;
}
}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t v : bytes) {
    a = (a + v) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> WritePng(const Bitmap& pixels, const Mask& clear) {
  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(pixels.width));
  PutBig32(header, static_cast<std::uint32_t>(pixels.height));
  header.insert(header.end(), {kBitDepth, kRgba, 0 /* deflate */, 0 /* adaptive filters */, 0 /* not interlaced */});

  std::vector<std::uint8_t> rows;
  for (int y = 0; y < pixels.height; ++y) {
    rows.push_back(kNoFilter);
    for (int x = 0; x < pixels.width; ++x) {
      const Pixel p = pixels.At(x, y);
      const bool seeThrough = clear.IsTransparent(x, y);
      rows.insert(rows.end(), {seeThrough ? std::uint8_t{0} : RedOf(p), seeThrough ? std::uint8_t{0} : GreenOf(p),
                               seeThrough ? std::uint8_t{0} : BlueOf(p), seeThrough ? kClear : kOpaque});
    }
  }

  std::vector<std::uint8_t> out(std::begin(kSignature), std::end(kSignature));
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", StoredZlib(rows));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace pimblo
