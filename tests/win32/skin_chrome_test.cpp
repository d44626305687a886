// The skinned frame on real windows: attaching takes the caption over, answers the
// skin's query, shrinks the client area to the skin's borders and cuts the region;
// detaching gives everything back. And the replacement system menu's items.
#include <gtest/gtest.h>

#include "look/lzh.h"
#include "look/skin_read.h"
#include "win32/scoped_win.h"
#include "win32/skin_manage.h"
#include "resources/embedded_assets.h"

namespace pimblo {
namespace {

constexpr wchar_t kClass[] = L"PimbloSkinTestWindow";

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

void Pump() {
  MSG msg;
  for (int i = 0; i < 5; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

class SkinnedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    RegisterClassExW(&wc);
    skin.SkinControls = MainFormSkinControls();
    skin.ReadSkinStream(assets::SkinStream());
    ASSERT_FALSE(skin.Empty());
    manager.AddSkin(skin, nullptr);
  }
  void TearDown() override {
    for (HWND w : windows) DestroyWindow(w);
  }
  HWND Make(DWORD style, int width, int height) {
    HWND w = CreateWindowExW(0, kClass, L"Skinned", style, 100, 100, width, height, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    windows.push_back(w);
    return w;
  }
  TSkinData skin;
  TSkinManage manager;
  std::vector<HWND> windows;
};

SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

TEST_F(SkinnedWindowTest, AttachingAndDetachingASizeableWindow) {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
  HWND w = Make(style, 393, 366);
  const auto ownProc = GetWindowLongPtrW(w, GWLP_WNDPROC);
  EXPECT_EQ(SendMessageW(w, kSkinQuery, 0, 0), 0);
  manager.SkinWindow(w);
  ASSERT_NE(manager.Find(w), nullptr);
  EXPECT_EQ(SendMessageW(w, kSkinQuery, 0, 0), 1);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, 0) << "a window without owner gives up its caption";
  Pump();
  EXPECT_EQ(manager.Find(w)->CurrentStage(), TWinSkinForm::kAttached);
  const SIZE client = ClientSize(w);
  EXPECT_EQ(client.cx, 393 - 8);
  EXPECT_EQ(client.cy, 366 - 34);
  {
    win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(w, region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0)) << "the rounded corner is cut";
    EXPECT_TRUE(PtInRegion(region.Get(), 200, 15));
  }
  // A window that answers the query is not attached twice.
  manager.SkinWindow(w, true);
  EXPECT_EQ(manager.SkinnedCount(), 1u);

  manager.Find(w)->Detach(false);
  EXPECT_EQ(manager.Find(w), nullptr);
  EXPECT_EQ(SendMessageW(w, kSkinQuery, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), ownProc);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  win::ScopedRegion none(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(w, none.Get()), ERROR) << "the region is removed";
  const SIZE after = ClientSize(w);
  EXPECT_EQ(after.cx, client.cx) << "the client area keeps its size under the platform's frame";
  EXPECT_EQ(after.cy, client.cy);
}

// The region's top is the title bar as painted: a button over a see-through Top border stays.
TEST_F(SkinnedWindowTest, TheRegionKeepsAButtonOverASeeThroughTopBorder) {
  TDataSkinBorder& top = skin.Borders[bsTop];
  std::fill(top.Image.pixels.begin(), top.Image.pixels.end(), kMagenta);
  top.Trans = 1;
  HWND w = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME, 393, 366);
  manager.SkinWindow(w);
  Pump();
  const TWinSkinForm* form = manager.Find(w);
  ASSERT_NE(form, nullptr);
  ASSERT_FALSE(form->Layout().buttons.empty());
  ASSERT_EQ(skin.SysButtons[0].Action, button_action::kClose);
  const Rect close = form->Layout().buttons[0];
  win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(w, region.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.Get(), (close.left + close.right) / 2, (close.top + close.bottom) / 2));
  EXPECT_FALSE(PtInRegion(region.Get(), 200, 1)) << "the bare border between is cut away";
}

TEST_F(SkinnedWindowTest, ACaptionlessPopupKeepsItsShapeAndClientArea) {
  HWND w = Make(WS_POPUP, 32, 32);
  SetWindowRgn(w, CreateEllipticRgn(0, 0, 32, 32), TRUE);
  manager.SkinWindow(w, true);
  Pump();
  ASSERT_NE(manager.Find(w), nullptr);
  EXPECT_EQ(SendMessageW(w, kSkinQuery, 0, 0), 1);
  const SIZE client = ClientSize(w);
  EXPECT_EQ(client.cx, 32);
  EXPECT_EQ(client.cy, 32);
  win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(w, region.Get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0)) << "its own (elliptic) shape stays";
  SetWindowPos(w, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NE(GetWindowRgn(w, region.Get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0)) << "even when its size changes";
}

