// The motion half of the tick: forces, contacts, hops, the escape from a wedge,
// the ledge turn, clamping and the mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/common/test_world.h"

namespace pimblo::test {
namespace {

TEST(MotionTick, FromRestOneTickAddsGravityAndTheDownwardPull) {
  World w({500, 100});
  w.pet.PullX = 0.25f;  // whatever the previous tick left as walking force
  w.Tick();
  EXPECT_FLOAT_EQ(w.pet.VelY, static_cast<float>(0.002 + static_cast<double>(0.11f)));
  EXPECT_FLOAT_EQ(w.pet.VelX, 0.25f);
  EXPECT_FLOAT_EQ(w.pet.PullY, 0.11f);
}

TEST(MotionTick, APetDroppedInMidAirFallsBouncesSettlesAndWalksLeft) {
  World w({500, 100});
  bool bounced = false;
  for (int i = 0; i < 400; ++i) {
    w.Tick();
    if (w.pet.BlockedY && w.pet.VelY < -1) bounced = true;
  }
  EXPECT_TRUE(bounced);
  w.Tick(1200);
  EXPECT_EQ(w.window.Top(), 768 - 33);  // bottom row of the box at 766
  EXPECT_EQ(w.pet.Direction, w.pet.VelX > 0 ? 1 : 0);
  // Terminal walking speed 0.01 / (1 - 0.988).
  EXPECT_NEAR(std::fabs(w.pet.VelX), 0.01 / (1 - 0.988), 0.01);
  EXPECT_TRUE(w.pet.FOnGround());
}

// A wall contact reverses a moving pet's velocity and facing; at zero
// horizontal speed (beyond the desktop's right bound every move is blocked
// horizontally, and no walking force is left) the facing stays.
TEST(MotionTick, AWallContactReversesTheVelocityAndTheFacingOfAMovingPet) {
  struct Case {
    ScreenPoint cursor;
    float x, y, velX;
    bool clearPull;
    int wantDirection;
  } const cases[] = {
      {{800, 735}, 1024 - 32, 735.95f, 2, false, 0},
      {{500, 300}, 1024 - 32 + 0.5f, 300, 0, true, 1},
  };
  for (const Case& c : cases) {
    World w(c.cursor);
    w.Place(c.x, c.y);
    w.pet.VelX = c.velX;
    w.pet.Direction = 1;
    if (c.clearPull) w.pet.PullX = 0;
    w.Tick();
    EXPECT_TRUE(w.pet.BlockedX) << c.x;
    if (c.velX > 0) EXPECT_LT(w.pet.VelX, 0);
    else EXPECT_EQ(w.pet.VelX, 0);
    EXPECT_EQ(w.pet.Direction, c.wantDirection) << c.x;
  }
}

TEST(MotionTick, AHopHappensWhenBothDrawsAreOne) {
  World w({500, 735});
  w.Place(500, 735.95f);
  w.random = ScriptedRandom({1, 1, 7});
  w.Tick();
  ASSERT_TRUE(w.pet.BlockedY);
  EXPECT_FLOAT_EQ(w.pet.VelY, -11);
  EXPECT_EQ(w.random.draws, 3);
}

TEST(MotionTick, NoHopUnlessBothDrawsAreOne) {
  for (std::vector<std::int32_t> draws : {std::vector<std::int32_t>{1, 2}, {0, 1}, {2, 1}}) {
    World w({500, 735});
    w.Place(500, 735.95f);
    w.random = ScriptedRandom(draws);
    w.Tick();
    EXPECT_GT(w.pet.VelY, -1);
    EXPECT_EQ(w.random.draws, 2);
  }
}

// A pet on the bottom of the screen between two walls that leave it no room.
struct Wedge : World {
  Wedge() : World({500, 735}, {{300, 600, 500, 768}, {532, 600, 800, 768}}) {
    Place(500, 735.95f);  // left wall's right border 499, right wall's left border 532
  }
};

TEST(MotionTick, WedgedPetsCountDownAndEscapeThroughTheWall) {
  Wedge w;
  w.pet.VelX = 0.5f;
  w.Tick(2);
  EXPECT_TRUE(w.pet.BlockedX);
  EXPECT_TRUE(w.pet.BlockedY);
  EXPECT_EQ(w.pet.StuckCounter, 8);
  w.Tick(7);
  EXPECT_EQ(w.pet.StuckCounter, 1);
  EXPECT_FLOAT_EQ(w.pet.PosX, 500);
  w.Tick();  // reaches 0: the escape move runs in the same tick
  EXPECT_EQ(w.pet.StuckCounter, 0);
  EXPECT_FALSE(w.pet.Dragging);
  EXPECT_NE(w.pet.PosX, 500);
}

TEST(MotionTick, TheStuckCounterClimbsBackWhenOneAxisIsFree) {
  World w({500, 300});
  w.pet.StuckCounter = 0;
  w.Tick();  // in the air: not both axes blocked
  EXPECT_EQ(w.pet.StuckCounter, 1);
  w.Tick(20);
  EXPECT_EQ(w.pet.StuckCounter, 10);
}

TEST(MotionTick, DraggingHoldsTheStuckCounterFull) {
  Wedge w;
  w.pet.StuckCounter = 3;
  w.pet.Dragging = true;
  w.desktop.SetCursor({516, 752});
  w.pet.GrabOffset = {16, 16};
  w.Tick();
  EXPECT_GE(w.pet.StuckCounter, 9);
}

TEST(MotionTick, APetWalkingOnAWindowTurnsAtTheLedge) {
  World w({200, 50}, {{100, 300, 400, 500}});
  ASSERT_TRUE(w.Settle());
  EXPECT_EQ(w.window.Top(), 300 - 33);
  // It walks left until the point 16 px right of its left edge, one tick ahead,
  // is past the border's end, then back right.
  float leftmost = w.pet.PosX;
  for (int i = 0; i < 600; ++i) {
    w.Tick();
    leftmost = std::min(leftmost, w.pet.PosX);
  }
  EXPECT_NEAR(leftmost, 100 - 16, 2.0);
  EXPECT_EQ(w.window.Top(), 300 - 33);  // never fell off
}

TEST(MotionTick, OnTheScreensBottomTheLookAheadIsAlwaysSolid) {
  World w({40, 735});
  w.Place(40, 735.95f);
  w.pet.VelX = -0.8f;
  w.pet.PullX = -0.01f;
  int leftmost = w.window.Left();
  for (int i = 0; i < 100; ++i) {
    w.Tick();
    leftmost = std::min(leftmost, w.window.Left());
  }
  EXPECT_EQ(leftmost, 0);  // walked on to the screen's edge: no ledge turn on the way
}

TEST(MotionTick, APositionOffTheScreenIsClampedBeforeTheWindowMoves) {
  World w({0, 20});
  w.Place(-3.5f, 20);
  w.pet.Dragging = true;  // no window blocks, only the desktop bounds
  w.desktop.SetCursor({-3, 20});
  w.pet.GrabOffset = {0, 0};
  w.Tick();
  EXPECT_EQ(w.pet.PosX, 0);
  EXPECT_EQ(w.window.Left(), 0);
}

TEST(MotionTick, TheWindowMovesOnlyWhenItsWholePixelPositionChanges) {
  World w({500, 735});
  w.Place(500.2f, 735.95f);
  w.pet.PullX = 0;
  w.pet.VelX = 0.3f;
  w.desktop.counts.windowMoves = 0;
  w.Tick();
  EXPECT_EQ(w.window.Left(), 500);
  EXPECT_EQ(w.desktop.counts.windowMoves, 0);
  w.Tick(2);  // 500.2 + 0.296 + 0.283 + 0.270
  EXPECT_EQ(w.window.Left(), 501);
  EXPECT_EQ(w.desktop.counts.windowMoves, 1);
}

TEST(MotionTick, TheSpeedFactorIsReadAtEveryTick) {
  World a({500, 100}), b({500, 100});
  a.pet.VelX = b.pet.VelX = 5;
  a.Tick();
  b.Tick();
  b.speedFactor = 0.9;
  a.Tick();
  b.Tick();
  // A new pet counts as on the ground for its first 20 ticks: the walking force
  // of the first tick (facing left) acts on the second.
  const double first = static_cast<float>(5 * 0.988), walk = -0.01f;
  EXPECT_EQ(a.pet.VelX, static_cast<float>(first * 0.988 + walk));
  EXPECT_EQ(b.pet.VelX, static_cast<float>(first * 0.9 + walk));
}

TEST(Mouse, ARightPressOpensTheMenuAtTheClickedPixelAndStartsNoDrag) {
  World w({300, 200});
  w.Place(300, 200);
  w.pet.ImageMouseDown(MouseButton::Right, 5, 6);
  EXPECT_FALSE(w.pet.Dragging);
  ASSERT_EQ(w.window.menuPopups.size(), 1u);
  EXPECT_EQ(w.window.menuPopups[0], (ScreenPoint{305, 206}));
}

TEST(Mouse, LeftAndMiddlePressesGrabAtTheCursorNotAtTheArguments) {
  for (MouseButton b : {MouseButton::Left, MouseButton::Middle}) {
    World w({300, 200});
    w.Place(300, 200);
    w.desktop.SetCursor({310, 220});
    w.pet.ImageMouseDown(b, 1, 1);
    EXPECT_TRUE(w.pet.Dragging);
    EXPECT_EQ(w.pet.GrabOffset, (ScreenPoint{10, 20}));
    EXPECT_TRUE(w.window.menuPopups.empty());
  }
}

TEST(Mouse, AnyReleaseEndsTheDragAndThePullsButKeepsTheVelocity) {
  World w({300, 200});
  w.pet.Dragging = true;
  w.pet.PullX = 3;
  w.pet.PullY = 4;
  w.pet.VelX = 7;
  w.pet.VelY = -2;
  w.pet.ImageMouseUp(MouseButton::Right, 0, 0);
  EXPECT_FALSE(w.pet.Dragging);
  EXPECT_EQ(w.pet.PullX, 0);
  EXPECT_EQ(w.pet.PullY, 0);
  EXPECT_EQ(w.pet.VelX, 7);
  EXPECT_EQ(w.pet.VelY, -2);
}

TEST(Mouse, ADraggedPetFollowsTheCursorAndFliesOnWhenReleased) {
  World w({300, 300}, {{100, 350, 900, 600}});
  w.Place(300, 300);
  w.desktop.SetCursor({316, 316});
  w.pet.ImageMouseDown(MouseButton::Left, 16, 16);
  w.desktop.SetCursor({616, 216});
  w.Tick(600);  // a damped spring: it swings in
  EXPECT_NEAR(w.pet.PosX, 600, 20);
  EXPECT_NEAR(w.pet.PosY, 200, 20);
  // A fast pull to the left, then let go: it keeps flying left.
  w.desktop.SetCursor({216, 216});
  w.Tick(8);
  const float velocity = w.pet.VelX;
  EXPECT_LT(velocity, -3);
  w.pet.ImageMouseUp(MouseButton::Left, 0, 0);
  const float x = w.pet.PosX;
  w.Tick();
  EXPECT_LT(w.pet.PosX, x - 2);
}

TEST(Mouse, AFastDragIntoTheDesktopEdgeEndsTheDrag) {
  World w({500, 300});
  w.Place(500, 300);
  w.desktop.SetCursor({516, 316});
  w.pet.ImageMouseDown(MouseButton::Left, 16, 16);
  w.desktop.SetCursor({5000, 316});  // far beyond the right edge
  bool dropped = false;
  for (int i = 0; i < 100 && !dropped; ++i) {
    w.Tick();
    dropped = !w.pet.Dragging;
  }
  EXPECT_TRUE(dropped);
  EXPECT_EQ(w.window.Left(), 1024 - 32);
}

}  // namespace
}  // namespace pimblo::test
