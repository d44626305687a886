// The PNG writer's checksums against their published check values, and a
// picture too large for one stored deflate block, read back block by block.
#include <gtest/gtest.h>

#include <string_view>

#include "tools/assetc/png.h"

namespace pimblo {
namespace {

std::span<const std::uint8_t> Bytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(PngChecksums, PublishedCheckValues) {
  EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(Crc32(Bytes("IEND")), 0xAE426082u);
  EXPECT_EQ(Adler32(Bytes("Wikipedia")), 0x11E60398u);
  EXPECT_EQ(Adler32(Bytes("")), 1u);
}

std::uint32_t Big32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

TEST(WritePng, ALargePictureSpansStoredBlocks) {
  // 200 x 100 RGBA rows are 80100 bytes: two stored blocks.
  Bitmap pixels(200, 100, MakePixel(10, 20, 30));
  Mask clear(200, 100);
  clear.Set(199, 99, true);
  const std::vector<std::uint8_t> png = WritePng(pixels, clear);
  const std::size_t idat = 8 + 12 + 13;  // signature, IHDR
  ASSERT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
  const std::uint32_t length = Big32(png, idat);
  std::vector<std::uint8_t> rows;
  std::size_t at = idat + 8 + 2;  // after the zlib header
  for (bool final = false; !final;) {
    final = png[at] & 1;
    const std::size_t n = png[at + 1] | png[at + 2] << 8;
    EXPECT_EQ(n ^ (png[at + 3] | png[at + 4] << 8), 0xFFFFu);
    rows.insert(rows.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 5),
                png.begin() + static_cast<std::ptrdiff_t>(at + 5 + n));
    at += 5 + n;
  }
  EXPECT_EQ(at + 4, idat + 8 + length);  // the Adler-32 ends the chunk's data
  EXPECT_EQ(Big32(png, at), Adler32(rows));
  ASSERT_EQ(rows.size(), 100u * (1 + 4 * 200));
  EXPECT_EQ(std::vector<std::uint8_t>(rows.begin() + 1, rows.begin() + 5), (std::vector<std::uint8_t>{10, 20, 30, 255}));
  EXPECT_EQ(std::vector<std::uint8_t>(rows.end() - 4, rows.end()), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(Big32(png, idat + 8 + length), Crc32(std::span(png).subspan(idat + 4, 4 + length)));
}

}  // namespace
}  // namespace pimblo
