// The system colours the menu look asks for, as X has none: our own table of
// the values a fresh Windows desktop uses, by their GetSysColor indices.
#pragma once

#include "sprites/bitmap.h"

namespace pimblo::x11 {

// The GetSysColor indices the table knows.
enum class SystemColorIndex : int {
  ScrollBar = 0,
  Background = 1,
  ActiveCaption = 2,
  InactiveCaption = 3,
  Menu = 4,
  Window = 5,
  WindowFrame = 6,
  MenuText = 7,
  WindowText = 8,
  CaptionText = 9,
  ActiveBorder = 10,
  InactiveBorder = 11,
  AppWorkspace = 12,
  Highlight = 13,
  HighlightText = 14,
  BtnFace = 15,
  BtnShadow = 16,
  GrayText = 17,
  BtnText = 18,
  InactiveCaptionText = 19,
  BtnHighlight = 20,
  DkShadow3D = 21,
  Light3D = 22,
  InfoText = 23,
  InfoBk = 24,
  HotLight = 26,
  GradientActiveCaption = 27,
  GradientInactiveCaption = 28,
  MenuHighlight = 29,
  MenuBar = 30,
};

// The RGB value (red in the low byte) of a system colour; black for an index
// the table does not know, as GetSysColor answers for those.
ColorRef DefaultSystemColor(int index);

}  // namespace pimblo::x11
