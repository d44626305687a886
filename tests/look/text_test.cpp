// ASCII case and blanks of the skin's names and description.
#include <gtest/gtest.h>

#include "look/text.h"

namespace pimblo::test {
namespace {

TEST(Text, ChangesTheCaseOfAsciiLettersOnly) {
  EXPECT_EQ(ToLower("Skin.INI [Zz] @\xC4\xE4"), "skin.ini [zz] @\xC4\xE4");
  EXPECT_EQ(ToUpper("Button.radio `{\xC4\xE4"), "BUTTON.RADIO `{\xC4\xE4");
}

TEST(Text, TrimsEveryCharacterUpToTheSpace) {
  EXPECT_EQ(Trim("\t\x01 key = value \r\x1F"), "key = value");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(Text, SameTextIgnoresCaseButNotLength) {
  EXPECT_TRUE(SameText("[Colours]", "[COLOURS]"));
  EXPECT_FALSE(SameText("[Colours]", "[Colour]"));
  EXPECT_FALSE(SameText("\xC4", "\xE4"));
}

}  // namespace
}  // namespace pimblo
