// The GDI canvas and the glue to TPopupMenu, drawing into a 32-bit DIB section
// in a memory context (no window, no display needed). Windows only.
#ifdef _WIN32

#include "look/menu_colors.h"
#include "win32/dib.h"
#include "win32/gdi_canvas.h"
#include "win32/xp_menu_glue.h"

#include <gtest/gtest.h>

namespace pimblo {
namespace {

// A 32-bit top-down DIB section selected into a memory context.
class Surface {
 public:
  Surface(int width, int height)
      : dib_(width, height), dc_(CreateCompatibleDC(nullptr)), select_(dc_.Get(), dib_.Handle()) {}

  HDC Dc() const { return dc_.Get(); }
  ColorRef At(int x, int y) const {
    GdiFlush();
    return ColorRefFromPixel(dib_.Pixels()[y * dib_.Width() + x] & 0xFFFFFF);
  }

 private:
  ui::TDib dib_;
  win::ScopedMemoryDc dc_;
  win::ScopedSelect select_;
};

constexpr ColorRef kRed = MakeColor(255, 0, 0), kBlue = MakeColor(0, 0, 255), kWhite = MakeColor(255, 255, 255);

TEST(Win32Canvas, ShapesLandOnTheAgreedPixels) {
  Surface surface(64, 32);
  {
    Win32Canvas canvas(surface.Dc());
    EXPECT_EQ(canvas.BitsPerPixel(), 32);
    canvas.FillRect({0, 0, 64, 32}, kWhite);
    canvas.FrameRect({2, 2, 10, 10}, kRed);
    canvas.Line(0, 20, 10, 20, kBlue);
    canvas.SetPixel(30, 5, kBlue);
    Bitmap glyph(4, 4, PixelFromColorRef(kRed));
    glyph.At(1, 1) = PixelFromColorRef(kBlue);
    canvas.DrawBitmap(40, 0, glyph, PixelFromColorRef(kRed));
  }
  const struct {
    int x, y;
    ColorRef color;
  } expected[] = {
      {2, 2, kRed},   {9, 9, kRed},   {5, 5, kWhite},  {10, 10, kWhite},  // outline inside the rectangle
      {0, 20, kBlue}, {9, 20, kBlue}, {10, 20, kWhite},                   // the end point left out
      {30, 5, kBlue}, {41, 1, kBlue}, {40, 0, kWhite},                    // transparent pixels left out
  };
  for (const auto& e : expected) EXPECT_EQ(surface.At(e.x, e.y), e.color) << e.x << "," << e.y;
}

TEST(Win32Canvas, TextInTheMenuFont) {
  Surface surface(100, 20);
  Win32Canvas canvas(surface.Dc());
  MenuFont font;
  ASSERT_TRUE(canvas.SystemMenuFont(font));
  EXPECT_FALSE(font.Name.empty());
  canvas.SetFont(font);
  const MenuSize w = canvas.TextExtent(L"W"), ww = canvas.TextExtent(L"WW");
  EXPECT_GT(w.cx, 0);
  EXPECT_EQ(ww.cx, 2 * w.cx);
  EXPECT_GT(w.cy, 0);
  canvas.FillRect({0, 0, 100, 20}, kWhite);
  canvas.OutText(0, 0, L"W", kBlue, {0, 0, 100, 20}, {-1, false});
  canvas.OutText(50, 0, L"W", kBlue, {0, 0, 100, 20}, {0, false});
  canvas.OutText(80, 0, L"W", kBlue, {0, 0, 85, 20}, {-1, false});  // cut at x = 85
  const auto ink = [&](int left, int right) {
    int n = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = left; x < right; ++x) n += surface.At(x, y) != kWhite;
    return n;
  };
  EXPECT_GT(ink(0, 20), 0);
  EXPECT_GT(ink(50, 70), ink(0, 20));  // the underline
  EXPECT_EQ(ink(85, 100), 0);
}

TEST(AttachXPMenu, MirrorsTheItemsAndLeavesTheRestToPlainDrawing) {
  ui::TPopupMenu menu(nullptr);
  ui::TMenuItem* go = menu.Add(L"Go");
  Bitmap glyph(24, 24, PixelFromColorRef(kRed));
  for (int x = 0; x < 24; ++x) glyph.At(x, 0) = PixelFromColorRef(kBlue);  // the top row, to see it stays on top
  go->Bitmap.Reset(CreateBitmap(24, 24, 1, 32, glyph.pixels.data()));
  Win32MenuOwner owner;
  TXPMenu xp(owner);
  SetMainFormProperties(xp);
  int plain = 0;
  AttachXPMenu(
      menu, xp, [&](ui::TMenuItem&, HDC, int&, int&) { ++plain; },
      [&](ui::TMenuItem&, HDC, const RECT&, bool) { ++plain; });
  ASSERT_EQ(owner.MenuCount(), 1);
  MenuEntry& mirrored = owner.Menus(0).Items().Items(0);
  EXPECT_EQ(mirrored.Caption, L"Go");
  EXPECT_EQ(mirrored.Glyph, glyph);
  EXPECT_EQ(BitmapFromHandle(nullptr).width, 0);

  Surface surface(120, 40);
  int w = 0, h = 0;
  menu.OnMeasureItem(*go, surface.Dc(), w, h);
  EXPECT_EQ(h, 28);
  menu.OnDrawItem(*go, surface.Dc(), {0, 0, 120, 28}, true);
  EXPECT_EQ(plain, 0);
  Win32Canvas probe(surface.Dc());
  EXPECT_EQ(surface.At(110, 10), LightenColor(probe, clHighlight, 68));  // the selection fill
  EXPECT_EQ(surface.At(110, 1), ColorToRGB(probe, clHighlight));       // its outline

  ui::TMenuItem* later = menu.Add(L"Later");  // hooked when first seen: AutoDetect
  later->Enabled = false;
  menu.OnMeasureItem(*later, surface.Dc(), w, h);
  EXPECT_EQ(plain, 0);
  EXPECT_FALSE(owner.Menus(0).Items().Items(1).Enabled);

  xp.SetActive(false);
  menu.OnDrawItem(*go, surface.Dc(), {0, 0, 120, 28}, false);
  EXPECT_EQ(plain, 1);
}

}  // namespace
}  // namespace pimblo

#endif  // _WIN32
