#include "sprites/image_list_stream.h"

#include <algorithm>
#include <array>
#include <climits>

#include "sprites/bytes.h"

namespace pimblo {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kMaxFrameSide = 256;
constexpr std::int32_t kMaxFrames = 1024;

std::uint32_t RowBytes(std::int32_t width, int bitsPerPixel) {
  return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31) / 32) * 4;
}

void WriteBmpHeaders(ByteWriter& w, std::int32_t width, std::int32_t height, int bitsPerPixel,
                     std::uint32_t paletteBytes) {
  const std::uint32_t headers = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
  w.U8('B');
  w.U8('M');
  w.U32(headers);  // the headers alone, as the window system writes it
  w.U32(0);
  w.U32(headers);
  w.U32(kInfoHeaderSize);
  w.I32(width);
  w.I32(height);
  w.U16(1);
  w.U16(static_cast<std::uint16_t>(bitsPerPixel));
  w.U32(0);  // uncompressed
  w.U32(RowBytes(width, bitsPerPixel) * static_cast<std::uint32_t>(height));
  w.I32(0);
  w.I32(0);
  w.U32(0);
  w.U32(0);
}

struct StripSlot {
  std::int32_t x;
  std::int32_t y;
};
StripSlot SlotOf(std::int32_t frame, std::int32_t w, std::int32_t h) {
  return {w * (frame % kFramesPerStripRow), h * (frame / kFramesPerStripRow)};
}

}  // namespace

