// The point probe, the step test and the ground memory.
#include <gtest/gtest.h>

#include "tests/common/test_world.h"

namespace pimblo::test {
namespace {

TEST(IsSolidPoint, PointsOffThePrimaryScreenAreSolidWithoutAskingForAWindow) {
  SimDesktop desktop(1024, 768);
  desktop.SetWindows({{0, 0, 1024, 768}});
  for (ScreenPoint p : {ScreenPoint{-1, 10}, {10, -1}, {1024, 10}, {10, 768}, {-5000, -5000}}) {
    EXPECT_TRUE(IsSolidPoint(desktop, p.x, p.y)) << p.x << "," << p.y;
  }
  EXPECT_EQ(desktop.counts.windowFromPoint, 0);
}

TEST(IsSolidPoint, OnlyTheLeftRightAndTopBorderLinesOfAWindowAreSolid) {
  SimDesktop desktop(1024, 768);
  desktop.SetWindows({{100, 200, 300, 400}});
  struct Case {
    ScreenPoint p;
    bool solid;
    const char* what;
  };
  const Case cases[] = {
      {{100, 250}, true, "left border column"},   {{299, 250}, true, "right border column (right - 1)"},
      {{150, 200}, true, "top border row"},       {{150, 399}, false, "bottom border row"},
      {{150, 250}, false, "interior"},            {{300, 250}, false, "right edge is exclusive"},
      {{99, 250}, false, "left of the window"},   {{150, 199}, false, "above the window"},
      {{0, 0}, false, "no window at all"},        {{1023, 767}, false, "last pixel of the screen"},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSolidPoint(desktop, c.p.x, c.p.y), c.solid) << c.what;
}

TEST(IsSolidPoint, TheTopmostWindowAtThePointDecides) {
  SimDesktop desktop(1024, 768);
  // The front window covers the back window's left border at x = 100.
  desktop.SetWindows({{50, 100, 400, 600}, {100, 50, 500, 700}});
  EXPECT_FALSE(IsSolidPoint(desktop, 100, 300));
  EXPECT_TRUE(IsSolidPoint(desktop, 100, 60));  // above the front window: the back one's border
}

TEST(IsSolidPoint, AWindowThatVanishedBetweenTheTwoQuestionsIsEmptySpace) {
  struct Vanishing : SimDesktop {
    using SimDesktop::SimDesktop;
    std::optional<Rect> GetWindowRect(WindowHandle) override { return std::nullopt; }
  } desktop(1024, 768);
  desktop.SetWindows({{100, 200, 300, 400}});
  EXPECT_FALSE(IsSolidPoint(desktop, 100, 250));
}

TEST(StepIsBlocked, ProbesTheRowAndColumnEachDirectionAsks) {
  struct Case {
    float dx, dy;
    std::vector<ScreenPoint> probes;
  };
  // Pet box at (200, 300), 32 × 32.
  const Case cases[] = {
      {0, 0, {}},
      {1, 0, {{233, 300}, {233, 332}}},
      {0.5f, 0, {{232, 300}, {232, 332}}},
      {-1, 0, {{199, 300}, {199, 332}}},
      {-0.5f, 0, {{199, 300}, {199, 332}}},  // trunc(199.5) = 199
      {0, 1, {{200, 333}, {232, 333}}},
      {0, -1, {}},
  };
  for (const Case& c : cases) {
    World w({200, 300});
    w.Place(200, 300);
    w.desktop.probes.clear();
    EXPECT_FALSE(w.pet.StepIsBlocked(c.dx, c.dy));
    EXPECT_EQ(w.desktop.probes, c.probes) << c.dx << "," << c.dy;
  }
}

TEST(StepIsBlocked, TruncatesTowardZeroNearTheScreensLeftEdge) {
  World w({0, 300});
  w.Place(0.4f, 300);
  // 0.4 - 1 = -0.6 truncates to 0, not -1: the probe stays on screen.
  w.desktop.probes.clear();
  w.pet.StepIsBlocked(-1, 0);
  ASSERT_FALSE(w.desktop.probes.empty());
  EXPECT_EQ(w.desktop.probes[0].x, 0);
}

TEST(StepIsBlocked, UpwardStepsAreNeverBlockedByWindows) {
  World w({200, 301}, {{100, 300, 400, 500}});
  w.Place(200, 301);
  EXPECT_FALSE(w.pet.StepIsBlocked(0, -1));
}

TEST(StepIsBlocked, DraggingUnblocksEveryStepButStillProbes) {
  World w({-10, 300});
  w.Place(-10, 300);
  w.pet.Dragging = true;
  w.desktop.probes.clear();
  EXPECT_FALSE(w.pet.StepIsBlocked(-1, 0));
  EXPECT_FALSE(w.pet.StepIsBlocked(0, 1000));
  w.pet.Dragging = false;
  EXPECT_TRUE(w.pet.StepIsBlocked(-1, 0));
}

// Moves the pet one pixel at a time (dx, dy) `steps` times.
void Walk(World& w, int dx, int dy, int steps) {
  for (int i = 0; i < steps; ++i) w.pet.Move(dx, dy);
}

// Where a pet moving one way comes to rest against a border line.
TEST(RestingGeometry, AgainstLeftRightAndTopBorders) {
  {
    // Walking right into a left border column L: right column of the box at L - 2.
    World w({300, 700}, {{500, 600, 800, 768}});
    w.Place(300, 650);
    Walk(w, 1, 0, 400);
    EXPECT_EQ(Trunc(w.pet.PosX) + 31, 500 - 2);
  }
  {
    // Walking left into a right border column C: left column of the box at C + 1.
    World w({700, 650}, {{100, 600, 400, 768}});
    w.Place(700, 650);
    Walk(w, -1, 0, 400);
    EXPECT_EQ(Trunc(w.pet.PosX), 399 + 1);
  }
  {
    // Falling onto a top border row T: bottom row of the box at T - 2.
    World w({200, 100}, {{100, 300, 400, 500}});
    w.Place(200, 100);
    Walk(w, 0, 1, 400);
    EXPECT_EQ(Trunc(w.pet.PosY) + 31, 300 - 2);
    // The row just below the box is T - 1, so walking along the border is free.
    EXPECT_FALSE(w.pet.StepIsBlocked(1, 0));
    EXPECT_FALSE(w.pet.StepIsBlocked(-1, 0));
  }
}

TEST(RestingGeometry, APetInFrontOfAWindowFallsThroughItsInteriorAndBottomBorder) {
  World w({200, 350}, {{100, 300, 400, 500}});
  w.Place(200, 350);
  Walk(w, 0, 1, 800);
  // The screen's bottom acts as a border row just below the screen: the bottom
  // row of the box comes to rest at 768 - 2.
  EXPECT_EQ(Trunc(w.pet.PosY) + 31, 768 - 2);
}

TEST(FOnGround, RemembersTheGroundForTwentyTicks) {
  World w;
  for (int ticks : {0, 1, 19}) {
    w.pet.AirTicks = ticks;
    EXPECT_TRUE(w.pet.FOnGround()) << ticks;
  }
  for (int ticks : {20, 21, 1000}) {
    w.pet.AirTicks = ticks;
    EXPECT_FALSE(w.pet.FOnGround()) << ticks;
  }
}

}  // namespace
}  // namespace pimblo::test
