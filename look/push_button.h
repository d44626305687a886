// A push button as the skin draws it: the frame of the skin's button picture for
// its state, stretched between the picture's margins, the colour of its text,
// and the mouse's effect on it (hot under the mouse, pressed while held, a click
// when let go on it). Platform-free; the window that shows the button paints the
// bitmap and the text and feeds it the mouse.
#pragma once

#include <cstdint>

#include "look/skin_objects.h"
#include "sprites/rect.h"

namespace pimblo {

// The skin's button picture holds these frames side by side, in this order.
enum class PushButtonFrame : std::int32_t { kNormal = 1, kHot = 2, kPressed = 3, kDisabled = 4, kFocused = 5 };

// The button's face, width x height, in the given frame; a plain face of `face` with a one-pixel
// darker edge when the skin has no button picture.
Bitmap PaintPushButton(const TDataSkinButton& look, std::int32_t width, std::int32_t height, PushButtonFrame frame,
                       Pixel face);

// The text colour of a frame: the skin's RGB colours where it gives them, else `fallback`.
ColorRef PushButtonTextColour(const TDataSkinButton& look, PushButtonFrame frame, ColorRef fallback);

// The mouse on one button.
class PushButtonInput {
 public:
  explicit PushButtonInput(Rect place) : place_(place) {}
  const Rect& Place() const { return place_; }
  // Each returns whether the button's look changed.
  bool Move(std::int32_t x, std::int32_t y);
  bool Down(std::int32_t x, std::int32_t y);
  // Whether the release clicked the button (pressed on it and let go on it); `changed` tells
  // whether its look changed.
  bool Up(std::int32_t x, std::int32_t y, bool& changed);
  bool Leave();
  PushButtonFrame Frame() const;

 private:
  Rect place_;
  bool hot_ = false;
  bool pressed_ = false;
};

}  // namespace pimblo