TEST_F(SkinnedWindowTest, MinimisingKeepsTheRegionAndANewSizeRebuildsIt) {
  HWND w = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME, 300, 200);
  manager.SkinWindow(w);
  Pump();
  RECT box{};
  auto regionBox = [&] {
    win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(w, region.Get()) == ERROR) return RECT{-1, -1, -1, -1};
    GetRgnBox(region.Get(), &box);
    return box;
  };
  const RECT before = regionBox();
  EXPECT_EQ(before.right, 300);
  ShowWindow(w, SW_MINIMIZE);
  Pump();
  RECT now = regionBox();
  EXPECT_TRUE(EqualRect(&before, &now));
  ShowWindow(w, SW_RESTORE);
  Pump();
  now = regionBox();
  EXPECT_TRUE(EqualRect(&before, &now));
  SetWindowPos(w, nullptr, 0, 0, 420, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  const RECT after = regionBox();
  EXPECT_EQ(after.right, 420);
  EXPECT_EQ(after.bottom, 250);
}

TEST_F(SkinnedWindowTest, ADestroyedWindowIsReleased) {
  HWND w = Make(WS_OVERLAPPEDWINDOW, 200, 150);
  manager.SkinWindow(w);
  ASSERT_EQ(manager.SkinnedCount(), 1u);
  DestroyWindow(w);
  windows.clear();
  EXPECT_EQ(manager.SkinnedCount(), 0u);
  // The next look at the list frees the record; skinning goes on for other windows.
  HWND other = Make(WS_OVERLAPPEDWINDOW, 200, 150);
  manager.SkinWindow(other);
  EXPECT_EQ(manager.SkinnedCount(), 1u);
}

TEST_F(SkinnedWindowTest, WindowsThatAreNeverSkinned) {
  HWND w = Make(WS_OVERLAPPEDWINDOW, 200, 150);
  TSkinData empty;
  TSkinManage bare;
  bare.AddSkin(empty, nullptr);
  bare.SkinWindow(w);
  EXPECT_EQ(bare.Find(w), nullptr) << "no skin loaded, nothing attached";
  HWND flat = Make(WS_POPUP, 0, 0);
  manager.SkinWindow(flat);
  EXPECT_EQ(manager.Find(flat), nullptr) << "an empty window rectangle";
}

// The stored skin value of a package holding only a description: no pictures, and no title-bar
// buttons but the three of a maximised child window.
std::vector<std::uint8_t> DescriptionOnlySkin(const std::string& ini) {
  const std::vector<SkinEntry> entries = {{"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())}};
  return SkinStreamOf(TLZH::PackFile(BuildSkinPackage(entries)));
}

// Passes the component's calls on to a test's own manager; the scheduled actions never run, so
// what a window does before the refresh action shows.
struct LinkTo : SkinManagerLink {
  explicit LinkTo(TSkinManage& m) : manager(m) {}
  TSkinManage& manager;
  void AddSkin(TSkinData& s) override { manager.AddSkin(s, nullptr); }
  void RemoveSkin(TSkinData& s) override { manager.RemoveSkin(s); }
  void InstallHook() override {}
  void Schedule(TSkinAction, TSkinData&) override {}
  void SwitchOn() override {}
  void SkinOwnerForm(TSkinData&) override {}
  void SkinDataChanged(TSkinData& s) override { manager.SkinDataChanged(s); }
};

// A skin with fewer buttons loaded under an attached window: the window lays out the new list at
// once, and painting and hovering right away stay within it.
TEST_F(SkinnedWindowTest, ASkinWithFewerButtonsIsTakenAtOnce) {
  TSkinManage own;
  LinkTo link(own);
  TSkinData linked(&link);
  linked.SkinControls = MainFormSkinControls();
  linked.ReadSkinStream(assets::SkinStream());
  own.AddSkin(linked, nullptr);
  HWND w = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME, 393, 366);
  own.SkinWindow(w, true);
  Pump();
  TWinSkinForm* form = own.Find(w);
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(form->Layout().visible.size(), 8u);
  RECT r{};
  GetWindowRect(w, &r);
  std::vector<LPARAM> buttonPoints;
  for (const Rect& b : form->Layout().buttons)
    buttonPoints.push_back(MAKELPARAM(r.left + (b.left + b.right) / 2, r.top + (b.top + b.bottom) / 2));

  linked.ReadSkinStream(DescriptionOnlySkin("[TitlebarSkin]\nSkinName=Bare\n"));
  ASSERT_FALSE(linked.Empty());
  ASSERT_EQ(linked.SysButtons.size(), 3u);
  EXPECT_EQ(form->Layout().visible.size(), 3u);
  EXPECT_EQ(form->Layout().buttons.size(), 3u);
  for (LPARAM at : buttonPoints) SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, at);  // where the old buttons were
  SendMessageW(w, WM_TIMER, 0x3501, 0);  // the hover tick
  SendMessageW(w, kSkinRepaintFrame, 0, 0);
  EXPECT_EQ(form->Layout().visible.size(), 3u);
  EXPECT_EQ(own.Find(w), form) << "the window is still skinned";
  own.Find(w)->Detach(false);
}

