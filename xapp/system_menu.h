// The skinned windows' replacement system menu (a right click on the title, a
// click on the title's icon): the skin's items for the window's boxes and state,
// with their glyphs and shortcuts in the skin's menu colours, as a popup menu in
// the system's plain frame; the item chosen acts on the window.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>

#include "x11/skinned_window.h"

namespace pimblo::xapp {

// Shows the menu with its corner at the screen point, its items in the window's
// skin, until an item is chosen or it is closed; meanwhile `tick` runs every 10 ms
// and the events of other windows go to `other`.
void RunSystemMenu(Display* display, x11::SkinnedWindow& window, const TSkinData& skin, std::int32_t x, std::int32_t y,
                   const std::function<void()>& tick, const std::function<void(XEvent&)>& other);

}  // namespace pimblo::xapp
