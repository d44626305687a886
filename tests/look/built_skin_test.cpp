// The skin the program carries, as the build packs it from resources/skin.
#include <gtest/gtest.h>

#include "look/skin_read.h"
#include "look/win_skin_ini.h"
#include "resources/embedded_assets.h"
#include "sprites/bytes.h"

namespace pimblo {
namespace {

TEST(BuiltSkin, UnpacksToThirtyFiveEntriesWithItsDescription) {
  const auto stream = assets::SkinStream();
  ByteReader r(stream);
  const std::int32_t length = r.I32();
  ASSERT_EQ(static_cast<std::size_t>(length), stream.size() - 4);  // the stored length, then the skin file
  TSkinReader reader([](std::string_view message) { FAIL() << message; });
  ASSERT_TRUE(reader.Open(stream.subspan(4)));
  ASSERT_EQ(reader.Count(), 35u);
  EXPECT_EQ(reader.Name(0), "frametop.bmp");
  EXPECT_EQ(reader.Name(34), "restrorebutton.bmp");
  std::vector<std::uint8_t> ini;
  std::string name;
  ASSERT_TRUE(reader.FindFile(".ini", ini, name));
  EXPECT_EQ(name, "skin.ini");
  TQuickIni description;
  description.Load(ini);
  EXPECT_EQ(description.ReadColor("Colours", "ButtonFace", 0), RgbColor(213, 222, 242));
  // Every bitmap entry is a BMP file.
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    if (reader.Name(i) == "skin.ini") continue;
    const auto data = reader.Data(i);
    ASSERT_GE(data.size(), 54u) << reader.Name(i);
    EXPECT_EQ(data[0], 'B') << reader.Name(i);
    EXPECT_EQ(data[1], 'M') << reader.Name(i);
  }
  std::vector<std::uint8_t> top;
  EXPECT_TRUE(reader.GetFile("FrameTop.bmp", top));
  EXPECT_FALSE(top.empty());
}

}  // namespace
}  // namespace pimblo
