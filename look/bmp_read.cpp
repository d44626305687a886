#include "look/bmp_read.h"

#include <algorithm>

#include "sprites/bytes.h"

namespace pimblo {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2: 16-bit sides, 3-byte palette entries
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kHeaderWithMasksSize = 52;  // the larger headers carry the masks themselves
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
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
  std::uint32_t paletteEntry = 4;  // bytes a palette entry
};

// Nothing when the file is too short for the headers it names, or they are of a size we do not
// read (or a core header of a depth it cannot hold).
std::optional<BmpHeaders> ReadHeaders(std::span<const std::uint8_t> file) {
  ByteReader r(file);
  BmpHeaders h;
  r.Skip(2 + 4 + 4);  // "BM", the file's size, two reserved words
  h.pixelsAt = r.U32();
  h.headerSize = r.U32();
  if (!r.Ok() || h.headerSize > r.Remaining() + 4) return std::nullopt;  // the size counts its own 4 bytes
  if (h.headerSize == kCoreHeaderSize) {
    h.width = r.U16();
    h.height = r.U16();
    h.planes = r.U16();
    h.bits = r.U16();
    h.paletteEntry = 3;
    if (h.bits > 8 && h.bits != 24) return std::nullopt;
    return h;
  }
  if (h.headerSize < kInfoHeaderSize) return std::nullopt;
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

// One colour channel of a pixel held in bit fields.
struct Channel {
  unsigned shift = 0;
  unsigned bits = 0;

  // Widened to 8 bits the way the platform does: narrower fields repeat their bits downwards
  // (5 bits: v << 3 | v >> 2), wider ones keep their top 8.
  std::uint8_t Of(std::uint32_t value) const {
    const auto v = static_cast<std::uint32_t>((value >> shift) & ((std::uint64_t{1} << bits) - 1));
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    std::uint32_t wide = 0;
    for (int at = 8 - static_cast<int>(bits); at > -static_cast<int>(bits); at -= static_cast<int>(bits))
      wide |= at >= 0 ? v << at : v >> -at;
    return static_cast<std::uint8_t>(wide);
  }
};

// Nothing unless the mask is one run of set bits within the pixel's depth.
std::optional<Channel> ChannelOf(std::uint32_t mask, unsigned depth) {
  if (mask == 0 || (depth < 32 && (mask >> depth) != 0)) return std::nullopt;
  Channel c;
  while ((mask & 1) == 0) mask >>= 1, ++c.shift;
  while ((mask & 1) != 0) mask >>= 1, ++c.bits;
  if (mask != 0) return std::nullopt;
  return c;
}

struct Channels {
  Channel red, green, blue;
  Pixel Of(std::uint32_t v) const { return MakePixel(red.Of(v), green.Of(v), blue.Of(v)); }
};

std::optional<Channels> ChannelsOf(ByteReader masks, unsigned depth) {
  const auto red = ChannelOf(masks.U32(), depth);
  const auto green = ChannelOf(masks.U32(), depth);
  const auto blue = ChannelOf(masks.U32(), depth);
  if (!masks.Ok() || !red || !green || !blue) return std::nullopt;
  return Channels{*red, *green, *blue};
}

// Palette indices beyond the palette read as black.
Pixel Colour(const std::vector<Pixel>& palette, unsigned index) {
  return index < palette.size() ? palette[index] : 0;
}

// A run-length coded picture (RLE8, or RLE4 when `nibbles`), rows bottom-up. Pixels the stream
// never writes (skipped by a delta or an early end of line or of the picture) are left undefined
// by the format's documentation; we give them palette index 0, what zeroed index memory decoded
// into by the platform holds, so they come out as the first palette entry rather than black.
// Nothing when the stream runs out before its end mark, or writes beside or past the picture.
std::optional<Bitmap> ReadRle(std::span<const std::uint8_t> stream, std::int32_t width, std::int32_t height,
                              const std::vector<Pixel>& palette, bool nibbles) {
  Bitmap out(width, height);
  std::fill(out.pixels.begin(), out.pixels.end(), Colour(palette, 0));
  ByteReader r(stream);
  std::int64_t x = 0, y = 0;  // y counts stored rows, from the bottom
  // Puts `count` pixels, the i-th with palette index `indexOf(i)`.
  auto put = [&](unsigned count, auto indexOf) {
    if (y >= height || x + count > width) return false;
    for (unsigned i = 0; i < count; ++i)
      out.At(static_cast<std::int32_t>(x + i), static_cast<std::int32_t>(height - 1 - y)) = Colour(palette, indexOf(i));
    x += count;
    return true;
  };
  auto nibble = [](std::uint8_t byte, unsigned i) { return i % 2 == 0 ? static_cast<unsigned>(byte >> 4) : byte & 0x0Fu; };
  for (;;) {
    const unsigned count = r.U8();
    const unsigned code = r.U8();
    if (!r.Ok()) return std::nullopt;
    if (count > 0) {
      const auto run = [&](unsigned i) { return nibbles ? nibble(static_cast<std::uint8_t>(code), i) : code; };
      if (!put(count, run)) return std::nullopt;
    } else if (code == 0) {  // end of line
      x = 0;
      ++y;
    } else if (code == 1) {  // end of the picture
      return out;
    } else if (code == 2) {  // move right and up
      x += r.U8();
      y += r.U8();
    } else {  // `code` pixels as they are, padded to a whole 16-bit word
      const std::size_t bytes = nibbles ? (code + 1) / 2 : code;
      const auto literal = r.Bytes((bytes + 1) & ~std::size_t{1});
      if (!r.Ok()) return std::nullopt;
      const auto at = [&](unsigned i) { return nibbles ? nibble(literal[i / 2], i) : literal[i]; };
      if (!put(code, at)) return std::nullopt;
    }
  }
}

}  // namespace

