#include "look/push_button.h"

#include <algorithm>

#include "look/skin_layout.h"

namespace pimblo {

namespace {
constexpr std::int32_t kFrameCount = 5;

Pixel Darker(Pixel p) {
  return MakePixel(static_cast<std::uint8_t>(RedOf(p) * 2 / 3), static_cast<std::uint8_t>(GreenOf(p) * 2 / 3),
                   static_cast<std::uint8_t>(BlueOf(p) * 2 / 3));
}
}  // namespace

Bitmap PaintPushButton(const TDataSkinButton& look, std::int32_t width, std::int32_t height, PushButtonFrame frame,
                       Pixel face) {
  Bitmap out(std::max(width, 0), std::max(height, 0), face);
  if (out.width == 0 || out.height == 0) return out;
  const std::int32_t frames = look.FrameCount > 0 ? look.FrameCount : kFrameCount;
  if (look.Image.width >= frames && look.Image.height > 0) {
    const Rect source = BorderFrameRect(look.Image, frames, static_cast<std::int32_t>(frame), true);
    DrawNineSlice(out, {0, 0, out.width, out.height}, look.Image, source, look.LeftWidth, look.TopHeight,
                  look.RightWidth, look.BottomHeight, look.Tile != 0);
    return out;
  }
  const Pixel edge = Darker(face);
  for (std::int32_t x = 0; x < out.width; ++x) out.At(x, 0) = out.At(x, out.height - 1) = edge;
  for (std::int32_t y = 0; y < out.height; ++y) out.At(0, y) = out.At(out.width - 1, y) = edge;
  return out;
}

ColorRef PushButtonTextColour(const TDataSkinButton& look, PushButtonFrame frame, ColorRef fallback) {
  switch (frame) {
    case PushButtonFrame::kHot: return look.HasMouseOverColour2 ? look.MouseOverColour2 : fallback;
    case PushButtonFrame::kPressed: return look.HasPressedColour2 ? look.PressedColour2 : fallback;
    default: return look.HasNormalColour2 ? look.NormalColour2 : fallback;
  }
}

bool PushButtonInput::Move(std::int32_t x, std::int32_t y) {
  const bool hot = place_.Contains(x, y);
  if (hot == hot_) return false;
  hot_ = hot;
  return true;
}

bool PushButtonInput::Down(std::int32_t x, std::int32_t y) {
  Move(x, y);
  if (!hot_) return false;
  pressed_ = true;
  return true;
}

bool PushButtonInput::Up(std::int32_t x, std::int32_t y, bool& changed) {
  changed = Move(x, y);
  if (!pressed_) return false;
  pressed_ = false;
  changed = true;
  return hot_;
}

bool PushButtonInput::Leave() {
  if (!hot_ || pressed_) return false;  // a held button keeps its look until it is let go
  hot_ = false;
  return true;
}

PushButtonFrame PushButtonInput::Frame() const {
  if (!hot_) return PushButtonFrame::kNormal;
  return pressed_ ? PushButtonFrame::kPressed : PushButtonFrame::kHot;
}

}  // namespace pimblo
