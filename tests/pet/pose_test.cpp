// The pose half of the tick: which frames show, when the pet is redrawn, the walk
// cycle, blinking, and staying on top.
#include <gtest/gtest.h>

#include <map>

#include "sprites/region_scan.h"
#include "tests/common/test_world.h"

namespace pimblo::test {
namespace {

TEST(ChoosePose, HeadAndLegsByTheThresholds) {
  struct Case {
    float speed, velY, leg;
    float wantHead, wantLeg;
  };
  const Case cases[] = {
      {0, 0, 2.3f, 6, 2.3f},        // resting face, walk cycle
      {5, 0, 2.3f, 6, 2.3f},        // exactly 5 is not fast
      {5.01f, 0, 2.3f, 1, 2.3f},    // fast, neither rising nor falling: walk-cycle legs
      {8, 2, 3.5f, 1, 3.5f},        // exactly 2 keeps the walk cycle
      {8, -2, 3.5f, 1, 3.5f},       // so does exactly -2
      {8, 2.01f, 3.5f, 1, 6},       // falling fast
      {8, -2.01f, 3.5f, 1, 7},      // rising fast
  };
  for (const Case& c : cases) {
    const auto pose = TZibbetForm::ChoosePose(c.speed, c.velY, c.leg);
    EXPECT_EQ(pose.head, c.wantHead) << c.speed << "," << c.velY;
    EXPECT_EQ(pose.leg, c.wantLeg) << c.speed << "," << c.velY;
  }
}

// A pet standing on the bottom of the screen, walking slowly.
struct Walker : World {
  Walker() : World({500, 735}) {
    Place(500, 735.95f);
    pet.Blinking = false;
  }
};

TEST(WalkCycle, LegFrameZeroForTenTicksThenFramesOneToFiveTenTicksEachButTwoForEleven) {
  Walker w;
  std::vector<int> shown;
  for (int i = 0; i < 10 + 51 * 3; ++i) {
    w.Tick();
    shown.push_back(w.pet.ShownLeg);
  }
  // Run lengths of the shown leg frame.
  std::vector<std::pair<int, int>> runs;
  for (int f : shown) {
    if (runs.empty() || runs.back().first != f) runs.push_back({f, 0});
    ++runs.back().second;
  }
  ASSERT_GE(runs.size(), 11u);
  EXPECT_EQ(runs[0], (std::pair<int, int>{0, 10}));
  const std::pair<int, int> cycle[] = {{1, 10}, {2, 11}, {3, 10}, {4, 10}, {5, 10}};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(runs[static_cast<std::size_t>(1 + i)], cycle[i % 5]) << "run " << 1 + i;
}

TEST(WalkCycle, AVerticalPoseRestartsTheCycleAtFrameOne) {
  Walker w;
  w.pet.LegFrame = 3.4f;
  w.pet.VelY = -6;  // rising fast
  w.pet.PullY = 0;
  w.Place(500, 400);
  w.Tick();
  EXPECT_EQ(w.pet.ShownLeg, 7);
  EXPECT_FLOAT_EQ(w.pet.LegFrame, 1);  // 7.1 wraps to 1
}

TEST(Redraw, TheFirstTickAlwaysDrawsAndCutsTheWindow) {
  Walker w;
  EXPECT_FALSE(w.window.Shape().has_value());
  w.Tick();
  EXPECT_EQ(w.desktop.counts.redraws, 1);
  ASSERT_TRUE(w.window.Shape().has_value());
  EXPECT_EQ(w.pet.ShownLeg, 0);
  EXPECT_EQ(w.pet.ShownHead, 6);
  // The window lets the red corners through and covers the body.
  EXPECT_FALSE(w.window.Covers({500, 735}));
  EXPECT_TRUE(w.window.Covers({516, 748}));
}

TEST(Redraw, OnlyAChangeOfFrameIndexRedraws) {
  Walker w;
  w.Tick(10 + 51);
  // Frame 0 once, then one redraw per walk-cycle frame.
  EXPECT_EQ(w.desktop.counts.redraws, 1 + 5);
}

TEST(Redraw, TurningAroundAloneDoesNotRedraw) {
  Walker w;
  w.Tick(12);  // frame 1 just drawn
  const auto redraws = w.desktop.counts.redraws;
  const Bitmap before = w.window.Picture();
  w.pet.Direction = 1;
  w.Tick();
  EXPECT_EQ(w.desktop.counts.redraws, redraws);
  EXPECT_EQ(w.window.Picture(), before);
  w.Tick(11);  // the next frame change draws the right-facing sheets
  EXPECT_GT(w.desktop.counts.redraws, redraws);
  Bitmap right;
  ShippedSheets().Heads.Draw(w.pet.ShownHead, right);
  ShippedSheets().Legs.Draw(w.pet.ShownLeg, right);
  EXPECT_EQ(w.window.Picture(), right);
}

TEST(Redraw, ThePictureIsTheHeadWithTheLegsOverIt) {
  Walker w;
  w.Tick();
  Bitmap expected;
  ShippedSheets().FHeads.Draw(6, expected);
  ShippedSheets().FLegs.Draw(0, expected);
  EXPECT_EQ(w.window.Picture(), expected);
  // The shape is exactly the non-red pixels.
  const auto& shape = *w.window.Shape();
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      EXPECT_EQ(shape.IsTransparent(x, y), expected.At(x, y) == kRedPixel) << x << "," << y;
}

TEST(StayOnTop, ThePetIsRaisedOnlyWhenAnotherWindowIsOnTop) {
  World w({500, 300}, {{0, 0, 200, 200}});
  w.Tick(5);
  EXPECT_EQ(w.desktop.counts.raises, 0);
  w.desktop.RaiseAbovePet(1);
  const int left = w.window.Left(), width = w.window.Width();
  w.Tick();
  EXPECT_EQ(w.desktop.counts.raises, 1);
  EXPECT_EQ(w.desktop.GetTopWindow(), SimPetWindow::kHandle);
  EXPECT_EQ(w.window.Width(), width);
  EXPECT_EQ(w.window.Left(), left);
}

TEST(Blink, TheRestingFaceBlinksForFifteenTicksEveryFewSeconds) {
  Walker w;
  w.pet.Blinking = true;
  std::map<int, int> heads;
  std::vector<int> sequence;
  for (int i = 0; i < 3000; ++i) {
    w.Tick();
    ++heads[w.pet.ShownHead];
    if (sequence.empty() || sequence.back() != w.pet.ShownHead) sequence.push_back(w.pet.ShownHead);
  }
  EXPECT_GT(heads[2], 0);
  EXPECT_GT(heads[3], 0);
  // 3000 ticks hold between 5 and 15 blinks of 15 ticks each.
  EXPECT_GE(heads[2] + heads[3], 5 * 15);
  EXPECT_LE(heads[2] + heads[3], 15 * 15);
  // Each blink closes and reopens: 6, 2, 3, 2, 6.
  for (std::size_t i = 0; i + 4 < sequence.size(); ++i)
    if (sequence[i] == 6 && sequence[i + 1] == 2) {
      EXPECT_EQ(sequence[i + 2], 3);
      EXPECT_EQ(sequence[i + 3], 2);
      EXPECT_EQ(sequence[i + 4], 6);
    }
}

TEST(Blink, NeverDrawsFromTheMotionsRandomGenerator) {
  Walker a, b;
  a.pet.Blinking = true;
  a.Tick(3000);
  b.Tick(3000);
  EXPECT_EQ(a.random.draws, b.random.draws);
  EXPECT_EQ(a.pet.PosX, b.pet.PosX);
}

}  // namespace
}  // namespace pimblo::test
