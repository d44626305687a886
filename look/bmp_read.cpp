#include "look/bmp_read.h"

#include "sprites/bytes.h"

namespace pimblo {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kHeaderWithMasksSize = 52;  // the larger headers carry the masks themselves
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

// The fields of the file header and the info header the reader goes by.
struct BmpHeaders {
  std::uint64_t pixelsAt = 0;  // read as 32 bits, held in 64 for the sums
  std::uint32_t headerSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows top-down
  std::uint16_t planes = 0;
  std::uint16_t bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
};

// `file` holds at least both headers.
BmpHeaders ReadHeaders(std::span<const std::uint8_t> file) {
  ByteReader r(file);
  BmpHeaders h;
  r.Skip(2 + 4 + 4);  // "BM", the file's size, two reserved words
  h.pixelsAt = r.U32();
  h.headerSize = r.U32();
  h.width = r.I32();
  h.height = r.I32();
  h.planes = r.U16();
  h.bits = r.U16();
  h.compression = r.U32();
  r.Skip(4 + 4 + 4);  // the pixels' size, the resolution across and down
  h.coloursUsed = r.U32();
  return h;
}

Pixel BgrAt(std::span<const std::uint8_t> b, std::size_t at) { return MakePixel(b[at + 2], b[at + 1], b[at]); }

}  // namespace

std::optional<Bitmap> ReadBmp(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const BmpHeaders head = ReadHeaders(file);
  if (head.headerSize < kInfoHeaderSize || head.headerSize > file.size() - kFileHeaderSize) return std::nullopt;

  // Sizes are taken into 64 bits before anything is multiplied.
  const bool topDown = head.height < 0;
  const std::int64_t height = topDown ? -std::int64_t{head.height} : std::int64_t{head.height};
  if (head.width <= 0 || height <= 0 || head.width > kBmpMaxSide || height > kBmpMaxSide) return std::nullopt;
  if (static_cast<std::uint64_t>(head.width) * static_cast<std::uint64_t>(height) > kBmpMaxPixels) return std::nullopt;
  if (head.planes != 1) return std::nullopt;
  if (head.bits != 1 && head.bits != 4 && head.bits != 8 && head.bits != 24 && head.bits != 32) return std::nullopt;

  // What stands between the info header and the pixels: the masks or the palette.
  std::uint64_t tablesEnd = kFileHeaderSize + std::uint64_t{head.headerSize};
  std::vector<Pixel> palette;
  if (head.compression == kBitFields) {
    if (head.bits != 32) return std::nullopt;
    const std::uint64_t masksAt = head.headerSize >= kHeaderWithMasksSize ? kFileHeaderSize + kInfoHeaderSize : tablesEnd;
    if (head.headerSize < kHeaderWithMasksSize) tablesEnd += 12;
    if (masksAt + 12 > file.size()) return std::nullopt;
    ByteReader masks(file.subspan(static_cast<std::size_t>(masksAt)));
    if (masks.U32() != 0x00FF0000 || masks.U32() != 0x0000FF00 || masks.U32() != 0x000000FF) return std::nullopt;
  } else if (head.compression != kUncompressed) {
    return std::nullopt;
  }
  if (head.bits <= 8) {
    const std::uint32_t most = 1u << head.bits;
    const std::uint32_t count = head.coloursUsed == 0 ? most : head.coloursUsed;
    if (count > most) return std::nullopt;
    const std::uint64_t paletteAt = tablesEnd;
    tablesEnd += std::uint64_t{count} * 4;
    if (tablesEnd > file.size()) return std::nullopt;
    palette.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
      palette.push_back(BgrAt(file, static_cast<std::size_t>(paletteAt) + 4 * i));
  }
  if (tablesEnd > file.size() || head.pixelsAt < tablesEnd) return std::nullopt;

  // Rows are padded to whole 32-bit words.
  const std::uint64_t stride = (static_cast<std::uint64_t>(head.width) * head.bits + 31) / 32 * 4;
  if (head.pixelsAt > file.size() || stride * static_cast<std::uint64_t>(height) > file.size() - head.pixelsAt)
    return std::nullopt;

  const auto h = static_cast<std::int32_t>(height);
  Bitmap out(head.width, h);
  const auto first = static_cast<std::size_t>(head.pixelsAt);
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t stored = topDown ? y : h - 1 - y;
    const std::size_t row = first + static_cast<std::size_t>(stored) * static_cast<std::size_t>(stride);
    for (std::int32_t x = 0; x < head.width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      Pixel p = 0;
      switch (head.bits) {
        case 32: p = BgrAt(file, row + 4 * ux); break;
        case 24: p = BgrAt(file, row + 3 * ux); break;
        default: {
          // Packed indices, the leftmost pixel in the highest bits of its byte.
          const std::size_t bit = ux * head.bits;
          const unsigned shift = 8 - head.bits - static_cast<unsigned>(bit % 8);
          const unsigned index = (file[row + bit / 8] >> shift) & ((1u << head.bits) - 1);
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
  ByteWriter out;
  out.U8('B');
  out.U8('M');
  out.U32(headers + imageBytes);
  out.U32(0);
  out.U32(headers);
  out.U32(kInfoHeaderSize);
  out.U32(width);
  out.U32(height);
  out.U16(1);
  out.U16(24);
  out.U32(kUncompressed);
  out.U32(imageBytes);
  out.U32(2835);  // 72 dots an inch
  out.U32(2835);
  out.U32(0);
  out.U32(0);
  for (std::int32_t y = bitmap.height - 1; y >= 0; --y) {
    for (std::int32_t x = 0; x < bitmap.width; ++x) {
      const Pixel p = bitmap.At(x, y);
      out.U8(BlueOf(p));
      out.U8(GreenOf(p));
      out.U8(RedOf(p));
    }
    out.Zeros(stride - width * 3);
  }
  return out.Take();
}

}  // namespace pimblo
