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

struct TDataSkinSysButton : TDataSkinObject {
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t XCoord = 0;
  std::int32_t YCoord = 0;
  std::int32_t CombineOp = -1;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

struct TDataSkinBoxLabel : TDataSkinObject {
  std::int32_t BackgroundLeftShift = 0;
  std::int32_t BackgroundRightShift = 0;
  std::int32_t BackgroundAlignment = 0;
};

}  // namespace pimblo
