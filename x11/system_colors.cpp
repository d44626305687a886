#include "x11/system_colors.h"

#include <array>
#include <utility>

#include "look/menu_colors.h"

namespace pimblo::x11 {

namespace {

using enum SystemColorIndex;

constexpr std::array<std::pair<SystemColorIndex, ColorRef>, 30> kDefaults{{
    {ScrollBar, MakeColor(200, 200, 200)},
    {Background, MakeColor(0, 0, 0)},
    {ActiveCaption, MakeColor(153, 180, 209)},
    {InactiveCaption, MakeColor(191, 205, 219)},
    {Menu, MakeColor(240, 240, 240)},
    {Window, MakeColor(255, 255, 255)},
    {WindowFrame, MakeColor(100, 100, 100)},
    {MenuText, MakeColor(0, 0, 0)},
    {WindowText, MakeColor(0, 0, 0)},
    {CaptionText, MakeColor(0, 0, 0)},
    {ActiveBorder, MakeColor(180, 180, 180)},
    {InactiveBorder, MakeColor(244, 247, 252)},
    {AppWorkspace, MakeColor(171, 171, 171)},
    {Highlight, MakeColor(51, 153, 255)},
    {HighlightText, MakeColor(255, 255, 255)},
    {BtnFace, MakeColor(240, 240, 240)},
    {BtnShadow, MakeColor(160, 160, 160)},
    {GrayText, MakeColor(109, 109, 109)},
    {BtnText, MakeColor(0, 0, 0)},
    {InactiveCaptionText, MakeColor(0, 0, 0)},
    {BtnHighlight, MakeColor(255, 255, 255)},
    {DkShadow3D, MakeColor(105, 105, 105)},
    {Light3D, MakeColor(227, 227, 227)},
    {InfoText, MakeColor(0, 0, 0)},
    {InfoBk, MakeColor(255, 255, 225)},
    {HotLight, MakeColor(0, 102, 204)},
    {GradientActiveCaption, MakeColor(185, 209, 234)},
    {GradientInactiveCaption, MakeColor(215, 228, 242)},
    {MenuHighlight, MakeColor(51, 153, 255)},
    {MenuBar, MakeColor(240, 240, 240)},
}};

}  // namespace

ColorRef DefaultSystemColor(int index) {
  for (const auto& [known, color] : kDefaults)
    if (static_cast<int>(known) == index) return color;
  return 0;
}

}  // namespace pimblo::x11
