#include "pet/zibbet.h"

#include <cmath>
#include <limits>

#include "sprites/region_scan.h"

namespace pimblo {

std::int32_t Trunc(double v) {
  if (!(v == v)) return 0;  // NaN
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

bool IsSolidPoint(Desktop& desktop, std::int32_t x, std::int32_t y) {
  if (x < 0 || y < 0 || x >= desktop.GetSystemMetrics(Metric::ScreenWidth) ||
      y >= desktop.GetSystemMetrics(Metric::ScreenHeight))
    return true;
  const WindowHandle window = desktop.WindowFromPoint({x, y});
  if (window == 0) return false;
  const auto rect = desktop.GetWindowRect(window);
  if (!rect) return false;  // the window went away between the two questions
  return x == rect->left || x == rect->right - 1 || y == rect->top;
}

TZibbetForm::TZibbetForm(Desktop& desktop, PetWindow& window, RandomSource& random, const double& speedFactor,
                         std::uint32_t blinkSeed)
    : desktop_(desktop), window_(window), random_(random), speedFactor_(speedFactor),
      blinkState_(blinkSeed == 0 ? 1 : blinkSeed) {
  FormCreate();
}

void TZibbetForm::FormCreate() {
  StuckCounter = kStuckLimit;
  window_.SetWidth(kSize);
  window_.SetHeight(kSize);
}

void TZibbetForm::ImageMouseDown(MouseButton button, std::int32_t x, std::int32_t y) {
  if (button == MouseButton::Right) {
    window_.PopupContextMenu({window_.Left() + x, window_.Top() + y});
    return;
  }
  Dragging = true;
  const ScreenPoint cursor = desktop_.GetCursorPos();
  GrabOffset = {cursor.x - window_.Left(), cursor.y - window_.Top()};
}

void TZibbetForm::ImageMouseUp(MouseButton, std::int32_t, std::int32_t) {
  Dragging = false;
  PullX = 0;
  PullY = 0;
}

bool TZibbetForm::FOnGround() const { return AirTicks < kGroundMemory; }

bool TZibbetForm::StepIsBlocked(float dx, float dy) {
  const std::int32_t x = Trunc(static_cast<double>(PosX) + dx);
  const std::int32_t y = Trunc(static_cast<double>(PosY) + dy);
  const std::int32_t w = window_.Width(), h = window_.Height();
  bool blocked = false;
  // Every probe of a holding condition is made, both points of its row.
  auto probe = [&](std::int32_t px, std::int32_t py) {
    if (IsSolidPoint(desktop_, px, py)) blocked = true;
  };
  if (dx > 0) {
    probe(x + w, y);
    probe(x + w, y + h);
  }
  if (dx < 0) {
    probe(x, y);
    probe(x, y + h);
  }
  if (dy > 0) {
    probe(x, y + h);
    probe(x + w, y + h);
  }
  return blocked && !Dragging;
}

void TZibbetForm::MoveSingle(float dx, float dy) {
  if (!BlockedX) {
    if (StepIsBlocked(dx, 0)) BlockedX = true;
    else PosX = static_cast<float>(static_cast<double>(PosX) + dx);
  }
  if (!BlockedY) {
    if (StepIsBlocked(0, dy)) BlockedY = true;
    else PosY = static_cast<float>(static_cast<double>(PosY) + dy);
  }
  // The desktop bounds only raise the flags; the tick clamps the position.
  if (PosX < desktop_.GetSystemMetrics(Metric::DesktopLeft) ||
      PosX > desktop_.GetSystemMetrics(Metric::DesktopWidth) - window_.Width())
    BlockedX = true;
  if (PosY < desktop_.GetSystemMetrics(Metric::DesktopTop) ||
      PosY > desktop_.GetSystemMetrics(Metric::DesktopHeight) - window_.Height())
    BlockedY = true;
}

void TZibbetForm::Move(float dx, float dy) {
  BlockedX = false;
  BlockedY = false;
  const float m = std::fabs(dx) > std::fabs(dy) ? std::fabs(dx) : std::fabs(dy);
  if (!(m > 0)) return;
  const auto ux = static_cast<float>(static_cast<double>(dx) / m);
  const auto uy = static_cast<float>(static_cast<double>(dy) / m);
  const std::int32_t n = Trunc(m);
  for (std::int32_t i = 0; i < n; ++i) MoveSingle(ux, uy);
  const auto r = static_cast<float>(static_cast<double>(m) - n);
  MoveSingle(static_cast<float>(static_cast<double>(ux) * r), static_cast<float>(static_cast<double>(uy) * r));
}

void TZibbetForm::MoveZibbet() {
  MotionHalf();
  PoseHalf();
}

void TZibbetForm::MotionHalf() {
  const double speedFactor = speedFactor_;
  // 1. Forces.
  if (Dragging) {
    const ScreenPoint cursor = desktop_.GetCursorPos();
    PullX = static_cast<float>((cursor.x - (window_.Left() + GrabOffset.x)) * kDragSpring);
    PullY = static_cast<float>((cursor.y - (window_.Top() + GrabOffset.y)) * kDragSpring);
  } else {
    PullY = kDownwardPull;
  }
  // 2. Integration.
  VelX = static_cast<float>(static_cast<double>(VelX) * speedFactor + PullX);
  VelY = static_cast<float>(static_cast<double>(VelY) * speedFactor + kGravity + PullY);
  // 3. Movement.
  Move(VelX, VelY);
  // 4. Horizontal contact.
  if (BlockedX) {
    VelX = -VelX;
    if (Speed > kDropSpeed) Dragging = false;
    if (VelX > 0) Direction = 1;
    if (VelX < 0) Direction = 0;
  }
  // 5. Vertical contact.
  if (BlockedY) {
    VelY = -VelY;
    if (Speed > kDropSpeed) Dragging = false;
  }
  // 6. Ground memory.
  if (BlockedY) AirTicks = 0;
  else if (AirTicks < std::numeric_limits<std::int32_t>::max()) ++AirTicks;
  // 7. Walking force, from the next tick on.
  PullX = 0;
  if (FOnGround()) PullX = Direction == 0 ? -kWalkingForce : kWalkingForce;
  // 8. Hop.
  if (BlockedY) {
    const std::int32_t a = random_.Random(40);
    const std::int32_t b = random_.Random(10);
    if (a * b == 1) VelY = static_cast<float>(-4 - random_.Random(10));
  }
  // 9, 10. Stuck counter, held full while dragged.
  if (Dragging) StuckCounter = kStuckLimit;
  if (BlockedX && BlockedY) {
    if (StuckCounter > 0) --StuckCounter;
  } else if (StuckCounter < kStuckLimit) {
    ++StuckCounter;
  }
  // 11. Escape move: one move that no window blocks, a pixel further down.
  if (StuckCounter == 0 && !Dragging) {
    Dragging = true;
    Move(VelX, static_cast<float>(static_cast<double>(VelY) + 1));
    Dragging = false;
  }
  // 12. Speed.
  Speed = static_cast<float>(std::sqrt(static_cast<double>(VelX) * VelX + static_cast<double>(VelY) * VelY));
  // 13. Ledge look-ahead below the pet's middle, one tick of travel ahead.
  if (BlockedY &&
      !IsSolidPoint(desktop_, Trunc(static_cast<double>(PosX) + VelX + kLookAheadX), Trunc(PosY) + kLookAheadY)) {
    VelX = -VelX;
    if (VelX > 0) Direction = 1;
    if (VelX < 0) Direction = 0;
  }
  // 14. Clamp to the primary screen.
  if (PosX < 0) PosX = 0;
  if (PosY < 0) PosY = 0;
  if (PosX > desktop_.GetSystemMetrics(Metric::ScreenWidth) - window_.Width())
    PosX = static_cast<float>(desktop_.GetSystemMetrics(Metric::ScreenWidth) - window_.Width());
  if (PosY > desktop_.GetSystemMetrics(Metric::ScreenHeight) - window_.Height())
    PosY = static_cast<float>(desktop_.GetSystemMetrics(Metric::ScreenHeight) - window_.Height());
  // 15. Move the window only when its whole-pixel position changed.
  if (Trunc(PosX) != window_.Left() || Trunc(PosY) != window_.Top()) window_.MoveTo({Trunc(PosX), Trunc(PosY)});
}

TZibbetForm::Pose TZibbetForm::ChoosePose(float speed, float velY, float legFrame) {
  Pose pose{speed > 5 ? 1.0f : 0.0f, legFrame};
  if (velY > 2) pose.leg = 6;
  if (velY < -2) pose.leg = 7;
  if (pose.head == 0) pose.head = 6;
  return pose;
}

void TZibbetForm::PoseHalf() {
  // 16–18. Head and legs.
  const Pose pose = ChoosePose(Speed, VelY, LegFrame);
  HeadFrame = pose.head;
  LegFrame = pose.leg;
  if (Blinking) Blink();
  // 19. Stay on top.
  if (desktop_.GetTopWindow() != window_.Handle()) window_.BringToTop();
  // 20. Redraw on a change of frame index only.
  const std::int32_t leg = Trunc(LegFrame), head = Trunc(HeadFrame);
  if (leg != ShownLeg || head != ShownHead) {
    const bool right = Direction == 1;
    window_.PreparePicture();
    window_.DrawFrame(right ? SheetId::Heads : SheetId::FHeads, head);
    window_.DrawFrame(right ? SheetId::Legs : SheetId::FLegs, leg);
    window_.ShapeToPicture(kPetKey, kPetTolerance);
    ShownLeg = leg;
    ShownHead = head;
    window_.Invalidate();
  }
  // 21. Walk cycle.
  LegFrame = static_cast<float>(static_cast<double>(LegFrame) + 0.1);
  if (LegFrame >= 6) LegFrame = 1;
}

// The resting face blinks every two to five and a half seconds: 15 ticks of
// eyelids half closed, closed, half closed.
void TZibbetForm::Blink() {
  if (BlinkCountdown > 0) --BlinkCountdown;
  else BlinkCountdown = 200 + 40 * BlinkDraw(10);
  if (HeadFrame != 6) return;
  if (BlinkCountdown >= 10 && BlinkCountdown <= 14) HeadFrame = 2;
  else if (BlinkCountdown >= 5 && BlinkCountdown <= 9) HeadFrame = 3;
  else if (BlinkCountdown <= 4) HeadFrame = 2;
}

std::int32_t TZibbetForm::BlinkDraw(std::int32_t n) {
  blinkState_ ^= blinkState_ << 13;
  blinkState_ ^= blinkState_ >> 17;
  blinkState_ ^= blinkState_ << 5;
  return static_cast<std::int32_t>(blinkState_ % static_cast<std::uint32_t>(n));
}

}  // namespace pimblo
