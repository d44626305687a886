#include "look/bmp_read.h"

namespace pimblo {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kHeaderWithMasksSize = 52;  // the larger headers carry the masks themselves
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint16_t U16At(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t U32At(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}

Pixel BgrAt(std::span<const std::uint8_t> b, std::size_t at) { return MakePixel(b[at + 2], b[at + 1], b[at]); }

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::optional<Bitmap> ReadBmp(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint64_t pixelsAt = U32At(file, 10);
  const std::uint32_t headerSize = U32At(file, 14);
  if (headerSize < kInfoHeaderSize || headerSize > file.size() - kFileHeaderSize) return std::nullopt;

  const auto width = static_cast<std::int32_t>(U32At(file, 18));
  const auto rawHeight = static_cast<std::int32_t>(U32At(file, 22));
  const std::uint16_t planes = U16At(file, 26);
  const std::uint16_t bits = U16At(file, 28);
  const std::uint32_t compression = U32At(file, 30);
  const std::uint32_t coloursUsed = U32At(file, 46);

  // Sizes are taken into 64 bits before anything is multiplied.
  const bool topDown = rawHeight < 0;
  const std::int64_t height = topDown ? -std::int64_t{rawHeight} : std::int64_t{rawHeight};
  if (width <= 0 || height <= 0 || width > kBmpMaxSide || height > kBmpMaxSide) return std::nullopt;
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kBmpMaxPixels) return std::nullopt;
  if (planes != 1) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

  // What stands between the info header and the pixels: the masks or the palette.
  std::uint64_t tablesEnd = kFileHeaderSize + std::uint64_t{headerSize};
  std::vector<Pixel> palette;
  if (compression == kBitFields) {
    if (bits != 32) return std::nullopt;
    const std::uint64_t masksAt = headerSize >= kHeaderWithMasksSize ? kFileHeaderSize + kInfoHeaderSize : tablesEnd;
    if (headerSize < kHeaderWithMasksSize) tablesEnd += 12;
    if (masksAt + 12 > file.size()) return std::nullopt;
    const auto at = static_cast<std::size_t>(masksAt);
    if (U32At(file, at) != 0x00FF0000 || U32At(file, at + 4) != 0x0000FF00 || U32At(file, at + 8) != 0x000000FF)
      return std::nullopt;
  } else if (compression != kUncompressed) {
    return std::nullopt;
  }
  if (bits <= 8) {
    const std::uint32_t most = 1u << bits;
    const std::uint32_t count = coloursUsed == 0 ? most : coloursUsed;
    if (count > most) return std::nullopt;
    const std::uint64_t paletteAt = tablesEnd;
    tablesEnd += std::uint64_t{count} * 4;
    if (tablesEnd > file.size()) return std::nullopt;
    palette.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
      palette.push_back(BgrAt(file, static_cast<std::size_t>(paletteAt) + 4 * i));
  }
  if (tablesEnd > file.size() || pixelsAt < tablesEnd) return std::nullopt;

  // Rows are padded to whole 32-bit words.
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  if (pixelsAt > file.size() || stride * static_cast<std::uint64_t>(height) > file.size() - pixelsAt)
    return std::nullopt;

  const auto h = static_cast<std::int32_t>(height);
  Bitmap out(width, h);
  const auto first = static_cast<std::size_t>(pixelsAt);
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t stored = topDown ? y : h - 1 - y;
    const std::size_t row = first + static_cast<std::size_t>(stored) * static_cast<std::size_t>(stride);
    for (std::int32_t x = 0; x < width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      Pixel p = 0;
      switch (bits) {
        case 32: p = BgrAt(file, row + 4 * ux); break;
        case 24: p = BgrAt(file, row + 3 * ux); break;
        default: {
          // Packed indices, the leftmost pixel in the highest bits of its byte.
          const std::size_t bit = ux * bits;
          const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
          const unsigned index = (file[row + bit / 8] >> shift) & ((1u << bits) - 1);
          p = index < palette.size() ? palette[index] : 0;
        }
      }
      out.At(x, y) = p;
    }
  }
  return out;
}

std::vector<std::uint8_t> WriteBmp24(const Bitmap& bitmap) {
  const auto width = static_cast<std::uint32_t>(bitmap.width);
  const auto height = static_cast<std::uint32_t>(bitmap.height);
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = stride * height;
  const std::uint32_t headers = static_cast<std::uint32_t>(kFileHeaderSize) + kInfoHeaderSize;
  std::vector<std::uint8_t> out;
  out.reserve(headers + imageBytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, headers + imageBytes);
  PutU32(out, 0);
  PutU32(out, headers);
  PutU32(out, kInfoHeaderSize);
  PutU32(out, width);
  PutU32(out, height);
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, kUncompressed);
  PutU32(out, imageBytes);
  PutU32(out, 2835);  // 72 dots an inch
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (std::int32_t y = bitmap.height - 1; y >= 0; --y) {
    for (std::int32_t x = 0; x < bitmap.width; ++x) {
      const Pixel p = bitmap.At(x, y);
      out.push_back(BlueOf(p));
      out.push_back(GreenOf(p));
      out.push_back(RedOf(p));
    }
    out.insert(out.end(), stride - width * 3, 0);
  }
  return out;
}

}  // namespace pimblo
