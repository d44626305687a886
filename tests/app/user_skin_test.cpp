#include "app/user_skin.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

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
      {"a skin file", carriedFile, UserSkinFault::Nothing},
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

struct SkinFiles : FileSystem {
  std::map<std::wstring, Bytes> files;
  bool Exists(const std::wstring& p) override { return files.count(p) > 0; }
  bool CreateNewFile(const std::wstring&, std::string_view) override { return false; }
  std::optional<std::wstring> FallbackMarkerPath() override { return std::nullopt; }
  std::optional<Bytes> Read(const std::wstring& p, std::size_t limit) override {
    if (!files.count(p) || files[p].size() > limit) return std::nullopt;
    return files[p];
  }
};

// The skin follows the user's file as it comes, changes and goes; each file is
// loaded, and a broken one reported, once.
TEST(UserSkin, FollowsItsFile) {
  std::ifstream in(PIMBLO_TEST_SKIN_DIR "/rose.skn", std::ios::binary);
  const Bytes rose{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const Bytes broken{'M', 'Z', 0, 0};
  const std::wstring beside = L"D:\\Pimblo.skn", appData = L"E:\\Pimblo\\Pimblo.skn";
  using Files = std::map<std::wstring, Bytes>;
  struct Step {
    const char* what;
    Files files;
    std::optional<UserSkinChange> change;
    const char* skinName;
  } const steps[] = {
      {"no file: ours", {}, UserSkinChange{}, "Pimblo Cloudlet"},
      {"still none", {}, std::nullopt, "Pimblo Cloudlet"},
      {"one comes", {{beside, rose}}, UserSkinChange{beside, UserSkinFault::Nothing}, "Test Rose"},
      {"unchanged", {{beside, rose}}, std::nullopt, "Test Rose"},
      {"broken", {{beside, broken}}, UserSkinChange{beside, UserSkinFault::NotASkin}, "Pimblo Cloudlet"},
      {"still broken: told once", {{beside, broken}}, std::nullopt, "Pimblo Cloudlet"},
      {"another place", {{appData, rose}}, UserSkinChange{appData, UserSkinFault::Nothing}, "Test Rose"},
      {"gone", {}, UserSkinChange{}, "Pimblo Cloudlet"},
  };
  SkinFiles files;
  UserSkinFollower follower;
  TSkinData skin;
  for (const Step& s : steps) {
    files.files = s.files;
    EXPECT_EQ(follower.Follow(skin, files, {beside, appData}, assets::SkinStream()), s.change) << s.what;
    EXPECT_EQ(skin.SkinName, s.skinName) << s.what;
  }
}

TEST(UserSkin, TheMessageNamesTheFileAndTheReason) {
  const std::wstring text = UserSkinMessage(L"D:\\Pimblo.skn", UserSkinFault::NoFrame);
  EXPECT_NE(text.find(L"D:\\Pimblo.skn"), std::wstring::npos);
  EXPECT_NE(text.find(L"border"), std::wstring::npos);
  EXPECT_NE(UserSkinMessage(L"x", UserSkinFault::Unreadable), UserSkinMessage(L"x", UserSkinFault::NotASkin));
  EXPECT_EQ(UserSkinMessage(L"x", UserSkinFault::Nothing), L"");
}

}  // namespace
}  // namespace pimblo
