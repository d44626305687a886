// What the menu canvas draws on a real X server: the shapes where the look
// expects them (outlines inside the rectangle, lines without their end point),
// pictures without their transparent colour, text cut to its rectangle and the
// accelerator underlined.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "look/menu_colors.h"
#include "x11/scoped_x.h"
#include "x11/x_menu_canvas.h"
#include "tests/x11/test_display.h"

namespace pimblo::x11 {
namespace {

constexpr int kSide = 24;
constexpr ColorRef kWhite = MakeColor(255, 255, 255);
constexpr ColorRef kPen = MakeColor(0, 0, 0);
constexpr ColorRef kBrush = MakeColor(0, 0, 255);

class CanvasCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TestDisplay()) << "no X display";
    Display* d = TestDisplay();
    const int screen = DefaultScreen(d);
    picture_ = ScopedPixmap(d, XCreatePixmap(d, DefaultRootWindow(d), kSide, kSide,
                                             static_cast<unsigned>(DefaultDepth(d, screen))));
    canvas_ = std::make_unique<XMenuCanvas>(d, picture_.Get(), kSide, kSide, DefaultVisual(d, screen),
                                            DefaultColormap(d, screen), DefaultDepth(d, screen));
    canvas_->FillRect({0, 0, kSide, kSide}, kWhite);
  }
  void TearDown() override { canvas_.reset(); }

  // The picture as RGB values, row by row.
  std::vector<ColorRef> Read() {
    Display* d = TestDisplay();
    XImage* image = XGetImage(d, picture_.Get(), 0, 0, kSide, kSide, AllPlanes, ZPixmap);
    std::vector<ColorRef> out;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) out.push_back(ColorRefFromPixel(static_cast<Pixel>(XGetPixel(image, x, y))));
    XDestroyImage(image);
    return out;
  }
  static ColorRef At(const std::vector<ColorRef>& p, int x, int y) { return p[static_cast<std::size_t>(y * kSide + x)]; }

  ScopedPixmap picture_;
  std::unique_ptr<XMenuCanvas> canvas_;
};

struct Expect {
  int x, y;
  ColorRef color;
};

TEST_F(CanvasCheck, ShapesLieWhereTheLookExpectsThem) {
  canvas_->FrameRect({2, 2, 8, 6}, kPen);
  canvas_->Rectangle({10, 2, 16, 8}, kPen, kBrush);
  canvas_->Line(0, 10, 5, 10, kPen);
  canvas_->Line(20, 0, 20, 5, kPen);
  canvas_->Ellipse({0, 14, 7, 21}, kPen, kBrush);
  canvas_->RoundRect({14, 12, 22, 20}, 6, kPen, kBrush);
  canvas_->SetPixel(22, 22, kPen);
  Bitmap picture(3, 1, kRedPixel);
  picture.At(1, 0) = MakePixel(0, 255, 0);
  canvas_->DrawBitmap(10, 12, picture, kRedPixel);
  const auto p = Read();
  const Expect expected[] = {
      {2, 2, kPen},   {7, 2, kPen},    {2, 5, kPen},   {7, 5, kPen},   {8, 2, kWhite}, {2, 6, kWhite}, {4, 4, kWhite},
      {10, 2, kPen},  {15, 7, kPen},   {16, 7, kWhite}, {15, 8, kWhite}, {12, 4, kBrush},
      {0, 10, kPen},  {4, 10, kPen},   {5, 10, kWhite},  // a line leaves out its end point
      {20, 4, kPen},  {20, 5, kWhite},
      {3, 17, kBrush}, {0, 17, kPen},  {6, 17, kPen},   {3, 20, kPen},  {7, 17, kWhite}, {3, 21, kWhite},
      {0, 14, kWhite},  // the corner is outside the ellipse
      {18, 12, kPen},  {14, 16, kPen}, {21, 16, kPen}, {18, 19, kPen}, {18, 16, kBrush},
      {14, 12, kWhite}, {21, 19, kWhite}, {22, 16, kWhite}, {18, 20, kWhite},  // round corners, inside the rectangle
      {22, 22, kPen},
      {10, 12, kWhite}, {11, 12, MakeColor(0, 255, 0)}, {12, 12, kWhite},  // the transparent colour left out
  };
  for (const Expect& e : expected) EXPECT_EQ(At(p, e.x, e.y), e.color) << "at " << e.x << "," << e.y;
}

int InkIn(const std::vector<ColorRef>& p, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) n += p[static_cast<std::size_t>(y * kSide + x)] != kWhite;
  return n;
}

TEST_F(CanvasCheck, TextIsCutToItsRectangle) {
  canvas_->OutText(0, 0, L"WWW", kPen, {0, 0, 6, kSide}, {});
  const auto p = Read();
  EXPECT_GT(InkIn(p, 0, 0, 6, kSide), 0);
  EXPECT_EQ(InkIn(p, 6, 0, kSide, kSide), 0);
}

TEST_F(CanvasCheck, TheAcceleratorIsUnderlinedBelowTheBaseline) {
  const int below = canvas_->Font()->ascent + 1;
  const int wide = canvas_->TextExtent(L"x").cx;
  canvas_->OutText(0, 0, L"xx", kPen, {0, 0, kSide, kSide}, {1, false});
  const auto p = Read();
  EXPECT_EQ(InkIn(p, 0, below, wide, below + 1), 0) << "the first is not underlined";
  EXPECT_EQ(InkIn(p, wide, below, 2 * wide, below + 1), wide) << "the second is";
}

}  // namespace
}  // namespace pimblo::x11
