// The skin's push button: the frame its picture gives each state, and the mouse's
// way with it (hot, pressed while held on it, a click only when let go on it).
#include <gtest/gtest.h>

#include "look/push_button.h"

namespace pimblo::test {
namespace {

// A five-frame picture 10 x 4 a frame, frame n filled with the grey n * 40, its corner pixel red.
TDataSkinButton FiveFrames() {
  TDataSkinButton look;
  look.Image = Bitmap(50, 4);
  for (std::int32_t f = 0; f < 5; ++f)
    for (std::int32_t y = 0; y < 4; ++y)
      for (std::int32_t x = 0; x < 10; ++x) {
        const auto grey = static_cast<std::uint8_t>((f + 1) * 40);
        look.Image.At(f * 10 + x, y) = x == 0 && y == 0 ? MakePixel(255, 0, 0) : MakePixel(grey, grey, grey);
      }
  look.FrameCount = 5;
  look.LeftWidth = look.TopHeight = look.RightWidth = look.BottomHeight = 1;
  return look;
}

TEST(PushButton, EachStateShowsItsFrameStretchedBetweenTheMargins) {
  const TDataSkinButton look = FiveFrames();
  for (auto frame : {PushButtonFrame::kNormal, PushButtonFrame::kHot, PushButtonFrame::kPressed,
                     PushButtonFrame::kDisabled, PushButtonFrame::kFocused}) {
    const Bitmap face = PaintPushButton(look, 30, 9, frame, 0);
    const auto grey = static_cast<std::uint8_t>(static_cast<int>(frame) * 40);
    EXPECT_EQ(face.At(0, 0), MakePixel(255, 0, 0)) << static_cast<int>(frame);  // the corner is copied
    EXPECT_EQ(face.At(15, 4), MakePixel(grey, grey, grey)) << static_cast<int>(frame);
  }
}

TEST(PushButton, WithoutAPictureItIsAPlainFace) {
  const Bitmap face = PaintPushButton(TDataSkinButton(), 6, 4, PushButtonFrame::kHot, MakePixel(240, 240, 240));
  EXPECT_EQ(face.At(3, 2), MakePixel(240, 240, 240));
  EXPECT_NE(face.At(0, 0), face.At(3, 2));
}

TEST(PushButton, TheMouseMakesItHotPressedAndClicked) {
  struct Step {
    const char* what;
    char action;  // m move, d down, u up, l leave
    std::int32_t x, y;
    PushButtonFrame after;
    bool clicked;
  };
  const Step steps[] = {
      {"over it", 'm', 5, 5, PushButtonFrame::kHot, false},
      {"pressed on it", 'd', 5, 5, PushButtonFrame::kPressed, false},
      {"held off it", 'm', 50, 5, PushButtonFrame::kNormal, false},
      {"the window left while held", 'l', 0, 0, PushButtonFrame::kNormal, false},
      {"let go off it", 'u', 50, 5, PushButtonFrame::kNormal, false},
      {"pressed beside it", 'd', 50, 5, PushButtonFrame::kNormal, false},
      {"let go on it", 'u', 5, 5, PushButtonFrame::kHot, false},
      {"pressed again", 'd', 6, 6, PushButtonFrame::kPressed, false},
      {"let go on it", 'u', 6, 6, PushButtonFrame::kHot, true},
      {"the window left", 'l', 0, 0, PushButtonFrame::kNormal, false},
  };
  PushButtonInput button({0, 0, 20, 10});
  for (const Step& s : steps) {
    bool clicked = false, changed = false;
    switch (s.action) {
      case 'm': button.Move(s.x, s.y); break;
      case 'd': button.Down(s.x, s.y); break;
      case 'u': clicked = button.Up(s.x, s.y, changed); break;
      default: button.Leave(); break;
    }
    EXPECT_EQ(button.Frame(), s.after) << s.what;
    EXPECT_EQ(clicked, s.clicked) << s.what;
  }
}

}  // namespace
}  // namespace pimblo::test
