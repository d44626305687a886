// The skin package: its layout, lookups by name and fragment, and refusal of damaged packages.
#include <gtest/gtest.h>

#include <string>

#include "look/lzh.h"
#include "look/skin_read.h"
#include "sprites/bytes.h"

namespace pimblo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A package written field by field, so that any field can be wrong; entry byte i is 7 i.
Bytes RawPackage(std::int32_t version, const std::string& directory, const std::vector<std::uint32_t>& sizes,
                 std::size_t dataBytes, std::uint32_t skipped = 0xDEADBEEF) {
  ByteWriter b;
  for (std::uint32_t v : {std::uint32_t(version), std::uint32_t(directory.size()), skipped, skipped}) b.U32(v);
  for (char c : directory) b.U8(static_cast<std::uint8_t>(c));
  for (std::uint32_t s : sizes) b.U32(s);
  for (std::size_t i = 0; i < dataBytes; ++i) b.U8(static_cast<std::uint8_t>(i * 7));
  return b.Take();
}

TEST(SkinPackage, IsLaidOutFieldByField) {
  const std::vector<SkinEntry> entries = {{"A.bmp", {0, 7, 14}}, {"b.ini", {21}}};
  EXPECT_EQ(BuildSkinPackage(entries), RawPackage(20000, "A.bmp\r\nb.ini\r\n", {3, 1}, 4, 0));
}

TEST(SkinReader, FindsEntriesOfARealLikePackage) {
  const char* names[] = {
      "FrameTop.bmp", "FrameBottom.bmp", "FrameLeft.bmp", "FrameRight.bmp", "menu.bmp", "dialog.bmp",
      "buttons.bmp", "checkbox.bmp", "radio.bmp", "progress.bmp", "groupboxedge.bmp", "tabborder.bmp",
      "buttons-tabs.bmp", "status.bmp", "combo.bmp", "sunkedge.bmp", "combo-arrows.bmp", "header.bmp",
      "menutool.bmp", "menuborder.bmp", "arrows.bmp", "hscroll_back.bmp", "vscroll_back.bmp", "hscroll_bar.bmp",
      "vscroll_bar.bmp", "button-mdi.bmp", "groupboxlabel.bmp", "toolbarbg.bmp", "buttons-toolbar.bmp",
      "buttons-menu.bmp", "Skin.ini", "CloseButton.bmp", "MaxButton.bmp", "MinButton.bmp", "RestroreButton.bmp"};
  std::vector<SkinEntry> entries;
  for (std::size_t i = 0; i < std::size(names); ++i) entries.push_back({names[i], Bytes(54 + 31 * i, 'B' + i)});
  const Bytes package = BuildSkinPackage(entries);
  const Bytes skinFile = TLZH::PackFile(package);
  ASSERT_EQ(ByteReader(skinFile).U32(), package.size());

  TSkinReader reader;
  ASSERT_TRUE(reader.Open(skinFile)) << reader.Error();
  ASSERT_EQ(reader.Count(), 35u);
  Bytes out = {9, 9};
  EXPECT_TRUE(reader.GetFile("FRAMETOP.BMP", out));
  EXPECT_EQ(out, entries[0].data);
  EXPECT_TRUE(reader.GetFile("RestroreButton.bmp", out));
  EXPECT_EQ(out, entries[34].data);
  EXPECT_FALSE(reader.GetFile("FrameTop", out));
  EXPECT_TRUE(out.empty());

  // The first entry containing the fragment as it is given; the names are kept in lower case.
  const struct {
    const char* fragment;
    const char* name;
    std::size_t index;
  } finds[] = {{".ini", "skin.ini", 30}, {"button", "buttons.bmp", 6}, {".INI", "", 0}, {"Frame", "", 0}, {"", "", 0}};
  for (const auto& f : finds) {
    std::string name = "stale";
    EXPECT_EQ(reader.FindFile(f.fragment, out, name), *f.name != 0) << f.fragment;
    EXPECT_EQ(name, f.name);
    EXPECT_EQ(out, *f.name ? entries[f.index].data : Bytes()) << f.fragment;
  }
}

TEST(SkinReader, ReadsDirectoryLinesAndTrailingBytes) {
  // Lone CR or LF end lines too, a last line needs no end, and bytes after the entries are ignored.
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenPackage(RawPackage(20000, "One\rtwo\nthree\r\nFour", {1, 2, 0, 3}, 10)));
  ASSERT_EQ(reader.Count(), 4u);
  Bytes out;
  EXPECT_TRUE(reader.GetFile("Four", out));
  EXPECT_EQ(out, (Bytes{3 * 7, 4 * 7, 5 * 7}));
  EXPECT_TRUE(reader.GetFile("three", out));
  EXPECT_TRUE(out.empty());
}

TEST(SkinReader, RefusesDamagedPackagesAndLetsTheOlderVersionBeShown) {
  std::string names;
  for (int i = 0; i < 1002; ++i) names.append("e").append(std::to_string(i)).append("\r\n");
  Bytes header15 = RawPackage(20000, "", {}, 0);
  header15.pop_back();
  const struct {
    const char* what;
    Bytes package;
  } cases[] = {
      {"empty", {}},
      {"short header", header15},
      {"older version", RawPackage(19999, "a\r\n", {1}, 1)},
      {"directory past the end", RawPackage(20000, "a\r\n", {}, 0)},
      {"sizes past the end", RawPackage(20000, "a\r\nb\r\nc\r\n", {1, 1}, 0)},
      {"entry past the end", RawPackage(20000, "a\r\nb\r\n", {4, 5}, 8)},
      {"sizes wrapping past 4 GiB", RawPackage(20000, "a\r\nb\r\n", {0x10, 0xFFFFFFF8u}, 0x20)},
      {"1002 entries", RawPackage(20000, names, std::vector<std::uint32_t>(1002, 0), 0)},
  };
  for (const auto& c : cases) {
    std::vector<std::string> shown;
    TSkinReader reader([&](std::string_view text) { shown.emplace_back(text); });
    ASSERT_TRUE(reader.OpenPackage(RawPackage(20000, "x\r\n", {1}, 1)));
    EXPECT_FALSE(reader.OpenPackage(c.package)) << c.what;
    EXPECT_FALSE(reader.Error().empty()) << c.what;
    EXPECT_EQ(reader.Count(), 0u) << c.what;
    const bool older = std::string(c.what) == "older version";
    EXPECT_EQ(shown, older ? std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"}
                           : std::vector<std::string>{})
        << c.what;
    EXPECT_FALSE(reader.Open(TLZH::PackFile(c.package))) << c.what;
  }
  // 1001 entries is the most there may be; skin files too short for U or with U above 16 MiB are refused.
  TSkinReader reader;
  names.resize(names.find("e1001"));
  EXPECT_TRUE(reader.OpenPackage(RawPackage(20000, names, std::vector<std::uint32_t>(1001, 0), 0)));
  EXPECT_EQ(reader.Count(), 1001u);
  for (const Bytes& file : {Bytes{}, Bytes{0x10, 0}, Bytes{0x01, 0x00, 0x00, 0x01, 0xE6}, Bytes(4, 0xFF)}) {
    EXPECT_FALSE(reader.Open(file));
    EXPECT_FALSE(reader.Error().empty());
  }
}

}  // namespace
}  // namespace pimblo::test
