#include "app/user_skin.h"

#include <gtest/gtest.h>

#include "look/lzh.h"
#include "look/skin_read.h"
#include "resources/embedded_assets.h"

namespace pimblo {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(UserSkin, IsLookedForBesideTheProgramThenInTheUsersApplicationData) {
  EXPECT_EQ(UserSkinPlaces(L"C:\\Program Files\\Pimblo\\Pimblo.exe", L"C:\\Users\\u\\AppData\\Roaming"),
            (std::vector<std::wstring>{L"C:\\Program Files\\Pimblo\\Pimblo.skn",
                                       L"C:\\Users\\u\\AppData\\Roaming\\Pimblo\\Pimblo.skn"}));
  EXPECT_EQ(UserSkinPlaces(L"D:\\Pimblo.exe", std::nullopt), (std::vector<std::wstring>{L"D:\\Pimblo.skn"}));
}

// Whatever the user's file, the component ends with a skin: the user's when it
// loads, else the carried one again; the fault says which and why.
TEST(UserSkin, ALoadingFileIsTakenAndAnyOtherLeavesTheCarriedSkin) {
  const auto carried = assets::SkinStream();
  const Bytes carriedFile(carried.begin() + 4, carried.end());
  const std::string ini = "[TitlebarSkin]\r\nSkinName=bare\r\n";
  const Bytes frameless = TLZH::PackFile(BuildSkinPackage({{{"skin.ini", Bytes(ini.begin(), ini.end())}}}));
  struct Case {
    const char* what;
    std::optional<Bytes> file;
    UserSkinFault fault;
  } const cases[] = {
      {"a skin file", carriedFile, UserSkinFault::None},
      {"no file read", std::nullopt, UserSkinFault::Unreadable},
      {"not a package", Bytes{'M', 'Z', 0, 0, 1, 2, 3}, UserSkinFault::NotASkin},
      {"an empty file", Bytes{}, UserSkinFault::NotASkin},
      {"a package without borders", frameless, UserSkinFault::NoFrame},
  };
  TSkinData reference;
  reference.ReadSkinStream(carried);
  for (const Case& c : cases) {
    TSkinData skin;
    skin.ReadSkinStream(SkinStreamOf(Bytes{1, 2, 3}));  // whatever was held before
    EXPECT_EQ(TakeUserSkin(skin, c.file, carried), c.fault) << c.what;
    ASSERT_FALSE(skin.Empty()) << c.what;
    EXPECT_EQ(skin.SkinName, reference.SkinName) << c.what;
    EXPECT_EQ(skin.Borders[bsTop].Image.pixels, reference.Borders[bsTop].Image.pixels) << c.what;
  }
}

TEST(UserSkin, TheMessageNamesTheFileAndTheReason) {
  const std::wstring text = UserSkinMessage(L"D:\\Pimblo.skn", UserSkinFault::NoFrame);
  EXPECT_NE(text.find(L"D:\\Pimblo.skn"), std::wstring::npos);
  EXPECT_NE(text.find(L"border"), std::wstring::npos);
  EXPECT_NE(UserSkinMessage(L"x", UserSkinFault::Unreadable), UserSkinMessage(L"x", UserSkinFault::NotASkin));
  EXPECT_EQ(UserSkinMessage(L"x", UserSkinFault::None), L"");
}

}  // namespace
}  // namespace pimblo
