// The skin objects: what a skin says about one kind of window part, its picture
// with the margins it is stretched or tiled between, its frame count and its
// colours. Value types owned by the skin component; no platform behind them.
#pragma once

#include <cstdint>
#include <string>

#include "look/menu_colors.h"
#include "sprites/bitmap.h"

namespace pimblo {

// "No colour": a title text colour the skin did not give.
constexpr ColorRef clNone = 0x1FFFFFFF;

struct TDataSkinObject {
  // Pixels of the fixed margins when the picture is stretched or tiled.
  std::int32_t LeftWidth = 0;
  std::int32_t TopHeight = 0;
  std::int32_t RightWidth = 0;
  std::int32_t BottomHeight = 0;
  Bitmap Image;                // empty (0 x 0) when the skin has none
  std::int32_t Trans = 0;      // transparency flag
  std::int32_t Tile = 0;       // 0 stretch, 1 tile
  std::string Name;            // the section's name
  std::int32_t FrameCount = 1;
  std::int32_t Style = 0;
  std::int32_t NormalColour = -1;     // colour indices, -1 when absent
  std::int32_t MouseOverColour = -1;
  std::int32_t PressedColour = -1;
  ColorRef NormalColour2 = 0;         // RGB colours
  ColorRef MouseOverColour2 = 0;
  ColorRef PressedColour2 = 0;

  virtual ~TDataSkinObject() = default;
  TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;
};

struct TDataSkinBorder : TDataSkinObject {
  Bitmap Image2;
};

struct TDataSkinTitle : TDataSkinObject {
  std::int32_t TextAlignment = 0;   // 0 left, 1 centred, 2 right
  std::int32_t TextBackground = 0;  // text background mode
  std::int32_t FontHeight = 14;
  std::int32_t BackLeft = 0;        // TXTBackleft
  std::int32_t BackRight = 0;       // TXTBackRight
  ColorRef ActiveTextColor = clNone;
  ColorRef InactiveTextColor = clNone;
  // Where the text goes in the title area.
  std::int32_t TextShift = 0;
  std::int32_t TextShiftVert = 0;
  std::int32_t TextRightClip = 0;
};

struct TDataSkinButton : TDataSkinObject {
  Bitmap CheckImage;
  Bitmap RadioImage;
  std::int32_t RadioFrameCount = 0;
  std::int32_t CheckFrameCount = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// A title-bar button's Action: what a click on it does. A code not named here is posted to the
// window as it is.
namespace button_action {
constexpr std::int32_t kPicture = -1;  // a picture that does nothing of its own
constexpr std::int32_t kClose = 0;
constexpr std::int32_t kMaximise = 1;  // maximise or restore; shown only with a maximise box
constexpr std::int32_t kMinimise = 2;  // minimise or restore; shown only with a minimise box
constexpr std::int32_t kIcon = 3;      // the window's small icon, opening the system menu
constexpr std::int32_t kChildMinimise = 7;  // the three buttons of a maximised child window
constexpr std::int32_t kChildRestore = 8;
constexpr std::int32_t kChildClose = 9;
constexpr std::int32_t kIcon2 = 11;      // another code for kIcon
constexpr std::int32_t kSystemMenu = 12;  // opens the system menu, drawing its own picture
constexpr std::int32_t kMaximiseAnyBox = 22;  // maximise or restore, with or without a maximise box
constexpr std::int32_t kMinimiseAnyBox = 23;  // minimise or restore, with or without a minimise box
constexpr std::int32_t kChildMinimise2 = 60;  // other codes for the child window's buttons
constexpr std::int32_t kChildRestore2 = 61;
constexpr std::int32_t kChildClose2 = 62;
}  // namespace button_action

// Buttons that draw the window's small icon instead of a picture.
constexpr bool IsIconAction(std::int32_t action) {
  return action == button_action::kIcon || action == button_action::kIcon2;
}

// A title-bar button's Align: where it goes. A code not named here places it as kLeft does.
namespace button_align {
constexpr std::int32_t kLeft = 0;         // at (XCoord, YCoord) from the window's top-left corner
constexpr std::int32_t kRight = 1;        // XCoord from the window's right edge
constexpr std::int32_t kBeforeText = 2;   // XCoord left of the title text
constexpr std::int32_t kAfterText = 3;    // XCoord right of the title text
constexpr std::int32_t kBeforeText2 = 8;  // another code for kBeforeText
constexpr std::int32_t kAfterText2 = 9;   // another code for kAfterText
constexpr std::int32_t kMenuBar = 100;    // in the menu bar, XCoord from its far end (a child window's buttons)
}  // namespace button_align

// A title-bar button's Visibility and Visibility1: when it shows. A code not named here hides it.
namespace button_visibility {
constexpr std::int32_t kHidden = -1;  // what a picture-only button's Visibility1 is when the skin gives none
constexpr std::int32_t kAlways = 0;   // as Visibility, a close button shows only with a system menu
constexpr std::int32_t kMaximised = 1;
constexpr std::int32_t kNotMaximised = 2;
constexpr std::int32_t kActive = 3;
constexpr std::int32_t kInactive = 4;
constexpr std::int32_t kMaxBox = 6;    // as Visibility, a system menu is wanted too
constexpr std::int32_t kNoMaxBox = 7;
constexpr std::int32_t kMinBox = 8;    // as Visibility, a system menu is wanted too
constexpr std::int32_t kNoMinBox = 9;
constexpr std::int32_t kMenuBar = 100;  // as Visibility, the window has a menu bar; as Visibility1, Visibility decides
constexpr std::int32_t kShownFirst = 200;  // every code from here to kShownLast shows the button
constexpr std::int32_t kShownLast = 2000;
}  // namespace button_visibility

struct TDataSkinSysButton : TDataSkinObject {
  std::int32_t Action = button_action::kClose;
  std::int32_t Align = button_align::kLeft;
  std::int32_t XCoord = 0;
  std::int32_t YCoord = 0;
  std::int32_t CombineOp = -1;
  std::int32_t Visibility = button_visibility::kAlways;
  std::int32_t Visibility1 = button_visibility::kAlways;
};

struct TDataSkinBoxLabel : TDataSkinObject {
  std::int32_t BackgroundLeftShift = 0;
  std::int32_t BackgroundRightShift = 0;
  std::int32_t BackgroundAlignment = 0;
};

}  // namespace pimblo