// The button-face brush is made again when the skin is loaded with another face colour.
TEST_F(SkinnedWindowTest, TheFaceBrushFollowsTheLoadedSkin) {
  auto brushColour = [&] {
    LOGBRUSH brush{};
    GetObjectW(manager.FaceBrush(skin), sizeof brush, &brush);
    return brush.lbColor;
  };
  const std::vector<std::uint8_t> ours(assets::SkinStream().begin(), assets::SkinStream().end());
  struct Case {
    std::vector<std::uint8_t> stream;
    COLORREF face;
  } cases[] = {{ours, RGB(213, 222, 242)},
               {DescriptionOnlySkin("[Colours]\nButtonFace=10 20 30\n"), RGB(10, 20, 30)},
               {ours, RGB(213, 222, 242)}};
  for (const Case& c : cases) {
    skin.ReadSkinStream(c.stream);
    EXPECT_EQ(brushColour(), c.face);
  }
}

// A skin that does not load: the component switches itself off at load and the
// windows keep their own frames.
TEST_F(SkinnedWindowTest, ASkinThatDoesNotLoadLeavesWindowsAlone) {
  const std::uint8_t broken[] = {16, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  TSkinData bad;
  bad.SkinControls = MainFormSkinControls();
  bad.Reading = true;
  bad.SetActive(true);
  bad.Reading = false;
  bad.ReadSkinStream(broken);
  EXPECT_TRUE(bad.Empty());
  TSkinManage own;
  own.AddSkin(bad, nullptr);
  bad.Loaded();
  EXPECT_FALSE(bad.Active());
  HWND w = Make(WS_OVERLAPPEDWINDOW, 300, 200);
  own.SkinWindow(w, true);
  EXPECT_EQ(own.Find(w), nullptr);
  EXPECT_EQ(SendMessageW(w, kSkinQuery, 0, 0), 0);
  EXPECT_NE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, 0);
}

// The replacement system menu of a window with a minimise box and no maximise box.
TEST(SkinSystemMenu, ItsItemsTheirCommandsAndWhatAPlacementGreys) {
  TSkinSystemMenu menu;
  menu.Build(true, false, Placement::Normal);
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 4);
  const UINT commands[] = {SC_RESTORE, SC_MINIMIZE, 0, SC_CLOSE};  // the separator runs nothing
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(TSkinSystemMenu::SystemCommandOf(GetMenuItemID(menu.Handle(), i)), commands[i]) << i;
  struct Case {
    Placement placement;
    bool restoreGrey, minimiseGrey;
  } cases[] = {{Placement::Normal, true, false}, {Placement::Minimised, false, true}, {Placement::Maximised, false, false}};
  auto grey = [&](int i) { return (GetMenuState(menu.Handle(), GetMenuItemID(menu.Handle(), i), MF_BYCOMMAND) & MF_GRAYED) != 0; };
  for (const Case& c : cases) {
    menu.EnableFor(c.placement);
    EXPECT_EQ(grey(0), c.restoreGrey) << static_cast<int>(c.placement);
    EXPECT_EQ(grey(1), c.minimiseGrey) << static_cast<int>(c.placement);
    EXPECT_FALSE(grey(3)) << "close never greys";
  }
  EXPECT_TRUE(TSkinSystemMenu::IsItem(ODT_MENU, kSystemMenuTag));
  EXPECT_FALSE(TSkinSystemMenu::IsItem(ODT_MENU, 0)) << "another owner-drawn menu's item";
  EXPECT_FALSE(TSkinSystemMenu::IsItem(ODT_BUTTON, kSystemMenuTag));
}

}  // namespace
}  // namespace pimblo
