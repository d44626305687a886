// The decisions behind the speed commands, the hot keys, the icon and the error box.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/commands.h"
#include "app/context_menu_entries.h"
#include "pet/random.h"

namespace pimblo {
namespace {

TEST(SpeedUp, NineStepsFromTheStartThenNoMore) {
  double f = kStartSpeedFactor;
  std::vector<std::wstring> captions;
  while (SpeedUp(f)) captions.push_back(SpeedCaption(f));
  ASSERT_EQ(captions.size(), 9u);
  EXPECT_EQ(captions.front(), L"现速度为:990");
  EXPECT_EQ(captions.back(), L"现速度为:1006");
  const double top = f;
  EXPECT_FALSE(SpeedUp(f));
  EXPECT_EQ(f, top);
}

TEST(SlowDown, NinetyFourStepsToEightHundredThenNeitherCommandMoves) {
  double f = kStartSpeedFactor;
  int steps = 0;
  while (SlowDown(f)) ++steps;
  EXPECT_EQ(steps, 94);
  EXPECT_EQ(SpeedCaption(f), L"现速度为:800");
  EXPECT_LT(f, 0.8);  // just below, in double arithmetic
  EXPECT_FALSE(SpeedUp(f));
  EXPECT_FALSE(SlowDown(f));
}

TEST(SlowDown, NothingOnceTheFactorReaches0999) {
  double f = kStartSpeedFactor;
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(SpeedUp(f));
  EXPECT_EQ(SpeedCaption(f), L"现速度为:1000");
  EXPECT_FALSE(SlowDown(f));
  f = 0.998;
  EXPECT_TRUE(SlowDown(f));
}

TEST(SpeedCaption, TheMenuOpensShowingTheStartSpeed) {
  for (const ContextMenuEntry& e : kContextMenuEntries) {
    if (e.command == MenuCommand::ShowSpeed) {
      EXPECT_EQ(e.caption, SpeedCaption(kStartSpeedFactor));
    }
  }
}

TEST(SpeedCaption, ShortestFormWithAtMostFifteenDigits) {
  EXPECT_EQ(SpeedCaption(0.99), L"现速度为:990");
  EXPECT_EQ(SpeedCaption(1.006), L"现速度为:1006");
  EXPECT_EQ(SpeedCaption(0.9875), L"现速度为:987.5");
  EXPECT_EQ(SpeedCaption(1.0 / 3), L"现速度为:333.333333333333");
}

TEST(HotKeyFor, ExactlyCtrlAltWithF11OrF12) {
  EXPECT_EQ(HotKeyFor(3, 122), HotKeyAction::Start);
  EXPECT_EQ(HotKeyFor(3, 123), HotKeyAction::Stop);
  EXPECT_EQ(HotKeyFor(2, 122), HotKeyAction::Nothing);
  EXPECT_EQ(HotKeyFor(7, 123), HotKeyAction::Nothing);
  EXPECT_EQ(HotKeyFor(3, 121), HotKeyAction::Nothing);
}

TEST(TrayOpensMenu, OnlyOnALeftOrRightPress) {
  EXPECT_TRUE(TrayOpensMenu(513));   // WM_LBUTTONDOWN
  EXPECT_TRUE(TrayOpensMenu(516));   // WM_RBUTTONDOWN
  for (std::uint32_t m : {512u, 514u, 515u, 517u, 518u, 519u, 520u}) EXPECT_FALSE(TrayOpensMenu(m)) << m;
}

TEST(ErrorBoxText, AFullStopAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorBoxText(L"Failed to set data for 'pimblorun'"), L"Failed to set data for 'pimblorun'");
  EXPECT_EQ(ErrorBoxText(L"Disk full"), L"Disk full.");
  EXPECT_EQ(ErrorBoxText(L"开机自动运行"), L"开机自动运行.");
  EXPECT_EQ(ErrorBoxText(L"Done."), L"Done.");
  EXPECT_EQ(ErrorBoxText(L"Stop!"), L"Stop!");
  EXPECT_EQ(ErrorBoxText(L"say \"hi\""), L"say \"hi\"");
  EXPECT_EQ(ErrorBoxText(L""), L"");
}

TEST(HelpText, ElevenLinesJoinedByTheBreakGiven) {
  const std::wstring windows = HelpText(L"\r\n");
  EXPECT_EQ(std::count(windows.begin(), windows.end(), L'\n'), 10);
  EXPECT_TRUE(windows.starts_with(L"  使用方法:\r\n"));
  EXPECT_TRUE(windows.ends_with(L"\r\n  按CTRL+ALT+F12可使Pimblo停止运动."));
  const std::wstring lines = HelpText(L"\n");
  EXPECT_EQ(lines.find(L'\r'), std::wstring::npos);
  EXPECT_EQ(lines.size() + 10, windows.size());
}

TEST(TimeOfDaySeed, MillisecondsSinceMidnight) {
  EXPECT_EQ(TimeOfDaySeed(0, 0, 0, 0), 0u);
  EXPECT_EQ(TimeOfDaySeed(23, 59, 59, 999), 86399999u);
  EXPECT_EQ(TimeOfDaySeed(1, 2, 3, 4), 3723004u);
}

TEST(LinearRandom, DrawsStayInRangeAndFollowTheSeed) {
  LinearRandom a(12345), b(12345);
  std::vector<int> counts(10);
  for (int i = 0; i < 10000; ++i) {
    const int v = a.Random(10);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 10);
    ASSERT_EQ(v, b.Random(10));
    ++counts[static_cast<std::size_t>(v)];
  }
  for (int c : counts) EXPECT_NEAR(c, 1000, 150);
}

}  // namespace
}  // namespace pimblo
