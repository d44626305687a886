#include "look/title_bar_input.h"

#include <cassert>
#include <utility>

namespace pimblo {

bool IsSecondClick(bool firstSeen, std::uint32_t first, std::uint32_t time, std::uint32_t doubleClickTime) {
  return firstSeen && time - first <= doubleClickTime;
}

std::vector<TitleBarPart> TitleBarParts(const TSkinData& skin) {
  std::vector<TitleBarPart> parts;
  parts.reserve(skin.SysButtons.size());
  for (const TDataSkinSysButton& button : skin.SysButtons)
    parts.push_back({IsIconAction(button.Action), CommandOfAction(button.Action) == ButtonCommand::SystemMenu});
  return parts;
}

void TitleBarInput::SetParts(std::vector<TitleBarPart> parts) {
  parts_ = std::move(parts);
  states_.assign(parts_.size(), kButtonNormal);
  hot_ = kNoPart;
  pressed_ = kNoPart;
}

std::int32_t TitleBarInput::State(std::int32_t part) const {
  return Known(part) ? states_[static_cast<std::size_t>(part)] : kButtonNormal;
}

bool TitleBarInput::Known(std::int32_t part) const {
  return part >= 0 && static_cast<std::size_t>(part) < parts_.size();
}

TitleBarDecision TitleBarInput::Handle(const TitleBarEvent& event) {
  // A part the buttons do not know (a layout of an older set) is no button.
  TitleBarEvent e = event;
  if (!Known(e.part)) e.part = kNoPart;
  TitleBarDecision d;
  switch (e.kind) {
    case TitleBarEvent::kMove: return Move(e);
    case TitleBarEvent::kDown: return Down(e);
    case TitleBarEvent::kCapturedMove:
      if (pressed_ == kNoPart) return d;
      TrackPressed(e.part, d);
      d.consumed = true;
      return d;
    case TitleBarEvent::kUp: return Up(e);
    case TitleBarEvent::kCaptureLost:
      if (pressed_ != kNoPart) LetPressedGo(d);
      return d;
    case TitleBarEvent::kHoverTick: return HoverTick(e);
    case TitleBarEvent::kActivate: return Activate(e);
    case TitleBarEvent::kReady:
      if (e.active) StartHoverTimer(d);
      return d;
    case TitleBarEvent::kStop:
      StopHoverTimer(d);
      return d;
    case TitleBarEvent::kMenuRequest:
      OpenMenu(d);
      d.consumed = true;
      return d;
    case TitleBarEvent::kMenuClick: return MenuClick(e);
    case TitleBarEvent::kMenuClosed: return MenuClosed();
  }
  return d;
}

// Over the frame the mouse makes buttons hot, in an active window; while a button is pressed it
// only shows whether the mouse is still on it.
TitleBarDecision TitleBarInput::Move(const TitleBarEvent& e) {
  TitleBarDecision d;
  if (pressed_ != kNoPart) {
    TrackPressed(e.part, d);
    return d;
  }
  if (!e.active) return d;
  if (e.part != kNoPart) {
    if (hot_ != e.part) Enter(e.part, d);
  } else if (hot_ != kNoPart) {
    Leave(d);
  }
  return d;
}

TitleBarDecision TitleBarInput::Down(const TitleBarEvent& e) {
  TitleBarDecision d;
  if (e.part == kNoPart) return d;
  d.consumed = true;
  if (parts_[static_cast<std::size_t>(e.part)].icon) {
    if (IsSecondIconClick(e)) {
      iconClicked_ = false;
      d.closeWindow = true;
      return d;
    }
    iconClicked_ = true;
    lastIconClick_ = e.time;
  }
  d.bringForward = !e.active;
  hot_ = e.part;
  SetState(e.part, kButtonPressed, d);
  pressed_ = e.part;
  d.capture = CaptureChange::kTake;
  return d;
}

// Released on the pressed button, the button runs; anywhere else it just goes back to normal.
TitleBarDecision TitleBarInput::Up(const TitleBarEvent& e) {
  TitleBarDecision d;
  if (pressed_ == kNoPart) return d;
  d.consumed = true;
  d.capture = CaptureChange::kRelease;
  if (e.part != pressed_) {
    LetPressedGo(d);
    return d;
  }
  const std::int32_t button = std::exchange(pressed_, kNoPart);
  SetState(button, kButtonHot, d);
  if (parts_[static_cast<std::size_t>(button)].opensMenu)
    OpenMenu(d);
  else
    d.command = button;
  return d;
}

// The frame gets no message when the mouse leaves the window; the timer looks instead.
TitleBarDecision TitleBarInput::HoverTick(const TitleBarEvent& e) {
  TitleBarDecision d;
  d.consumed = true;
  if (hot_ != kNoPart && pressed_ == kNoPart && e.part != hot_) Leave(d);
  return d;
}

// Only an active window watches the hover; an inactive one shows no hot button.
TitleBarDecision TitleBarInput::Activate(const TitleBarEvent& e) {
  TitleBarDecision d;
  if (e.active) {
    StartHoverTimer(d);
  } else if (StopHoverTimer(d) && hot_ != kNoPart) {
    Leave(d);
  }
  return d;
}

// The system menu's loop takes the clicks while it is up: the second click on the icon ends the
// menu, and the window closes once the menu is gone.
TitleBarDecision TitleBarInput::MenuClick(const TitleBarEvent& e) {
  TitleBarDecision d;
  if (e.part == kNoPart || !parts_[static_cast<std::size_t>(e.part)].icon || !IsSecondIconClick(e)) return d;
  closeAfterMenu_ = true;
  d.endMenu = true;
  d.consumed = true;
  return d;
}

TitleBarDecision TitleBarInput::MenuClosed() {
  TitleBarDecision d;
  menuOpen_ = false;
  if (closeAfterMenu_) {
    iconClicked_ = false;
    d.closeWindow = true;
  }
  return d;
}

void TitleBarInput::TrackPressed(std::int32_t part, TitleBarDecision& d) {
  const std::int32_t want = part == pressed_ ? kButtonPressed : kButtonNormal;
  if (states_[static_cast<std::size_t>(pressed_)] != want) SetState(pressed_, want, d);
}

void TitleBarInput::LetPressedGo(TitleBarDecision& d) {
  const std::int32_t button = std::exchange(pressed_, kNoPart);
  if (hot_ == button) hot_ = kNoPart;
  SetState(button, kButtonNormal, d);
}

void TitleBarInput::Enter(std::int32_t part, TitleBarDecision& d) {
  if (hot_ != kNoPart && hot_ != part) Leave(d);
  hot_ = part;
  SetState(part, kButtonHot, d);
}

void TitleBarInput::Leave(TitleBarDecision& d) {
  SetState(std::exchange(hot_, kNoPart), kButtonNormal, d);
}

void TitleBarInput::StartHoverTimer(TitleBarDecision& d) {
  if (hoverTimer_) return;
  hoverTimer_ = true;
  d.hoverTimer = TimerChange::kStart;
}

bool TitleBarInput::StopHoverTimer(TitleBarDecision& d) {
  if (!hoverTimer_) return false;
  hoverTimer_ = false;
  d.hoverTimer = TimerChange::kStop;
  return true;
}

void TitleBarInput::OpenMenu(TitleBarDecision& d) {
  if (menuOpen_) return;
  menuOpen_ = true;
  closeAfterMenu_ = false;
  d.openMenu = true;
}

void TitleBarInput::SetState(std::int32_t part, std::int32_t state, TitleBarDecision& d) {
  assert(Known(part) && "a state belongs to a known button");
  states_[static_cast<std::size_t>(part)] = state;
  d.repaint.push_back(part);
}

bool TitleBarInput::IsSecondIconClick(const TitleBarEvent& e) const {
  return IsSecondClick(iconClicked_, lastIconClick_, e.time, e.doubleClickTime);
}

}  // namespace pimblo