std::vector<std::uint8_t> WriteImageListStream(const ImageList& list, std::uint16_t capacity, std::uint16_t growth) {
  const std::int32_t w = list.Width(), h = list.Height();
  const std::int32_t slots = std::max<std::int32_t>(capacity, list.Count());
  const std::int32_t stripW = w * kFramesPerStripRow;
  const std::int32_t stripH = h * ((slots + kFramesPerStripRow - 1) / kFramesPerStripRow);

  // The frames laid out in the strip, and the strip's mask (opaque where empty).
  Bitmap strip(stripW, stripH);
  Mask mask(stripW, stripH);
  for (std::int32_t i = 0; i < list.Count(); ++i) {
    const auto [sx, sy] = SlotOf(i, w, h);
    const auto& m = list.FrameMask(i);
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) {
        const bool clear = m && m->IsTransparent(x, y);
        mask.Set(sx + x, sy + y, clear);
        strip.At(sx + x, sy + y) = clear ? 0 : list.Image(i).At(x, y);
      }
  }

  ByteWriter out;
  out.U8('I');
  out.U8('L');
  out.U16(kImageListVersion);
  out.U16(static_cast<std::uint16_t>(list.Count()));
  out.U16(capacity);
  out.U16(growth);
  out.U16(static_cast<std::uint16_t>(w));
  out.U16(static_cast<std::uint16_t>(h));
  out.U32(0xFFFFFFFF);  // no background colour
  out.U16(kImageListFlags);
  for (int i = 0; i < 4; ++i) out.I16(-1);

  WriteBmpHeaders(out, stripW, stripH, 16, 0);
  const std::uint32_t colourRow = RowBytes(stripW, 16);
  for (std::int32_t y = stripH - 1; y >= 0; --y) {
    for (std::int32_t x = 0; x < stripW; ++x) {
      const Pixel p = strip.At(x, y);
      out.U16(static_cast<std::uint16_t>(((RedOf(p) >> 3) << 10) | ((GreenOf(p) >> 3) << 5) | (BlueOf(p) >> 3)));
    }
    out.Zeros(colourRow - static_cast<std::uint32_t>(stripW) * 2);
  }

  WriteBmpHeaders(out, stripW, stripH, 1, 8);
  out.U32(0x00000000);  // palette: black, white
  out.U32(0x00FFFFFF);
  const std::uint32_t maskRow = RowBytes(stripW, 1);
  for (std::int32_t y = stripH - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (std::int32_t x = 0; x < stripW; ++x)
      if (mask.IsTransparent(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.Bytes(row);
  }
  out.Zeros(kImageListTrailerSize);
  return out.Take();
}

namespace {

struct DecodedStrip {
  std::int32_t width = 0;
  std::int32_t height = 0;
  Bitmap colours;  // for colour strips
  Mask mask;       // for one-bit strips
};

// Reads one BMP file of the stream. `wantBits` is 1 for the mask strip, 0 for
// any supported colour depth.
bool ReadStrip(ByteReader& r, bool isMask, DecodedStrip& out, std::string& error) {
  const std::uint8_t b = r.U8(), m = r.U8();
  r.U32();  // file size: the window system stores only the headers' size here
  r.U32();
  r.U32();  // offset of the bits: always right after the headers and palette
  const std::uint32_t infoSize = r.U32();
  const std::int32_t width = r.I32();
  const std::int32_t rawHeight = r.I32();
  const std::uint16_t planes = r.U16();
  const std::uint16_t bits = r.U16();
  const std::uint32_t compression = r.U32();
  r.Skip(12);
  const std::uint32_t coloursUsed = r.U32();
  r.U32();
  if (!r.Ok()) return error = "truncated bitmap header", false;
  if (b != 'B' || m != 'M') return error = "bitmap without its BM signature", false;
  if (infoSize != kInfoHeaderSize) return error = "unsupported bitmap header size", false;
  if (planes != 1 || compression != 0) return error = "compressed or multi-plane bitmap", false;
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return error = "bitmap with no size", false;
  const bool topDown = rawHeight < 0;
  const std::int32_t height = topDown ? -rawHeight : rawHeight;
  if (width > kMaxFrameSide * kFramesPerStripRow || height > kMaxFrameSide * kMaxFrames / kFramesPerStripRow)
    return error = "bitmap out of proportion", false;

  std::array<Pixel, 2> palette{0, 0x00FFFFFF};
  if (isMask) {
    if (bits != 1) return error = "mask strip is not one bit per pixel", false;
    if (coloursUsed > 2) return error = "mask palette too large", false;
    const std::uint32_t entries = coloursUsed == 0 ? 2 : coloursUsed;
    for (std::uint32_t i = 0; i < entries; ++i) palette[i] = r.U32() & 0x00FFFFFF;
  } else {
    if (bits != 16 && bits != 24 && bits != 32) return error = "unsupported colour depth", false;
    if (coloursUsed != 0) r.Skip(std::size_t{coloursUsed} * 4);
  }
  const std::uint32_t rowBytes = RowBytes(width, bits);
  auto data = r.Bytes(std::size_t{rowBytes} * static_cast<std::size_t>(height));
  if (!r.Ok()) return error = "truncated bitmap bits", false;

  out.width = width;
  out.height = height;
  if (isMask) out.mask = Mask(width, height);
  else out.colours = Bitmap(width, height);
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = topDown ? row : height - 1 - row;
    const auto rowData = data.subspan(static_cast<std::size_t>(row) * rowBytes, rowBytes);
    ByteReader pixels(rowData);
    for (std::int32_t x = 0; x < width; ++x) {
      if (isMask) {
        const unsigned bit = (rowData[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
        out.mask.Set(x, y, palette[bit] == 0x00FFFFFF);
      } else if (bits == 16) {
        const unsigned v = pixels.U16();
        out.colours.At(x, y) = MakePixel(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31));
      } else {
        const auto q = pixels.Bytes(bits / 8);  // blue, green, red (and an unused byte)
        out.colours.At(x, y) = MakePixel(q[2], q[1], q[0]);
      }
    }
  }
  return true;
}

}  // namespace

ImageListReadResult ReadImageListStream(std::span<const std::uint8_t> bytes) {
  ImageListReadResult result;
  ByteReader r(bytes);
  const std::uint8_t i = r.U8(), l = r.U8();
  const std::uint16_t version = r.U16();
  const std::uint16_t count = r.U16();
  r.U16();  // capacity
  r.U16();  // growth
  const std::uint16_t w = r.U16();
  const std::uint16_t h = r.U16();
  r.U32();  // background colour
  const std::uint16_t flags = r.U16();
  r.Skip(8);  // overlay indices
  if (!r.Ok()) return result.error = "truncated image-list header", result;
  if (i != 'I' || l != 'L') return result.error = "not an image-list stream", result;
  if (version != kImageListVersion) return result.error = "unsupported image-list version", result;
  if (w == 0 || h == 0 || w > kMaxFrameSide || h > kMaxFrameSide)
    return result.error = "frame size out of range", result;
  if (count > kMaxFrames)
    return result.error = "too many frames", result;

  DecodedStrip colours, mask;
  if (!ReadStrip(r, false, colours, result.error)) return result;
  const bool masked = (flags & 1) != 0;
  if (masked && !ReadStrip(r, true, mask, result.error)) return result;

  const std::int32_t rows = (count + kFramesPerStripRow - 1) / kFramesPerStripRow;
  if (colours.width != w * kFramesPerStripRow || colours.height < rows * h)
    return result.error = "image strip does not hold the frames", result;
  if (masked && (mask.width != colours.width || mask.height != colours.height))
    return result.error = "mask strip differs in size from the image strip", result;

  ImageList list(w, h);
  for (std::int32_t f = 0; f < count; ++f) {
    const auto [sx, sy] = SlotOf(f, w, h);
    Bitmap frame(w, h);
    Mask frameMask(w, h);
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) {
        frame.At(x, y) = colours.colours.At(sx + x, sy + y);
        if (masked) frameMask.Set(x, y, mask.mask.IsTransparent(sx + x, sy + y));
      }
    list.Add(frame, masked ? &frameMask : nullptr);
  }
  r.Skip(std::min(kImageListTrailerSize, r.Remaining()));
  result.bytesRead = r.Offset();
  result.list = std::move(list);
  return result;
}

}  // namespace pimblo
