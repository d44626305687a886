// What the program's own skinned windows paint in their client areas with the
// skin: its colours, with the usual system colours where the skin gives none,
// and its push buttons with their text.
#pragma once

#include <string_view>

#include "look/push_button.h"
#include "look/win_skin_data.h"
#include "x11/xft_canvas.h"

namespace pimblo::xapp {

Pixel SkinColour(const TSkinData& skin, TSkinColor which);

// A push button at `place` in the frame of its state, its text centred.
void DrawPushButton(x11::Canvas& canvas, const TSkinData& skin, const x11::XftFontOwner& font, const Rect& place,
                    std::string_view utf8, PushButtonFrame frame);

}  // namespace pimblo::xapp
