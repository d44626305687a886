// The skins the tests bring as users would (made by tests/lib/make_test_skins from
// ours), as the reader makes them: every frame picture exactly as the script
// meant it, whatever kind of BMP file holds it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "look/bmp_read.h"
#include "look/win_skin_data.h"

namespace pimblo {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bitmap Meant(const std::string& skin, const std::string& picture) {
  const auto bitmap = ReadBmp(ReadFile(std::string(PIMBLO_TEST_SKIN_DIR "/") + skin + "/" + picture + ".bmp"));
  return bitmap ? *bitmap : Bitmap();
}

// Equal, or where they first differ.
testing::AssertionResult Same(const Bitmap& got, const Bitmap& meant) {
  if (got.width != meant.width || got.height != meant.height)
    return testing::AssertionFailure() << got.width << "x" << got.height << " instead of " << meant.width << "x"
                                       << meant.height;
  for (std::int32_t y = 0; y < got.height; ++y)
    for (std::int32_t x = 0; x < got.width; ++x)
      if (got.At(x, y) != meant.At(x, y))
        return testing::AssertionFailure() << std::hex << got.At(x, y) << " instead of " << meant.At(x, y) << " at "
                                           << std::dec << x << "," << y;
  return testing::AssertionSuccess();
}

TEST(TestSkins, ReadAsMade) {
  struct Case {
    const char* skin;
    bool loads;
    std::size_t titleButtons;  // less the three child-window ones
    std::int32_t textBackWidth;
  } cases[] = {{"ours", true, 5, 0},          {"rose", true, 5, 0},          {"kinds-1", true, 5, 0},
               {"kinds-2", true, 5, 0},       {"text-back", true, 5, 24},    {"magenta-top", true, 5, 0},
               {"fewer-buttons", true, 2, 0}, {"other-version", false, 0, 0}};
  const char* const buttons[] = {"closebutton", "maxbutton", "minbutton", "restrorebutton"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skin);
    int messages = 0;
    TSkinData skin(nullptr, {}, [&](std::string_view) { ++messages; });
    skin.ReadSkinStream(SkinStreamOf(ReadFile(std::string(PIMBLO_TEST_SKIN_DIR "/") + c.skin + ".skn")));
    EXPECT_EQ(skin.Empty(), !c.loads);
    EXPECT_EQ(messages, c.loads ? 0 : 1);
    if (!c.loads) continue;
    ASSERT_EQ(skin.SysButtons.size(), c.titleButtons + 3);
    EXPECT_EQ(skin.Title.Image.width, c.textBackWidth);
    EXPECT_TRUE(Same(skin.Borders[bsTop].Image, Meant(c.skin, "frametop")));
    EXPECT_TRUE(Same(skin.Borders[bsBottom].Image, Meant(c.skin, "framebottom")));
    EXPECT_TRUE(Same(skin.Borders[bsLeft].Image, Meant(c.skin, "frameleft")));
    EXPECT_TRUE(Same(skin.Borders[bsRight].Image, Meant(c.skin, "frameright")));
    for (std::size_t i = 0; i + 1 < c.titleButtons; ++i)
      EXPECT_TRUE(Same(skin.SysButtons[i].Image, Meant(c.skin, buttons[i])));
  }
}

}  // namespace
}  // namespace pimblo
