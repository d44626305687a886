// The frame of a skinned window, worked out for our skin and for hand-made ones.
#include <gtest/gtest.h>

#include <initializer_list>

#include "look/skin_choice.h"
#include "look/skin_layout.h"
#include "resources/embedded_assets.h"

namespace pimblo {
namespace {

const TSkinData& OurSkin() {
  static TSkinData* skin = [] {
    auto* s = new TSkinData();
    s->ReadSkinStream(assets::SkinStream());
    return s;
  }();
  return *skin;
}

// The help window: sizeable, with a system menu and a minimise box, no maximise box.
ChromeState HelpWindow(std::int32_t width = 393, std::int32_t height = 366) {
  ChromeState w;
  w.kind = WindowKind::Sizeable;
  w.hasSysMenu = true;
  w.hasMinBox = true;
  w.hasMaxBox = false;
  w.width = width;
  w.height = height;
  return w;
}

std::int32_t ButtonWithAction(const TSkinData& skin, const TitleLayout& layout, std::int32_t action,
                              std::int32_t visibility1 = -2) {
  for (std::size_t i = 0; i < skin.SysButtons.size(); ++i)
    if (skin.SysButtons[i].Action == action && layout.visible[i] &&
        (visibility1 == -2 || skin.SysButtons[i].Visibility1 == visibility1))
      return static_cast<std::int32_t>(i);
  return -1;
}

TEST(SkinLayout, WindowKindsFollowTheStyle) {
  struct Case {
    std::uint32_t style, ex;
    const char* cls;
    WindowKind kind;
  } cases[] = {
      {style::kPopup, 0, "TPimbloForm", WindowKind::CaptionlessPopup},
      {style::kPopup | style::kThickFrame, 0, "x", WindowKind::CaptionlessPopup},
      {style::kPopup | style::kCaption, 0, "x", WindowKind::Other},
      {style::kCaption | style::kThickFrame | style::kSysMenu, 0, "TPimbloForm", WindowKind::Sizeable},
      {style::kCaption, style::kExDlgModalFrame, "x", WindowKind::Dialog},
      {style::kCaption, 0, "#32770", WindowKind::Dialog},
      {style::kCaption, 0, "TMessageForm", WindowKind::Dialog},
      {style::kCaption | style::kThickFrame, 0, "#32770", WindowKind::Sizeable},
      {style::kCaption | style::kSysMenu, 0, "x", WindowKind::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(KindOfWindow(c.style, c.ex, c.cls), c.kind) << c.cls << " " << c.style;
}

TEST(SkinLayout, OurBordersAndTheClientArea) {
  ASSERT_FALSE(OurSkin().Empty());
  const BorderSizes b = ComputeBorderSizes(OurSkin(), WindowKind::Sizeable);
  EXPECT_EQ(b, (BorderSizes{4, 29, 4, 5}));
  EXPECT_EQ(ComputeBorderSizes(OurSkin(), WindowKind::CaptionlessPopup), BorderSizes{});
  EXPECT_EQ(ClientFromWindow({100, 50, 493, 416}, b, 0), (Rect{104, 79, 489, 411}));
  EXPECT_EQ(ClientFromWindow({100, 50, 493, 416}, b, 20), (Rect{104, 99, 489, 411}));
  // Too small a window gives an empty client area, never a negative one.
  const Rect tiny = ClientFromWindow({0, 0, 5, 10}, b, 0);
  EXPECT_TRUE(tiny.Empty());
  EXPECT_GE(tiny.Width(), 0);
  EXPECT_GE(tiny.Height(), 0);
}

TEST(SkinLayout, TheHelpWindowsTitleBar) {
  const TSkinData& skin = OurSkin();
  const ChromeState w = HelpWindow();
  const BorderSizes b = ComputeBorderSizes(skin, w.kind);
  const TitleLayout layout = LayoutTitle(skin, w, b, 60, 16);
  const std::int32_t close = ButtonWithAction(skin, layout, 0);
  const std::int32_t minimise = ButtonWithAction(skin, layout, 2);
  const std::int32_t icon = ButtonWithAction(skin, layout, 3);
  ASSERT_GE(close, 0);
  ASSERT_GE(minimise, 0);
  ASSERT_GE(icon, 0);
  EXPECT_EQ(layout.buttons[close], (Rect{393 - 25, 5, 393 - 25 + 19, 24}));
  EXPECT_EQ(layout.buttons[minimise], (Rect{393 - 73, 5, 393 - 73 + 19, 24}));
  EXPECT_EQ(layout.buttons[icon], (Rect{8, 7, 24, 23}));
  EXPECT_EQ(ButtonWithAction(skin, layout, 1), -1) << "neither maximise nor restore";
  EXPECT_EQ(layout.leftmostRightButton, 393 - 73);
  // Text: after the icon, vertically centred, clipped 80 px before the right end.
  EXPECT_EQ(layout.text.left, 4 + 24);
  EXPECT_EQ(layout.text.top, (29 - 16) / 2);
  EXPECT_EQ(layout.text.right, 4 + 24 + 60);
  const TitleLayout longText = LayoutTitle(skin, w, b, 1000, 16);
  EXPECT_EQ(longText.text.right, 393 - 4 - 80);
  EXPECT_EQ(ButtonAt(layout, 393 - 25 + 3, 10), close);
  EXPECT_EQ(ButtonAt(layout, 200, 10), -1);
}

TEST(SkinLayout, MaximiseAndRestoreTakeTurns) {
  const TSkinData& skin = OurSkin();
  ChromeState w = HelpWindow(640, 480);
  w.hasMaxBox = true;
  const BorderSizes b = ComputeBorderSizes(skin, w.kind);
  TitleLayout normal = LayoutTitle(skin, w, b, 50, 16);
  EXPECT_GE(ButtonWithAction(skin, normal, 1, 2), 0) << "maximise shows while not maximised";
  EXPECT_EQ(ButtonWithAction(skin, normal, 1, 1), -1);
  w.placement = Placement::Maximised;
  TitleLayout maximised = LayoutTitle(skin, w, b, 50, 16);
  EXPECT_EQ(ButtonWithAction(skin, maximised, 1, 2), -1);
  const std::int32_t restore = ButtonWithAction(skin, maximised, 1, 1);
  ASSERT_GE(restore, 0);
  EXPECT_EQ(maximised.buttons[restore].left, 640 - 49);
  // Without a system menu only buttons with an action show; close (action 0) does not.
  w.hasSysMenu = false;
  EXPECT_EQ(ButtonWithAction(skin, LayoutTitle(skin, w, b, 50, 16), 0), -1);
  // A dialog shows no icon button and moves its text 16 px left.
  ChromeState dialog = HelpWindow();
  dialog.kind = WindowKind::Dialog;
  const TitleLayout d = LayoutTitle(skin, dialog, b, 50, 16);
  EXPECT_EQ(ButtonWithAction(skin, d, 3), -1);
  EXPECT_EQ(d.text.left, 4 + 24 - 16);
}

TEST(SkinLayout, VisibilityCodes) {
  TDataSkinSysButton button;
  button.Action = 5;
  ChromeState w;
  w.hasSysMenu = true;
  struct Case {
    std::int32_t visibility, visibility1;
    bool maximised, active, minBox, maxBox, menuBar, sysMenu;
    bool shown;
  } cases[] = {
      {0, 0, false, true, false, false, false, false, true},  // action 5 shows without a system menu
      {1, 0, false, true, false, false, false, true, false},
      {1, 1, true, true, false, false, false, true, true},
      {2, 2, false, true, false, false, false, true, true},
      {2, 1, false, true, false, false, false, true, false},
      {3, 0, false, false, false, false, false, true, false},
      {4, 4, false, false, false, false, false, true, true},
      {6, 0, false, true, false, true, false, true, true},
      {6, 0, false, true, false, true, false, false, false},  // needs the system menu too
      {0, 6, false, true, false, true, false, false, true},   // Visibility1 only needs the box
      {7, 7, false, true, false, false, false, true, true},
      {8, 0, false, true, true, false, false, true, true},
      {9, 0, false, true, true, false, false, true, false},
      {100, 100, false, true, false, false, true, true, true},
      {100, 100, false, true, false, false, false, true, false},
      {0, 100, false, true, false, false, false, true, true},  // Visibility1 100 repeats Visibility
      {200, 2000, false, true, false, false, false, true, true},
      {5, 0, false, true, false, false, false, true, false},
      {2001, 0, false, true, false, false, false, true, false},
      {0, -1, false, true, false, false, false, true, false},
  };
  for (const Case& c : cases) {
    button.Visibility = c.visibility;
    button.Visibility1 = c.visibility1;
    w.placement = c.maximised ? Placement::Maximised : Placement::Normal;
    w.active = c.active;
    w.hasMinBox = c.minBox;
    w.hasMaxBox = c.maxBox;
    w.hasMenuBar = c.menuBar;
    w.hasSysMenu = c.sysMenu;
    EXPECT_EQ(IsButtonVisible(button, w), c.shown) << c.visibility << "/" << c.visibility1;
  }
  // Actions tied to boxes.
  w = ChromeState{};
  w.hasSysMenu = true;
  button.Visibility = button.Visibility1 = 0;
  button.Action = 1;
  EXPECT_FALSE(IsButtonVisible(button, w));
  button.Action = 2;
  EXPECT_FALSE(IsButtonVisible(button, w));
  w.hasMinBox = true;
  EXPECT_TRUE(IsButtonVisible(button, w));
  for (std::int32_t action : {3, 11, 12}) {
    button.Action = action;
    w.kind = WindowKind::Dialog;
    EXPECT_FALSE(IsButtonVisible(button, w)) << action;
    w.kind = WindowKind::Other;
    EXPECT_TRUE(IsButtonVisible(button, w)) << action;
  }
}

TEST(SkinLayout, ButtonFramesAndSizes) {
  TDataSkinSysButton six;
  six.FrameCount = 6;
  six.Image = Bitmap(114, 19);
  TDataSkinSysButton three = six;
  three.FrameCount = 3;
  TDataSkinSysButton child = six;
  child.FrameCount = 4;
  child.Align = 100;
  struct Case {
    const TDataSkinSysButton* button;
    std::int32_t state;
    bool active;
    std::int32_t frame;
  } cases[] = {
      {&six, kButtonNormal, true, 1}, {&six, kButtonNormal, false, 4}, {&six, kButtonPressed, false, 2},
      {&six, kButtonHot, true, 3},    {&three, kButtonNormal, false, 1}, {&child, kButtonHot, true, 4},
      {&child, kButtonPressed, true, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(ButtonFrame(*c.button, c.state, c.active), c.frame);
  EXPECT_EQ(ButtonSize(six), (Rect{0, 0, 19, 19}));
  TDataSkinSysButton icon;
  icon.Action = 3;
  icon.FrameCount = 6;
  EXPECT_EQ(ButtonSize(icon), (Rect{0, 0, 16, 16})) << "an icon button without picture is as large as the icon";
  icon.Action = 40;
  EXPECT_TRUE(ButtonSize(icon).Empty());
}

TEST(SkinLayout, HitTestRefinement) {
  struct Case {
    std::int32_t result, y, expected;
  } cases[] = {
      {hit::kNowhere, 2, hit::kNowhere}, {hit::kCaption, 3, hit::kCaption}, {hit::kNowhere, 4, hit::kCaption},
      {hit::kNowhere, 28, hit::kCaption}, {hit::kNowhere, 29, hit::kMenu},  {hit::kCaption, 40, hit::kMenu},
      {hit::kClient, 10, hit::kClient},  {13 /* left */, 10, 13},            {hit::kClose, 10, hit::kClose},
  };
  for (const Case& c : cases) EXPECT_EQ(RefineHitTest(c.result, c.y, 29), c.expected) << c.result << "@" << c.y;
}

TEST(SkinLayout, ActionsAndTheSystemMenu) {
  EXPECT_EQ(CommandOfAction(0), ButtonCommand::Close);
  EXPECT_EQ(CommandOfAction(22), ButtonCommand::MaximiseOrRestore);
  EXPECT_EQ(CommandOfAction(23), ButtonCommand::MinimiseOrRestore);
  EXPECT_EQ(CommandOfAction(11), ButtonCommand::SystemMenu);
  EXPECT_EQ(CommandOfAction(62), ButtonCommand::ChildClose);
  EXPECT_EQ(CommandOfAction(5), ButtonCommand::Post);

  const auto help = SystemMenuItems(true, false, Placement::Normal);
  ASSERT_EQ(help.size(), 4u);
  EXPECT_STREQ(help[0].caption, L" Restore ");
  EXPECT_FALSE(help[0].enabled);
  EXPECT_STREQ(help[1].caption, L" Minimize ");
  EXPECT_TRUE(help[1].enabled);
  EXPECT_EQ(help[2].tag, 100);
  EXPECT_STREQ(help[3].caption, L" Close ");
  EXPECT_STREQ(help[3].shortcut, L"Shift+F4");
  const auto all = SystemMenuItems(true, true, Placement::Maximised);
  ASSERT_EQ(all.size(), 5u);
  EXPECT_TRUE(all[0].enabled);
  EXPECT_FALSE(all[1].enabled);
  EXPECT_TRUE(all[2].enabled);
  EXPECT_FALSE(SystemMenuItems(true, true, Placement::Minimised)[2].enabled);
}

// A 6 x 4 source: each pixel's value tells where it came from.
Bitmap NumberedSource() {
  Bitmap src(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) src.At(x, y) = static_cast<Pixel>(y * 10 + x);
  return src;
}

// The pixels a drawing should have left at given places.
struct PixelAt {
  std::int32_t x, y;
  Pixel value;
};
void ExpectPixels(const Bitmap& b, std::initializer_list<PixelAt> expected) {
  for (const PixelAt& p : expected) EXPECT_EQ(b.At(p.x, p.y), p.value) << "at " << p.x << "," << p.y;
}

TEST(SkinLayout, NineSliceKeepsCornersAndStretchesTheRest) {
  const Bitmap src = NumberedSource();
  Bitmap dst(12, 8, 999);
  DrawNineSlice(dst, {0, 0, 12, 8}, src, {0, 0, 6, 4}, 2, 1, 1, 1, false);
  // Corners as they are.
  ExpectPixels(dst, {{0, 0, 0}, {1, 0, 1}, {11, 0, 5}, {0, 7, 30}, {11, 7, 35}});
  // The top edge stretched from columns 2..4 over 2..10, the middle from rows 1..2 over 1..6.
  ExpectPixels(dst, {{2, 0, 2}, {10, 0, 4}, {5, 3, 13}, {0, 6, 20}});
  for (Pixel p : dst.pixels) EXPECT_NE(p, 999u) << "every pixel is painted";

  Bitmap tiled(12, 4, 999);
  DrawNineSlice(tiled, {0, 0, 12, 4}, src, {0, 0, 6, 4}, 1, 0, 1, 0, true);
  // The middle (columns 1..4) repeats every 4 pixels.
  ExpectPixels(tiled, {{1, 0, 1}, {5, 0, 1}, {6, 0, 2}, {11, 0, 5}});

  // Margins wider than the target are dropped: the whole frame is stretched.
  Bitmap narrow(3, 4, 999);
  DrawNineSlice(narrow, {0, 0, 3, 4}, src, {0, 0, 6, 4}, 2, 0, 2, 0, false);
  ExpectPixels(narrow, {{0, 0, 0}, {1, 0, 2}, {2, 0, 4}});
  // A frame of a sheet: only that frame's pixels are read.
  Bitmap one(2, 2, 999);
  DrawNineSlice(one, {0, 0, 2, 2}, src, {3, 2, 5, 4}, 0, 0, 0, 0, false);
  ExpectPixels(one, {{0, 0, 23}, {1, 1, 34}});
  // Clipped at the target's edges without complaint.
  Bitmap small(2, 2, 999);
  DrawNineSlice(small, {-5, -5, 7, 7}, src, {0, 0, 6, 4}, 0, 0, 0, 0, false);
  DrawTransparent(small, -1, -1, src, {0, 0, 6, 4});
  ExpectPixels(small, {{0, 0, 11}});
}

TEST(SkinLayout, TransparentDrawingLeavesMagentaOut) {
  Bitmap src(2, 1);
  src.At(0, 0) = kMagenta;
  src.At(1, 0) = 7;
  Bitmap dst(2, 1, 5);
  DrawTransparent(dst, 0, 0, src, {0, 0, 2, 1});
  EXPECT_EQ(dst.At(0, 0), 5u);
  EXPECT_EQ(dst.At(1, 0), 7u);
}

// Whether a region (as rectangles) covers a point.
bool Covers(const std::vector<Rect>& rects, std::int32_t x, std::int32_t y) {
  for (const Rect& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

TEST(SkinLayout, OurWindowRegionCutsTheRoundedCorners) {
  const TSkinData& skin = OurSkin();
  const ChromeState w = HelpWindow();
  const BorderSizes b = ComputeBorderSizes(skin, w.kind);
  const auto rects = WindowRegionRects(skin, w, b);
  // The left border's frame has magenta in its top-left corner.
  const TDataSkinBorder& left = skin.Borders[bsLeft];
  ASSERT_EQ((left.Image.At(0, 0) & 0xFFFFFF), kMagenta) << "our left border has a rounded corner";
  EXPECT_FALSE(Covers(rects, 0, 0));
  EXPECT_FALSE(Covers(rects, 392, 0));
  EXPECT_TRUE(Covers(rects, 196, 15)) << "the title bar";
  EXPECT_TRUE(Covers(rects, 196, 200)) << "the client area";
  EXPECT_TRUE(Covers(rects, 0, 200)) << "the left border";
  EXPECT_TRUE(Covers(rects, 200, 365)) << "the bottom border";
  // Rows alike share their rectangles: a few bands, not one rectangle a row.
  EXPECT_LT(rects.size(), 40u);
  // Every pixel of the window is covered exactly when it is not a magenta pixel of a border.
  for (std::int32_t y : {0, 1, 2, 3, 28, 29, 200, 360, 365})
    for (std::int32_t x : {0, 1, 2, 3, 4, 100, 388, 389, 390, 391, 392}) {
      std::int32_t hits = 0;
      for (const Rect& r : rects) hits += x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      EXPECT_LE(hits, 1) << "rectangles do not overlap at " << x << "," << y;
    }
  // No rectangle leaves the window.
  for (const Rect& r : rects) {
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 393);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, 366);
  }
  // A caption-less popup, or a skin without transparent borders, gets its whole rectangle.
  ChromeState popup = w;
  popup.kind = WindowKind::CaptionlessPopup;
  EXPECT_EQ(WindowRegionRects(skin, popup, b), (std::vector<Rect>{{0, 0, 393, 366}}));
}

TEST(SkinLayout, BordersPaintTheirActiveOrInactiveFrame) {
  const TSkinData& skin = OurSkin();
  ChromeState w = HelpWindow();
  const BorderSizes b = ComputeBorderSizes(skin, w.kind);
  const BorderPiece active = PaintBorder(skin, bsTop, w, b);
  w.active = false;
  const BorderPiece inactive = PaintBorder(skin, bsTop, w, b);
  EXPECT_EQ(active.place, (Rect{4, 0, 389, 29}));
  EXPECT_EQ(active.pixels.width, 385);
  EXPECT_NE(active.pixels, inactive.pixels);
  // Its fixed right part (with the paw print) sits unstretched at the right end.
  const TDataSkinBorder& top = skin.Borders[bsTop];
  for (int x = 0; x < 100; ++x)
    EXPECT_EQ(active.pixels.At(385 - 100 + x, 10), top.Image.At(top.Image.width - 100 + x, 10)) << x;
  const BorderPiece bottom = PaintBorder(skin, bsBottom, w, b);
  EXPECT_EQ(bottom.place, (Rect{4, 361, 389, 366}));
  EXPECT_EQ(BorderFrameRect(top.Image, 2, 2, false), (Rect{0, 29, top.Image.width, 58}));
  EXPECT_EQ(BorderFrameRect(top.Image, 2, 7, false), (Rect{0, 29, top.Image.width, 58})) << "clamped";
  EXPECT_EQ(BorderFrameRect(skin.Borders[bsLeft].Image, 2, 2, true), (Rect{4, 0, 8, 38}));
}

// The title's text background lays its two frames side by side: frame 1 while active, 2 while not.
TEST(SkinLayout, TheTextBackgroundShowsItsSideBySideFrame) {
  TSkinData skin;
  skin.ReadSkinStream(assets::SkinStream());
  constexpr Pixel kA = 0x112233, kB = 0x445566, kC = 0x778899;
  Bitmap back(4, 2);  // frame 1: A over C; frame 2: B. Its rows would be A A B B and C C B B.
  for (std::int32_t y = 0; y < 2; ++y)
    for (std::int32_t x = 0; x < 4; ++x) back.At(x, y) = x >= 2 ? kB : y == 0 ? kA : kC;
  skin.Title.Image = back;
  skin.Title.FrameCount = 2;
  skin.Title.LeftWidth = skin.Title.RightWidth = 0;
  struct Case {
    bool active;
    Rect frame;
    Pixel topLeft;
  } cases[] = {{true, {0, 0, 2, 2}, kA}, {false, {2, 0, 4, 2}, kB}};
  for (const Case& c : cases) {
    ChromeState w = HelpWindow();
    w.active = c.active;
    EXPECT_EQ(TextBackFrame(skin.Title, c.active), c.frame) << c.active;
    const BorderSizes b = ComputeBorderSizes(skin, w.kind);
    const TitleLayout layout = LayoutTitle(skin, w, b, 60, 14);
    ASSERT_FALSE(layout.textBack.Empty());
    const Bitmap title = PaintTitleBack(skin, w, b, layout);
    EXPECT_EQ(title.At(layout.textBack.left + 1, layout.textBack.top + 1) & 0xFFFFFF, c.topLeft) << c.active;
  }
}

// The Top border's shape comes from the title bar as painted: a button over its magenta parts stays.
TEST(SkinLayout, AButtonOverATransparentTopBorderStaysInTheRegion) {
  TSkinData skin;
  skin.ReadSkinStream(assets::SkinStream());
  TDataSkinBorder& top = skin.Borders[bsTop];
  std::fill(top.Image.pixels.begin(), top.Image.pixels.end(), kMagenta);
  top.Trans = 1;
  const ChromeState w = HelpWindow();
  const BorderSizes b = ComputeBorderSizes(skin, w.kind);
  const TitleLayout layout = LayoutTitle(skin, w, b, 60, 14);
  Bitmap title = PaintTitleBack(skin, w, b, layout);
  DrawTitleButtons(title, skin, w, layout, {});
  const std::int32_t close = ButtonWithAction(skin, layout, button_action::kClose);
  ASSERT_GE(close, 0);
  const Rect place = layout.buttons[static_cast<std::size_t>(close)];
  const TDataSkinSysButton& sb = skin.SysButtons[static_cast<std::size_t>(close)];
  const Rect frame = BorderFrameRect(sb.Image, sb.FrameCount, ButtonFrame(sb, kButtonNormal, true), true);
  const std::int32_t x = place.left + frame.Width() / 2, y = place.top + frame.Height() / 2;
  ASSERT_NE(sb.Image.At(frame.left + frame.Width() / 2, frame.top + frame.Height() / 2) & 0xFFFFFF, kMagenta);
  ASSERT_GT(x, b.left);
  ASSERT_LT(x, w.width - b.right);
  const auto rects = WindowRegionRects(skin, w, b, &title);
  EXPECT_TRUE(Covers(rects, x, y)) << "the button drawn over the border";
  for (std::int32_t px = b.left; px < w.width - b.right; ++px)
    EXPECT_EQ(Covers(rects, px, y), (title.At(px, y) & 0xFFFFFF) != kMagenta) << px;
}

TEST(SkinChoice, TheComponentForAWindow) {
  TSkinData main1, main2, dialog, only;
  main1.SkinFormtype = main2.SkinFormtype = TSkinFormType::sfMainform;
  dialog.SkinFormtype = TSkinFormType::sfDialog;
  only.SkinFormtype = TSkinFormType::sfOnlyThisForm;
  const std::vector<RegisteredSkin> skins{{&main1, 0}, {&dialog, 0}, {&only, 42}, {&main2, 0}};
  EXPECT_EQ(ChooseSkin(skins, 42, "TPimbloForm"), &only);
  EXPECT_EQ(ChooseSkin(skins, 7, "TPimbloForm"), &main2) << "the last of the matching ones";
  EXPECT_EQ(ChooseSkin(skins, 7, "#32770"), &dialog);
  EXPECT_EQ(ChooseSkin({{&dialog, 0}, {&only, 42}}, 7, "TPimbloForm"), &dialog) << "else the first";
  EXPECT_EQ(ChooseSkin({}, 7, "x"), nullptr);
}

TEST(SkinChoice, WindowsThatAreNotSkinned) {
  TSkinData loaded;
  loaded.ReadSkinStream(assets::SkinStream());
  ASSERT_FALSE(loaded.Empty());
  TSkinData empty;
  SkinCandidate ok;
  ok.className = "TPimbloForm";
  EXPECT_TRUE(MaySkin(ok, &loaded, &loaded, false));
  EXPECT_FALSE(MaySkin(ok, &loaded, &empty, false)) << "no skin loaded";
  EXPECT_FALSE(MaySkin(ok, &loaded, nullptr, false));
  auto with = [&](auto change) {
    SkinCandidate c = ok;
    change(c);
    return MaySkin(c, &loaded, &loaded, false);
  };
  EXPECT_FALSE(with([](SkinCandidate& c) { c.answersSkinned = true; }));
  EXPECT_FALSE(with([](SkinCandidate& c) { c.alreadySkinned = true; }));
  EXPECT_FALSE(with([](SkinCandidate& c) { c.mdiChild = true; }));
  EXPECT_TRUE(MaySkin({"x", false, false, true, false, 0}, &loaded, &loaded, true)) << "forced";
  EXPECT_FALSE(with([](SkinCandidate& c) { c.emptyRect = true; }));
  EXPECT_FALSE(with([](SkinCandidate& c) { c.formTag = 99; }));
  EXPECT_TRUE(with([](SkinCandidate& c) { c.formTag = 199; }));
  EXPECT_FALSE(with([](SkinCandidate& c) { c.className = "TApplication"; }));
  EXPECT_FALSE(with([](SkinCandidate& c) { c.className = "TQRStandardPreview"; }));
  EXPECT_FALSE(with([](SkinCandidate& c) { c.className = "SysMonthCal32"; }));
  EXPECT_TRUE(with([](SkinCandidate& c) { c.className = "TfrPreview"; }));
  loaded.SkinControls.set(xcFastReport);
  EXPECT_FALSE(with([](SkinCandidate& c) { c.className = "TfrPreview"; }));
  // A handler decides instead of the built-in class rules.
  std::string asked;
  loaded.OnFormSkin = [&](TSkinData&, const std::string& cls, bool& doSkin) {
    asked = cls;
    doSkin = cls != "TPimbloForm";
  };
  EXPECT_FALSE(MaySkin(ok, &loaded, &loaded, false));
  EXPECT_EQ(asked, "TPimbloForm");
  EXPECT_TRUE(with([](SkinCandidate& c) { c.className = "SysMonthCal32"; }));
}

TEST(SkinChoice, PopupMenusTheSkinDraws) {
  struct Case {
    const char* what;
    TSkinControl kind;
    bool reached;
    std::int32_t disableTag, menuTag;
    bool drawn;
  } cases[] = {
      {"a popup menu the skin reaches", xcPopupMenu, true, 99, 0, true},
      {"its Tag is the DisableTag", xcPopupMenu, true, 99, 99, false},
      {"its Tag modulo 100 is the DisableTag", xcPopupMenu, true, 99, 199, false},
      {"a Tag next to it", xcPopupMenu, true, 99, 98, true},
      {"another DisableTag", xcPopupMenu, true, 5, 305, false},
      {"the skin does not reach popup menus", xcPopupMenu, false, 99, 0, false},
      {"the replacement system menu", xcSystemMenu, true, 99, kSystemMenuTag, true},
      {"the skin does not reach the system menu", xcSystemMenu, false, 99, kSystemMenuTag, false},
      {"the system menu's Tag disabled", xcSystemMenu, true, kSystemMenuTag % 100, kSystemMenuTag, false},
  };
  for (const Case& c : cases) {
    TSkinData skin;
    skin.SkinControls.reset().set(c.kind, c.reached);
    skin.DisableTag = c.disableTag;
    EXPECT_EQ(MaySkinPopupMenu(skin, c.kind, c.menuTag), c.drawn) << c.what;
  }
  // As the program ships, its popup menus are its own and the system menu is the skin's.
  TSkinData shipped;
  shipped.SkinControls = MainFormSkinControls();
  shipped.DisableTag = 99;
  shipped.Loaded();
  EXPECT_FALSE(MaySkinPopupMenu(shipped, xcPopupMenu, 0));
  EXPECT_TRUE(MaySkinPopupMenu(shipped, xcSystemMenu, kSystemMenuTag));
}

}  // namespace
}  // namespace pimblo
