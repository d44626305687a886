// The pet's context menu as a whole: its twelve items measured and painted one
// under the other, the way the menu window lays them out. With
// PIMBLO_MENU_PICTURE=/some/file.ppm set, the picture is written there.
#include <gtest/gtest.h>

#include <cstdlib>

#include "look/xp_menu.h"
#include "tests/look/recording_canvas.h"

namespace pimblo {
namespace {

TEST(ContextMenu, TwelveItemsOneSelected) {
  const struct {
    const wchar_t* caption;
    int glyph;
    ColorRef ink;
  } entries[] = {
      {L"立正  !!!", 24, MakeColor(200, 30, 30)}, {L"动起来!!!", 24, MakeColor(30, 160, 30)},
      {L"现速度为:988", 30, MakeColor(20, 40, 140)}, {L"加速运动", 24, MakeColor(230, 140, 0)},
      {L"减速运动", 24, MakeColor(0, 140, 230)},    {L"开机自动运行", 24, MakeColor(120, 60, 180)},
      {L"取消自动运行", 24, MakeColor(120, 60, 180)}, {L"-", 0, 0},
      {L"使用帮助", 24, MakeColor(0, 120, 120)},    {L"-", 0, 0},
      {L"访问Vantry软件", 24, MakeColor(120, 60, 180)}, {L"退出桌面Pimblo", 24, MakeColor(90, 90, 90)},
  };
  constexpr int kSelected = 3;

  MenuOwner owner;
  MenuTree& popup = owner.AddMenu(MenuKind::PopupMenu);
  TXPMenu xp(owner);
  SetMainFormProperties(xp);
  for (const auto& e : entries) {
    MenuEntry& item = popup.Items().Add(e.caption);
    if (e.glyph) item.Glyph = test::TestGlyph(e.glyph, e.ink);
  }

  test::RecordingCanvas measure;
  int width = 0;
  std::vector<int> heights;
  for (int i = 0; i < popup.Items().Count(); ++i) {
    MenuEntry& item = popup.Items().Items(i);
    int w = 0, h = 0;
    item.OnMeasureItem.Call(item, measure, w, h);
    width = std::max(width, w);
    heights.push_back(h);
  }
  EXPECT_EQ(heights, (std::vector<int>{28, 28, 34, 28, 28, 28, 28, 4, 28, 4, 28, 28}));

  int total = 0;
  for (int h : heights) total += h;
  test::RecordingCanvas canvas(width, total + 1);
  std::vector<int> tops;
  for (int i = 0, top = 0; i < popup.Items().Count(); top += heights[static_cast<std::size_t>(i)], ++i) {
    MenuEntry& item = popup.Items().Items(i);
    tops.push_back(top);
    item.OnDrawItem.Call(item, canvas, {0, top, width, top + heights[static_cast<std::size_t>(i)]}, i == kSelected);
  }
  if (const char* path = std::getenv("PIMBLO_MENU_PICTURE")) {
    EXPECT_TRUE(test::WritePpm(canvas.picture, path));
  }

  // Every caption once, after a leading space, each followed by the lone space
  // of the missing shortcut.
  std::wstring expected;
  for (const auto& e : entries) {
    if (std::wstring(e.caption) != L"-") expected += L" " + std::wstring(e.caption) + L" ";
  }
  EXPECT_EQ(canvas.AllText(), expected);

  // The selected item: outline on its top and bottom rows, fill inside, the
  // icon column under the bar.
  const int top = tops[kSelected];
  const ColorRef border = MakeColor(10, 36, 106);
  EXPECT_EQ(canvas.PictureAt(0, top + 1), border);
  EXPECT_EQ(canvas.PictureAt(width - 1, top + 27), border);
  EXPECT_EQ(canvas.PictureAt(width - 3, top + 3), MakeColor(177, 185, 207));
  // A resting item: menu colour, icon column, a faded icon; the first separator.
  EXPECT_EQ(canvas.PictureAt(width - 3, 3), MakeColor(249, 248, 247));
  EXPECT_EQ(canvas.PictureAt(1, 3), MakeColor(219, 216, 209));
  EXPECT_EQ(canvas.PictureAt(11, 4 + 12), LightenColor(canvas, MakeColor(200, 30, 30), 30));
  EXPECT_EQ(canvas.PictureAt(31, tops[7] + 2), MakeColor(160, 160, 160));
}

}  // namespace
}  // namespace pimblo
