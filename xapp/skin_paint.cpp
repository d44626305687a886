#include "xapp/skin_paint.h"

#include "look/menu_colors.h"

namespace pimblo::xapp {

namespace {
// The colours of a light desktop, for a skin that leaves a colour to the system.
Pixel SystemColour(TSkinColor which) {
  switch (which) {
    case scButtonFace: case scMenubar: return MakePixel(240, 240, 240);
    case scButtonHilight: case scMenu: case scHilightText: return MakePixel(255, 255, 255);
    case scButtonShadow: return MakePixel(160, 160, 160);
    case scHilight: return MakePixel(0, 120, 215);
    default: return MakePixel(0, 0, 0);
  }
}
}  // namespace

Pixel SkinColour(const TSkinData& skin, TSkinColor which) {
  const ColorRef c = skin.Colors[which];
  if (c == clNone || (c & kSystemColorFlag)) return SystemColour(which);
  return PixelFromColorRef(c);
}

void DrawPushButton(x11::Canvas& canvas, const TSkinData& skin, const x11::XftFontOwner& font, const Rect& place,
                    std::string_view utf8, PushButtonFrame frame) {
  const Bitmap face =
      PaintPushButton(skin.Buttons, place.Width(), place.Height(), frame, SkinColour(skin, scButtonFace));
  canvas.Put(face, place.left, place.top);
  const ColorRef text = PushButtonTextColour(skin.Buttons, frame, skin.Colors[scButtonText]);
  const Pixel colour =
      (text == clNone || (text & kSystemColorFlag)) ? SystemColour(scButtonText) : PixelFromColorRef(text);
  const x11::TextExtent extent = x11::MeasureText(canvas.GetDisplay(), font, utf8);
  const std::int32_t shift = frame == PushButtonFrame::kPressed ? 1 : 0;  // a pressed face's text sinks a pixel
  canvas.Text(font, place.left + (place.Width() - extent.width) / 2 + shift,
              place.top + (place.Height() - extent.height) / 2 + shift, utf8, colour, place);
}

}  // namespace pimblo::xapp
