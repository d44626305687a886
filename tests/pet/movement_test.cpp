// Sub-stepped movement: how a tick's displacement is cut into steps of at most
// one pixel, and how refused steps and the desktop bounds set the contact flags.
#include <gtest/gtest.h>

#include "tests/common/test_world.h"

namespace pimblo::test {
namespace {

TEST(Move, CutsTheDisplacementIntoWholeStepsAndAFinalFraction) {
  struct Case {
    float dx, dy;
    int subSteps;
  };
  const Case cases[] = {
      {2.5f, 0, 3},      // (1, 0), (1, 0), (0.5, 0)
      {-3, 1.5f, 4},     // three (-1, 0.5), then a final (0, 0)
      {0.3f, -0.2f, 1},  // no whole step
      {0, 7, 8},         // the final step is made even when the fraction is 0
      {0, 0, 0},
  };
  for (const Case& c : cases) {
    World w({500, 300});
    w.Place(500, 300);
    w.desktop.subSteps = 0;
    w.pet.Move(c.dx, c.dy);
    EXPECT_EQ(w.desktop.subSteps, c.subSteps) << c.dx << "," << c.dy;
    EXPECT_FLOAT_EQ(w.pet.PosX, 500 + c.dx);
    EXPECT_FLOAT_EQ(w.pet.PosY, 300 + c.dy);
    EXPECT_FALSE(w.pet.BlockedX);
    EXPECT_FALSE(w.pet.BlockedY);
  }
}

TEST(Move, ANullMoveClearsBothFlagsAndProbesNothing) {
  World w({500, 300});
  w.pet.BlockedX = w.pet.BlockedY = true;
  w.desktop.probes.clear();
  w.pet.Move(0, 0);
  EXPECT_FALSE(w.pet.BlockedX);
  EXPECT_FALSE(w.pet.BlockedY);
  EXPECT_TRUE(w.desktop.probes.empty());
}

TEST(Move, TheFinalNullSubStepStillMeetsTheDesktopBounds) {
  World w({500, 300});
  w.Place(1024 - 32 + 0.5f, 300);  // already beyond the right bound
  w.pet.Move(0, 0.5f);
  EXPECT_TRUE(w.pet.BlockedX);
  EXPECT_FLOAT_EQ(w.pet.PosX, 1024 - 32 + 0.5f);  // bounds raise flags, never correct
}

TEST(Move, AFallOntoABorderStopsVerticallyAndKeepsSlidingHorizontally) {
  // Falling at 5 px/tick onto the top border row 300 of a wide window.
  World w({200, 263}, {{0, 300, 1024, 500}});
  w.Place(200, 263);  // bottom row of the box at 294
  w.pet.Move(3, 5);
  EXPECT_TRUE(w.pet.BlockedY);
  EXPECT_FALSE(w.pet.BlockedX);
  EXPECT_EQ(Trunc(w.pet.PosY) + 31, 298);
  EXPECT_FLOAT_EQ(w.pet.PosX, 203);  // all five sub-steps moved it horizontally
}

TEST(Move, AnAxisRefusedOnceStaysRefusedForTheRestOfTheMove) {
  // The wall's left border column is 180 from row 283 down. A pet rising past the
  // wall's top is refused sideways at first; four pixels higher the way would be
  // free, but the horizontal axis stays refused for the rest of the move.
  World w({100, 254}, {{180, 283, 400, 768}});
  w.Place(147, 254);  // the step to 148 probes column 180 at rows 254 and 286
  w.pet.Move(8, -8);
  EXPECT_TRUE(w.pet.BlockedX);
  EXPECT_FLOAT_EQ(w.pet.PosX, 147);
  EXPECT_FLOAT_EQ(w.pet.PosY, 246);
  EXPECT_FALSE(w.pet.StepIsBlocked(1, 0));  // from up here the step is free
}

TEST(Move, DraggedPetsPassWindowsButNotTheDesktopBounds) {
  World w({200, 100}, {{100, 300, 400, 500}});
  w.Place(200, 100);
  w.pet.Dragging = true;
  w.pet.Move(0, 300);
  EXPECT_FALSE(w.pet.BlockedY);
  EXPECT_FLOAT_EQ(w.pet.PosY, 400);
  w.pet.Move(0, 400);
  EXPECT_TRUE(w.pet.BlockedY);  // past the bottom of the desktop
}

TEST(Move, TheDesktopRightAndBottomBoundsIgnoreTheDesktopOrigin) {
  // A second display to the left: desktop from -1280, 2304 wide. The right bound
  // is 2304 - 32, not -1280 + 2304 - 32.
  World w({1100, 300});
  w.desktop.SetScreen(1024, 768, DesktopArea{-1280, 0, 2304, 768});
  w.pet.Dragging = true;  // off the primary screen every probe is solid
  w.Place(1100, 300);
  w.pet.Move(1, 0);
  EXPECT_FALSE(w.pet.BlockedX);
  w.Place(2272, 300);
  w.pet.Move(1, 0);
  EXPECT_TRUE(w.pet.BlockedX);
  w.Place(-1279.5f, 300);
  w.pet.Move(-1, 0);
  EXPECT_TRUE(w.pet.BlockedX);
}

}  // namespace
}  // namespace pimblo::test