std::optional<Bitmap> ReadBmp(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kCoreHeaderSize || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const auto headers = ReadHeaders(file);
  if (!headers) return std::nullopt;
  const BmpHeaders& head = *headers;

  // Sizes are taken into 64 bits before anything is multiplied.
  const bool topDown = head.height < 0;
  const std::int64_t height = topDown ? -std::int64_t{head.height} : std::int64_t{head.height};
  if (head.width <= 0 || height <= 0 || head.width > kBmpMaxSide || height > kBmpMaxSide) return std::nullopt;
  if (static_cast<std::uint64_t>(head.width) * static_cast<std::uint64_t>(height) > kBmpMaxPixels) return std::nullopt;
  if (head.planes != 1) return std::nullopt;
  const unsigned bits = head.bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;

  // What stands between the info header and the pixels: the masks or the palette.
  std::uint64_t tablesEnd = kFileHeaderSize + std::uint64_t{head.headerSize};
  std::optional<Channels> channels;
  std::vector<Pixel> palette;
  const bool rle = head.compression == kRle8 || head.compression == kRle4;
  if (head.compression == kBitFields) {
    if (bits != 16 && bits != 32) return std::nullopt;
    const std::uint64_t masksAt = head.headerSize >= kHeaderWithMasksSize ? kFileHeaderSize + kInfoHeaderSize : tablesEnd;
    if (head.headerSize < kHeaderWithMasksSize) tablesEnd += 12;
    if (masksAt + 12 > file.size()) return std::nullopt;
    channels = ChannelsOf(ByteReader(file.subspan(static_cast<std::size_t>(masksAt))), bits);
    if (!channels) return std::nullopt;
  } else if (rle) {
    // Coded rows run bottom-up only.
    if (bits != (head.compression == kRle8 ? 8u : 4u) || topDown) return std::nullopt;
  } else if (head.compression != kUncompressed) {
    return std::nullopt;
  } else if (bits == 16) {
    channels = Channels{{10, 5}, {5, 5}, {0, 5}};
  } else if (bits == 32) {
    channels = Channels{{16, 8}, {8, 8}, {0, 8}};
  }
  if (bits <= 8) {
    const std::uint32_t most = 1u << bits;
    const std::uint32_t count = head.coloursUsed == 0 ? most : head.coloursUsed;
    if (count > most) return std::nullopt;
    const std::uint64_t paletteAt = tablesEnd;
    tablesEnd += std::uint64_t{count} * head.paletteEntry;
    if (tablesEnd > file.size()) return std::nullopt;
    palette.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
      palette.push_back(BgrAt(file, static_cast<std::size_t>(paletteAt) + head.paletteEntry * i));
  }
  // The pixels start where the file header says, anywhere past the tables.
  if (head.pixelsAt < tablesEnd || head.pixelsAt > file.size()) return std::nullopt;
  const auto first = static_cast<std::size_t>(head.pixelsAt);
  const auto h = static_cast<std::int32_t>(height);
  if (rle) return ReadRle(file.subspan(first), head.width, h, palette, head.compression == kRle4);

  // Rows are padded to whole 32-bit words. A file may stop short of the last row's padding (some
  // writers leave it out); a file missing any pixel byte is refused as truncated.
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(head.width) * bits + 7) / 8;
  const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
  if (stride * static_cast<std::uint64_t>(height - 1) + rowBytes > file.size() - head.pixelsAt) return std::nullopt;

  Bitmap out(head.width, h);
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t stored = topDown ? y : h - 1 - y;
    const std::size_t row = first + static_cast<std::size_t>(stored) * static_cast<std::size_t>(stride);
    for (std::int32_t x = 0; x < head.width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      Pixel p = 0;
      switch (bits) {
        case 32: p = channels->Of(ByteReader(file.subspan(row + 4 * ux, 4)).U32()); break;
        case 24: p = BgrAt(file, row + 3 * ux); break;
        case 16: p = channels->Of(ByteReader(file.subspan(row + 2 * ux, 2)).U16()); break;
        default: {
          // Packed indices, the leftmost pixel in the highest bits of its byte.
          const std::size_t bit = ux * bits;
          const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
          p = Colour(palette, (file[row + bit / 8] >> shift) & ((1u << bits) - 1));
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
