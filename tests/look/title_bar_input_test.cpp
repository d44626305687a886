// The title bar's input: sequences of mouse, timer and menu events and the
// decisions the skinned window acts on.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "look/title_bar_input.h"

namespace pimblo {

void PrintTo(const TitleBarDecision& d, std::ostream* os) {
  *os << "{consumed " << d.consumed << ", forward " << d.bringForward << ", capture "
      << static_cast<int>(d.capture) << ", timer " << static_cast<int>(d.hoverTimer) << ", repaint";
  for (std::int32_t part : d.repaint) *os << ' ' << part;
  *os << ", command " << d.command << ", open " << d.openMenu << ", end " << d.endMenu << ", close "
      << d.closeWindow << '}';
}

namespace {

// The buttons: a close button, the window icon and a minimise button.
constexpr std::int32_t kClose = 0, kIcon = 1, kMin = 2;
constexpr std::uint32_t kDoubleClick = 500;

using E = TitleBarEvent;
E Move(std::int32_t part, bool active = true) { return {.kind = E::kMove, .part = part, .active = active}; }
E Down(std::int32_t part, std::uint32_t time = 0, bool active = true) {
  return {.kind = E::kDown, .part = part, .time = time, .doubleClickTime = kDoubleClick, .active = active};
}
E CapturedMove(std::int32_t part) { return {.kind = E::kCapturedMove, .part = part}; }
E Up(std::int32_t part) { return {.kind = E::kUp, .part = part}; }
E Tick(std::int32_t part) { return {.kind = E::kHoverTick, .part = part}; }
E Activate(bool active) { return {.kind = E::kActivate, .active = active}; }
E Ready(bool active) { return {.kind = E::kReady, .active = active}; }
E MenuClick(std::int32_t part, std::uint32_t time) {
  return {.kind = E::kMenuClick, .part = part, .time = time, .doubleClickTime = kDoubleClick};
}
const E kCaptureLost{.kind = E::kCaptureLost};
const E kStop{.kind = E::kStop};
const E kMenuRequest{.kind = E::kMenuRequest};
const E kMenuClosed{.kind = E::kMenuClosed};

using D = TitleBarDecision;
constexpr auto kTake = CaptureChange::kTake, kRelease = CaptureChange::kRelease;
constexpr auto kStart = TimerChange::kStart, kStopTimer = TimerChange::kStop;
const D kNothing{};
const D kPress{.consumed = true, .capture = kTake, .repaint = {kIcon}};  // a press on the icon

constexpr std::int32_t N = kButtonNormal, P = kButtonPressed, H = kButtonHot;

struct Step {
  E event;
  D decision;
};
struct Case {
  const char* behaviour;
  std::vector<Step> steps;
  std::int32_t hot = kNoPart, pressed = kNoPart;
  std::array<std::int32_t, 3> states{N, N, N};
};

TitleBarInput Fresh() {
  TitleBarInput input;
  input.SetParts({{}, {.icon = true, .opensMenu = true}, {}});
  return input;
}

TEST(TitleBarInput, EventSequences) {
  const Case cases[] = {
      {"the mouse over a button makes it hot", {{Move(kClose), {.repaint = {kClose}}}}, kClose, kNoPart, {H, N, N}},
      {"on to another button, the first is left",
       {{Move(kClose), {.repaint = {kClose}}}, {Move(kMin), {.repaint = {kClose, kMin}}}}, kMin, kNoPart, {N, N, H}},
      {"moving within the hot button draws nothing", {{Move(kClose), {.repaint = {kClose}}}, {Move(kClose), kNothing}},
       kClose, kNoPart, {H, N, N}},
      {"off the buttons the hot one is left",
       {{Move(kClose), {.repaint = {kClose}}}, {Move(kNoPart), {.repaint = {kClose}}}}},
      {"an inactive window shows no hot button", {{Move(kClose, false), kNothing}}},
      {"a part no button has is no button", {{Move(7), kNothing}, {Down(7), kNothing}}},
      {"a press takes the mouse", {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}}}, kClose,
       kClose, {P, N, N}},
      {"a press on an inactive window brings it forward",
       {{Down(kClose, 0, false), {.consumed = true, .bringForward = true, .capture = kTake, .repaint = {kClose}}}},
       kClose, kClose, {P, N, N}},
      {"a press beside the buttons goes on to the window", {{Down(kNoPart), kNothing}}},
      {"released on the pressed button, its command runs",
       {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}},
        {Up(kClose), {.consumed = true, .capture = kRelease, .repaint = {kClose}, .command = kClose}}},
       kClose, kNoPart, {H, N, N}},
      {"released elsewhere, nothing runs",
       {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}},
        {Up(kMin), {.consumed = true, .capture = kRelease, .repaint = {kClose}}}}},
      {"a pressed button shows pressed only while the mouse is on it",
       {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}},
        {CapturedMove(kMin), {.consumed = true, .repaint = {kClose}}},
        {CapturedMove(kNoPart), {.consumed = true}},
        {CapturedMove(kClose), {.consumed = true, .repaint = {kClose}}}},
       kClose, kClose, {P, N, N}},
      {"over the frame, a pressed button makes no other hot",
       {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}}, {Move(kMin), {.repaint = {kClose}}}},
       kClose, kClose, {N, N, N}},
      {"without a pressed button the held mouse is the window's", {{CapturedMove(kClose), kNothing}, {Up(kClose), kNothing}}},
      {"losing the mouse lets the pressed button go",
       {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}}, {kCaptureLost, {.repaint = {kClose}}},
        {kCaptureLost, kNothing}}},
      {"the hover timer leaves a button the cursor left",
       {{Move(kClose), {.repaint = {kClose}}}, {Tick(kNoPart), {.consumed = true, .repaint = {kClose}}}}},
      {"the hover timer keeps the button under the cursor",
       {{Move(kClose), {.repaint = {kClose}}}, {Tick(kClose), {.consumed = true}}}, kClose, kNoPart, {H, N, N}},
      {"the hover timer leaves a pressed button alone",
       {{Down(kClose), {.consumed = true, .capture = kTake, .repaint = {kClose}}}, {Tick(kNoPart), {.consumed = true}}},
       kClose, kClose, {P, N, N}},
      {"activating starts the hover timer once", {{Activate(true), {.hoverTimer = kStart}}, {Activate(true), kNothing}}},
      {"deactivating stops it and leaves the hot button",
       {{Activate(true), {.hoverTimer = kStart}},
        {Move(kClose), {.repaint = {kClose}}},
        {Activate(false), {.hoverTimer = kStopTimer, .repaint = {kClose}}}}},
      {"deactivating without the timer keeps the hot button",
       {{Move(kClose), {.repaint = {kClose}}}, {Activate(false), kNothing}}, kClose, kNoPart, {H, N, N}},
      {"a frame taken over starts the timer when active",
       {{Ready(false), kNothing}, {Ready(true), {.hoverTimer = kStart}}, {Ready(true), kNothing}}},
      {"stopping stops a running timer", {{kStop, kNothing}, {Ready(true), {.hoverTimer = kStart}}, {kStop, {.hoverTimer = kStopTimer}}}},
      {"a click on the icon opens the system menu",
       {{Down(kIcon, 1000), kPress}, {Up(kIcon), {.consumed = true, .capture = kRelease, .repaint = {kIcon}, .openMenu = true}}},
       kIcon, kNoPart, {N, H, N}},
      {"a second click on the icon in time closes the window, and starts over",
       {{Down(kIcon, 1000), kPress},
        {Up(kNoPart), {.consumed = true, .capture = kRelease, .repaint = {kIcon}}},
        {Down(kIcon, 1500), {.consumed = true, .closeWindow = true}},
        {Down(kIcon, 1600), kPress}},
       kIcon, kIcon, {N, P, N}},
      {"a second click too late is a first one",
       {{Down(kIcon, 1000), kPress},
        {Up(kNoPart), {.consumed = true, .capture = kRelease, .repaint = {kIcon}}},
        {Down(kIcon, 1501), kPress},
        {Up(kNoPart), {.consumed = true, .capture = kRelease, .repaint = {kIcon}}},
        {Down(kIcon, 2000), {.consumed = true, .closeWindow = true}}}},
      {"clicks on other buttons are no first click on the icon",
       {{Down(kClose, 1000), {.consumed = true, .capture = kTake, .repaint = {kClose}}},
        {Up(kClose), {.consumed = true, .capture = kRelease, .repaint = {kClose}, .command = kClose}},
        {Down(kIcon, 1100), {.consumed = true, .capture = kTake, .repaint = {kIcon}}}},
       kIcon, kIcon, {H, P, N}},
      {"the second click while the menu is up ends the menu, then closes the window",
       {{Down(kIcon, 1000), kPress},
        {Up(kIcon), {.consumed = true, .capture = kRelease, .repaint = {kIcon}, .openMenu = true}},
        {MenuClick(kIcon, 1400), {.consumed = true, .endMenu = true}},
        {kMenuClosed, {.closeWindow = true}},
        {Down(kIcon, 1450), kPress}},
       kIcon, kIcon, {N, P, N}},
      {"in the menu, a late click on the icon or one elsewhere is the menu's",
       {{Down(kIcon, 1000), kPress},
        {Up(kIcon), {.consumed = true, .capture = kRelease, .repaint = {kIcon}, .openMenu = true}},
        {MenuClick(kClose, 1100), kNothing},
        {MenuClick(kNoPart, 1200), kNothing},
        {MenuClick(kIcon, 1501), kNothing},
        {kMenuClosed, kNothing}},
       kIcon, kNoPart, {N, H, N}},
      {"the menu opens once at a time",
       {{kMenuRequest, {.consumed = true, .openMenu = true}},
        {kMenuRequest, {.consumed = true}},
        {kMenuClosed, kNothing},
        {kMenuRequest, {.consumed = true, .openMenu = true}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    TitleBarInput input = Fresh();
    for (std::size_t i = 0; i < c.steps.size(); ++i) EXPECT_EQ(input.Handle(c.steps[i].event), c.steps[i].decision) << "step " << i;
    EXPECT_EQ(input.Hot(), c.hot);
    EXPECT_EQ(input.Pressed(), c.pressed);
    EXPECT_EQ((std::array{input.State(kClose), input.State(kIcon), input.State(kMin)}), c.states);
  }
}

TEST(TitleBarInput, ANewSetOfButtonsStartsUnpressed) {
  TitleBarInput input = Fresh();
  input.Handle(Move(kMin));
  input.Handle(Down(kClose));
  input.SetParts({{}, {}});
  EXPECT_EQ(input.Hot(), kNoPart);
  EXPECT_EQ(input.Pressed(), kNoPart);
  EXPECT_EQ((std::array{input.State(0), input.State(1)}), (std::array{N, N}));
  EXPECT_EQ(input.Handle(Up(kClose)), kNothing) << "the press went with the old buttons";
  EXPECT_EQ(input.Handle(Move(kMin)), kNothing) << "a part of the old layout is no button";
}

TEST(TitleBarInput, TheButtonsOfASkin) {
  TSkinData skin;
  for (std::int32_t action : {button_action::kClose, button_action::kIcon, button_action::kSystemMenu,
                              button_action::kIcon2, button_action::kChildClose}) {
    skin.SysButtons.emplace_back();
    skin.SysButtons.back().Action = action;
  }
  const std::vector<TitleBarPart> parts = TitleBarParts(skin);
  ASSERT_EQ(parts.size(), 5u);
  const std::array<std::array<bool, 2>, 5> expected{{{false, false}, {true, true}, {false, true}, {true, true}, {false, false}}};
  for (std::size_t i = 0; i < parts.size(); ++i)
    EXPECT_EQ((std::array{parts[i].icon, parts[i].opensMenu}), expected[i]) << i;
}

TEST(TitleBarInput, SecondClickOnTheIcon) {
  EXPECT_TRUE(IsSecondClick(true, 1000, 1500, 500));
  EXPECT_FALSE(IsSecondClick(true, 1000, 1501, 500));
  EXPECT_FALSE(IsSecondClick(false, 1000, 1100, 500)) << "no first click";
  EXPECT_TRUE(IsSecondClick(true, 0xFFFFFF00u, 0x40u, 500)) << "across the clock's wrap";
}

}  // namespace
}  // namespace pimblo
