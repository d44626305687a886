// The pet: its whole physical state, the mouse handlers, the motion tick with its
// probing and sub-stepped movement, and the choice and display of its pose.
// Platform-free: it sees the world only through Desktop, PetWindow and
// RandomSource, and the program's window holds one of these by value.
#pragma once

#include <cstdint>

#include "pet/platform.h"

namespace pimblo {

// Truncation toward zero of a position or frame index. Values beyond the 32-bit
// range (never reached by a pet on a screen) saturate instead of being undefined.
std::int32_t Trunc(double v);

// A screen pixel is solid when it is off the primary screen or on the left, right
// or top border line of the window the window system reports there.
bool IsSolidPoint(Desktop& desktop, std::int32_t x, std::int32_t y);

class TZibbetForm {
 public:
  // Tuning of the motion tick.
  static constexpr double kDragSpring = 0.02;
  static constexpr float kDownwardPull = 0.11f;
  static constexpr double kGravity = 0.002;
  static constexpr double kDropSpeed = 10;
  static constexpr std::int32_t kGroundMemory = 20;
  static constexpr float kWalkingForce = 0.01f;
  static constexpr std::int32_t kStuckLimit = 10;
  static constexpr std::int32_t kLookAheadX = 16;
  static constexpr std::int32_t kLookAheadY = 33;
  static constexpr std::int32_t kSize = 32;

  // `speedFactor` is the process-wide damping factor, read at every tick.
  // `blinkSeed` seeds the pet's own blink schedule, which never draws from the
  // process-wide generator, so the motion never depends on it.
  TZibbetForm(Desktop& desktop, PetWindow& window, RandomSource& random, const double& speedFactor,
              std::uint32_t blinkSeed = 0x2545F491u);

  void FormCreate();
  void ImageMouseDown(MouseButton button, std::int32_t x, std::int32_t y);
  void ImageMouseUp(MouseButton button, std::int32_t x, std::int32_t y);

  // One tick: motion, then pose.
  void MoveZibbet();
  void Move(float dx, float dy);
  void MoveSingle(float dx, float dy);
  bool StepIsBlocked(float dx, float dy);
  bool FOnGround() const;

  // Head and leg frames for a speed and vertical velocity (the tick's steps
  // before blinking): head 1 when fast, else 6; legs 6 when falling fast, 7 when
  // rising fast, else the walk cycle's value.
  struct Pose {
    float head;
    float leg;
  };
  static Pose ChoosePose(float speed, float velY, float legFrame);

  // The state, in the order and widths the pet has always kept it.
  std::uint8_t Direction = 0;  // 0 faces and walks left, 1 right
  bool Dragging = false;
  ScreenPoint GrabOffset{};
  bool BlockedX = false;
  bool BlockedY = false;
  std::int32_t StuckCounter = 10;
  float Speed = 0;
  float PosX = 0;
  float PosY = 0;
  float VelX = 0;
  float VelY = 0;
  float PullX = 0;
  float PullY = 0;
  float HeadFrame = 0;
  float LegFrame = 0;
  std::int32_t ShownHead = 0;
  std::int32_t ShownLeg = 1;
  std::int32_t AirTicks = 0;
  std::int32_t BlinkCountdown = 0;

  // Blinking can be switched off, for tests that count redraws over long runs.
  bool Blinking = true;

 private:
  void MotionHalf();
  void PoseHalf();
  void Blink();
  std::int32_t BlinkDraw(std::int32_t n);

  Desktop& desktop_;
  PetWindow& window_;
  RandomSource& random_;
  const double& speedFactor_;
  std::uint32_t blinkState_;
};

}  // namespace pimblo
