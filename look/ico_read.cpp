#include "look/ico_read.h"

#include <cassert>
#include <cstdlib>

#include "sprites/bytes.h"

namespace pimblo {
namespace {

constexpr std::uint16_t kIconType = 1;  // 2 would be a cursor
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;

// Bytes in a row of `width` pixels of `bits` each, padded to four bytes.
std::size_t RowBytes(std::int32_t width, std::uint32_t bits) {
  return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

std::optional<IconPicture> ReadPicture(std::span<const std::uint8_t> dib) {
  ByteReader r(dib);
  const std::uint32_t headerSize = r.U32();
  const std::int32_t width = r.I32();
  const std::int32_t doubledHeight = r.I32();  // the colours and the mask, one above the other
  r.U16();                                     // planes
  const std::uint16_t bits = r.U16();
  const std::uint32_t compression = r.U32();
  r.Skip(4 + 4 + 4);  // the image's size, the resolution
  std::uint32_t coloursUsed = r.U32();
  if (!r.Ok() || headerSize < kInfoHeaderSize || compression != kUncompressed) return std::nullopt;
  if (width <= 0 || width > kIconMaxSide || doubledHeight <= 0 || doubledHeight > 2 * kIconMaxSide ||
      doubledHeight % 2 != 0)
    return std::nullopt;
  const std::int32_t height = doubledHeight / 2;
  const bool paletted = bits == 1 || bits == 4 || bits == 8;
  if (!paletted && bits != 24 && bits != 32) return std::nullopt;
  if (headerSize > dib.size()) return std::nullopt;
  ByteReader body(dib.subspan(headerSize));
  std::vector<Pixel> palette;
  if (paletted) {
    const std::uint32_t full = 1u << bits;
    if (coloursUsed == 0 || coloursUsed > full) coloursUsed = full;
    for (std::uint32_t i = 0; i < coloursUsed; ++i) palette.push_back(body.U32() & 0x00FFFFFF);
  }
  const std::size_t colourRow = RowBytes(width, bits), maskRow = RowBytes(width, 1);
  const auto colours = body.Bytes(colourRow * static_cast<std::size_t>(height));
  const auto mask = body.Bytes(maskRow * static_cast<std::size_t>(height));
  if (!body.Ok()) return std::nullopt;

  IconPicture picture{Bitmap(width, height), Mask(width, height)};
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(height - 1 - y);  // stored bottom row first
    const std::uint8_t* c = colours.data() + row * colourRow;
    const std::uint8_t* m = mask.data() + row * maskRow;
    for (std::int32_t x = 0; x < width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      Pixel p = 0;
      if (paletted) {
        const std::size_t bit = ux * bits;
        const unsigned index = (c[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        p = index < palette.size() ? palette[index] : 0;
      } else {
        const std::uint8_t* q = c + ux * (bits / 8u);
        p = MakePixel(q[2], q[1], q[0]);
      }
      picture.pixels.At(x, y) = p;
      picture.clear.Set(x, y, (m[ux / 8] & (0x80 >> (ux % 8))) != 0);
    }
  }
  return picture;
}

}  // namespace

std::optional<std::vector<IconPicture>> ReadIco(std::span<const std::uint8_t> file) {
  ByteReader r(file);
  r.U16();  // reserved
  const std::uint16_t type = r.U16();
  const std::uint16_t count = r.U16();
  if (!r.Ok() || type != kIconType || count == 0 || count * kDirectoryEntrySize > r.Remaining())
    return std::nullopt;
  std::vector<IconPicture> pictures;
  for (std::uint16_t i = 0; i < count; ++i) {
    r.Skip(8);  // the sides (0 for 256), colours, reserved, planes, bits: the picture's header says
    const std::uint32_t size = r.U32();
    const std::uint32_t offset = r.U32();
    if (!r.Ok() || offset > file.size() || size > file.size() - offset) return std::nullopt;
    auto picture = ReadPicture(file.subspan(offset, size));
    if (!picture) return std::nullopt;
    pictures.push_back(std::move(*picture));
  }
  return pictures;
}

const IconPicture& NearestIconPicture(const std::vector<IconPicture>& pictures, std::int32_t side) {
  assert(!pictures.empty() && "an icon has at least one picture");
  const IconPicture* best = &pictures.front();
  for (const IconPicture& p : pictures) {
    const auto distance = std::abs(p.pixels.width - side), bestDistance = std::abs(best->pixels.width - side);
    if (distance < bestDistance || (distance == bestDistance && p.pixels.width > best->pixels.width)) best = &p;
  }
  return *best;
}

}  // namespace pimblo
