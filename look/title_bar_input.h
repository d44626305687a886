// The title bar's mouse input, without the window system: which title-bar button
// is hot (under the mouse) or pressed, what the hover timer finds, the click on a
// button that runs its command or opens the system menu, and the second click on
// the window icon that closes the window, also while the system menu opened by
// the first click is up. The skinned window feeds it what happened and acts on
// the decision it returns.
#pragma once

#include <cstdint>
#include <vector>

#include "look/skin_layout.h"

namespace pimblo {

// Whether a click on the window icon at `time` is the second of a double click: a first click was
// seen at `first`, at most doubleClickTime before. Both times are the clicks' own input times (the
// millisecond clock, which wraps), not when they were handled: a handler that ran late, as behind
// the system menu opened by the first click, must not split a double click in two.
bool IsSecondClick(bool firstSeen, std::uint32_t first, std::uint32_t time, std::uint32_t doubleClickTime);

// Where no title-bar button is (ButtonAt's answer there).
constexpr std::int32_t kNoPart = -1;

// What a title-bar button is to the input.
struct TitleBarPart {
  bool icon = false;       // the window icon: a second click on it closes the window
  bool opensMenu = false;  // a click on it opens the system menu instead of running a command
};
// The parts of a skin's title-bar buttons, in the order of its button list.
std::vector<TitleBarPart> TitleBarParts(const TSkinData& skin);

struct TitleBarEvent {
  enum Kind {
    kMove,          // the mouse moved over the window's frame
    kDown,          // the left button went down on the frame (a double click too)
    kCapturedMove,  // the mouse moved while the window holds it
    kUp,            // the left button came up while the window holds the mouse
    kCaptureLost,   // another window took the mouse
    kHoverTick,     // the hover timer fired
    kActivate,      // the window became active or inactive (`active`)
    kReady,         // the window's frame has just been taken over
    kStop,          // the window is going away or gives its frame back
    kMenuRequest,   // the system menu is asked for (a right click on the title, Alt+Space)
    kMenuClick,     // the system menu's own loop got a click
    kMenuClosed,    // the system menu has closed
  };
  Kind kind = kMove;
  // The button under the mouse. For kHoverTick: the hot button while the cursor is still within
  // its place, else any other.
  std::int32_t part = kNoPart;
  std::uint32_t time = 0;             // kDown, kMenuClick: the click's input time
  std::uint32_t doubleClickTime = 0;  // kDown, kMenuClick
  bool active = true;                 // whether the window is active
};

enum class CaptureChange { kKeep, kTake, kRelease };
enum class TimerChange { kKeep, kStart, kStop };

// What the window does about an event, in this order: bring itself forward, change the mouse
// capture and the hover timer, draw buttons again, run a command or open the system menu, close.
// endMenu is the answer to a click the system menu's loop took (kMenuClick).
struct TitleBarDecision {
  bool consumed = false;  // the message ends here instead of going on to the window's own procedure
  bool bringForward = false;
  CaptureChange capture = CaptureChange::kKeep;
  TimerChange hoverTimer = TimerChange::kKeep;
  std::vector<std::int32_t> repaint{};  // the buttons to draw again, in this order
  std::int32_t command = kNoPart;     // the button whose command runs
  bool openMenu = false;              // open the system menu (it is not up already)
  bool endMenu = false;               // close the system menu without a choice
  bool closeWindow = false;
  friend bool operator==(const TitleBarDecision&, const TitleBarDecision&) = default;
};

class TitleBarInput {
 public:
  // A new set of buttons: none hot or pressed, each drawn normal. The hover timer, the last click
  // on the icon and the system menu carry on.
  void SetParts(std::vector<TitleBarPart> parts);
  TitleBarDecision Handle(const TitleBarEvent& event);

  std::int32_t Hot() const { return hot_; }
  std::int32_t Pressed() const { return pressed_; }
  // How a button is drawn: kButtonNormal, kButtonPressed or kButtonHot.
  std::int32_t State(std::int32_t part) const;

 private:
  bool Known(std::int32_t part) const;
  TitleBarDecision Move(const TitleBarEvent& e);
  TitleBarDecision Down(const TitleBarEvent& e);
  TitleBarDecision Up(const TitleBarEvent& e);
  TitleBarDecision HoverTick(const TitleBarEvent& e);
  TitleBarDecision Activate(const TitleBarEvent& e);
  TitleBarDecision MenuClick(const TitleBarEvent& e);
  TitleBarDecision MenuClosed();
  void TrackPressed(std::int32_t part, TitleBarDecision& d);
  void LetPressedGo(TitleBarDecision& d);
  void Enter(std::int32_t part, TitleBarDecision& d);
  void Leave(TitleBarDecision& d);
  void StartHoverTimer(TitleBarDecision& d);
  bool StopHoverTimer(TitleBarDecision& d);  // whether it was running
  void OpenMenu(TitleBarDecision& d);
  void SetState(std::int32_t part, std::int32_t state, TitleBarDecision& d);
  bool IsSecondIconClick(const TitleBarEvent& e) const;

  std::vector<TitleBarPart> parts_;
  std::vector<std::int32_t> states_;
  std::int32_t hot_ = kNoPart;
  std::int32_t pressed_ = kNoPart;
  bool hoverTimer_ = false;
  bool iconClicked_ = false;  // a first click on the icon was seen, at lastIconClick_
  std::uint32_t lastIconClick_ = 0;
  bool menuOpen_ = false;
  bool closeAfterMenu_ = false;  // a second click on the icon came while the menu was up
};

}  // namespace pimblo
