// The Windows side on the real window system (run under wine64): the region
// routine on GDI, the image lists read by ImageList_Read, the hook guard, the
// mirrored sheets on real image lists, and the main form's handlers.
#include <gtest/gtest.h>

#include <random>

#include "app/commands.h"
#include "win32/application.h"
#include "win32/dib.h"
#include "win32/image_list.h"
#include "win32/memory_stream.h"
#include "app/main_form.h"
#include "resources/embedded_assets.h"
#include "win32/bitmap_region.h"
#include "sprites/mirror.h"
#include "sprites/pet_sheets.h"
#include "sprites/region_scan.h"

namespace pimblo {
namespace {

const PetSheets& Sheets() {
  static const PetSheets sheets = std::get<PetSheets>(LoadPetSheets(assets::HeadsStream(), assets::LegsStream()));
  return sheets;
}

// The region the platform-free scan describes, made by the window system.
win::ScopedRegion RegionOf(const std::vector<Rect>& rects) {
  win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  for (const Rect& r : rects) {
    win::ScopedRegion part(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
  }
  return region;
}

void ExpectSameRegion(const Bitmap& picture, const char* what) {
  ui::TDib dib(picture);
  win::ScopedRegion gdi(BitmapToRegion(dib.Handle(), kPetKey, kPetTolerance));
  ASSERT_TRUE(gdi) << what;
  const auto expected = RegionOf(ScanBitmap(picture, kPetKey, kPetTolerance).AllRects());
  EXPECT_TRUE(EqualRgn(gdi.Get(), expected.Get())) << what;
}

TEST(BitmapToRegion, MatchesThePlatformFreeScan) {
  constexpr Pixel red = MakePixel(255, 0, 0), body = MakePixel(40, 60, 200);
  std::mt19937 rng(7);
  for (auto [w, h] : {std::pair{32, 32}, {33, 7}, {1, 1}, {5, 40}, {100, 50}}) {
    Bitmap noise(w, h);
    for (Pixel& p : noise.pixels) p = rng() % 3 == 0 ? MakePixel(255, static_cast<std::uint8_t>(rng() % 20), 0) : body;
    ExpectSameRegion(noise, "noise near the key's tolerance");
  }
  Bitmap checker(100, 50, red);  // 2500 runs: two batches joined
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; x += 2) checker.At(x, y) = body;
  ExpectSameRegion(checker, "more than 2000 rectangles");
  for (int leg = 0; leg < 8; ++leg) {
    Bitmap pose;
    Sheets().FHeads.Draw(6, pose);
    Sheets().FLegs.Draw(leg, pose);
    ExpectSameRegion(pose, "a pose of the pet");
  }
}

TEST(BitmapToRegion, EdgeCases) {
  {
    ui::TDib clear(Bitmap(32, 32, MakePixel(255, 0, 0)));
    win::ScopedRegion r(BitmapToRegion(clear.Handle(), kPetKey, kPetTolerance));
    ASSERT_TRUE(r);  // empty, not none
    RECT box;
    EXPECT_EQ(GetRgnBox(r.Get(), &box), NULLREGION);
  }
  {
    ui::TDib solid(Bitmap(7, 3, MakePixel(0, 0, 255)));  // pure blue stays
    win::ScopedRegion r(BitmapToRegion(solid.Handle(), kPetKey, kPetTolerance));
    RECT box;
    EXPECT_EQ(GetRgnBox(r.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 7);
    EXPECT_EQ(box.bottom, 3);
  }
  EXPECT_EQ(BitmapToRegion(nullptr, kPetKey, kPetTolerance), nullptr);
  // A device-dependent bitmap is converted before the scan.
  {
    const win::WindowDc screen(nullptr);
    win::ScopedBitmap ddb(CreateCompatibleBitmap(screen.Get(), 8, 8));
    win::ScopedMemoryDc dc(CreateCompatibleDC(screen.Get()));
    {
      win::ScopedSelect select(dc.Get(), ddb.Get());
      win::ScopedBrush redBrush(CreateSolidBrush(RGB(255, 0, 0)));
      RECT all{0, 0, 8, 8}, dot{2, 3, 4, 4};
      FillRect(dc.Get(), &all, redBrush.Get());
      FillRect(dc.Get(), &dot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    win::ScopedRegion r(BitmapToRegion(ddb.Get(), kPetKey, kPetTolerance));
    RECT box;
    EXPECT_EQ(GetRgnBox(r.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 4);
  }
}

// A frame drawn through the list onto a background that shows what the mask left.
Bitmap Drawn(const ui::TImageList& list, int i) {
  Bitmap b(32, 32, MakePixel(1, 254, 3));
  list.Draw(i, b);
  return b;
}
Bitmap Drawn(const ImageList& list, int i) {
  Bitmap b(32, 32, MakePixel(1, 254, 3));
  list.Draw(i, b);
  return b;
}

TEST(ImageListRead, GivesExactlyTheFramesOurReaderGives) {
  ui::TApplication app;
  ui::TImageList heads(nullptr), legs(nullptr);
  ASSERT_TRUE(heads.ReadStream(assets::HeadsStream()));
  ASSERT_TRUE(legs.ReadStream(assets::LegsStream()));
  ASSERT_EQ(heads.Count(), 7);
  ASSERT_EQ(legs.Count(), 8);
  EXPECT_EQ(heads.Width(), 32);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Drawn(heads, i), Drawn(Sheets().Heads, i)) << "head " << i;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Drawn(legs, i), Drawn(Sheets().Legs, i)) << "leg " << i;
  // Out of range: the picture stays as it was.
  Bitmap untouched(3, 3, 42);
  heads.Draw(7, untouched);
  EXPECT_EQ(untouched, Bitmap(3, 3, 42));
}

TEST(ImageListRead, RefusesAStreamThatIsNotOne) {
  ui::TImageList list(nullptr);
  const std::uint8_t junk[] = {'I', 'L', 1, 1, 0, 0};
  EXPECT_FALSE(list.ReadStream(junk));
}

TEST(ImageListRead, RefusesEveryCutOfOurSheet) {
  // A stream that ends early, wherever it ends, gives no image list rather than a partial one.
  const auto heads = assets::HeadsStream();
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{27}, std::size_t{28}, heads.size() / 2}) {
    ui::TImageList list(nullptr);
    EXPECT_FALSE(list.ReadStream(heads.first(size))) << size << " bytes";
  }
}

TEST(MemoryStream, ReadsSeeksAndTellsItsSize) {
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
  ui::MemoryStream stream(bytes);
  std::uint8_t into[8] = {};
  ULONG read = 99;
  EXPECT_EQ(stream.Read(into, 2, &read), S_OK);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(into[1], 2);
  // A read across the end gives what is left and says it fell short.
  EXPECT_EQ(stream.Read(into, 8, &read), S_FALSE);
  EXPECT_EQ(read, 3u);
  EXPECT_EQ(into[2], 5);
  EXPECT_EQ(stream.Read(into, 1, &read), S_FALSE);
  EXPECT_EQ(read, 0u);

  LARGE_INTEGER move{};
  ULARGE_INTEGER at{};
  move.QuadPart = -2;
  EXPECT_EQ(stream.Seek(move, STREAM_SEEK_END, &at), S_OK);
  EXPECT_EQ(at.QuadPart, 3u);
  move.QuadPart = -4;
  EXPECT_NE(stream.Seek(move, STREAM_SEEK_CUR, &at), S_OK);  // before the start
  EXPECT_EQ(stream.Position(), 3u);
  move.QuadPart = 100;
  EXPECT_EQ(stream.Seek(move, STREAM_SEEK_SET, &at), S_OK);  // past the end: reads give nothing
  EXPECT_EQ(stream.Read(into, 1, &read), S_FALSE);
  EXPECT_EQ(read, 0u);

  STATSTG stat{};
  EXPECT_EQ(stream.Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 5u);
  IStream* again = nullptr;
  EXPECT_EQ(stream.QueryInterface(IID_IStream, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, &stream);
  again->Release();
  void* other = nullptr;
  EXPECT_EQ(stream.QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
}

int g_windowsCreated = 0;
LRESULT CALLBACK CountCreatedWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) ++g_windowsCreated;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MakeAWindow() {
  DestroyWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
}

TEST(ScopedHook, TakesItsHookOutOnceWhereverItWasMovedTo) {
  win::ScopedHook kept;
  {
    win::ScopedHook hook(SetWindowsHookExW(WH_CBT, &CountCreatedWindows, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    kept = std::move(hook);
  }
  g_windowsCreated = 0;
  MakeAWindow();
  EXPECT_GT(g_windowsCreated, 0) << "the guard it was moved from left the hook in";
  kept = win::ScopedHook();
  const int seen = g_windowsCreated;
  MakeAWindow();
  EXPECT_EQ(g_windowsCreated, seen) << "taken out with its last owner";
}

TEST(MirroredSheets, OnRealImageListsMatchThePlatformFreeOnes) {
  ui::TImageList heads(nullptr), legs(nullptr), fheads(nullptr), flegs(nullptr);
  ASSERT_TRUE(heads.ReadStream(assets::HeadsStream()));
  ASSERT_TRUE(legs.ReadStream(assets::LegsStream()));
  BuildMirroredSheets(legs, heads, flegs, fheads);
  ASSERT_EQ(fheads.Count(), 7);
  ASSERT_EQ(flegs.Count(), 8);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Drawn(fheads, i), Drawn(Sheets().FHeads, i)) << "head " << i;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Drawn(flegs, i), Drawn(Sheets().FLegs, i)) << "leg " << i;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Not a first start: no usage message or question in the way.
    HANDLE marker = CreateFileW(L"c:\\a.bat", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    SetCursorPos(400, 200);  // the pet starts at the cursor, in mid-air
    app.Initialize();
    app.Title = L"桌面Pimblo";
    form = app.CreateForm<TMainForm>();
  }
  LRESULT HotKey(UINT modifiers, UINT key) {
    return SendMessageW(form->ui::TForm::Handle(), WM_HOTKEY, 0, MAKELPARAM(modifiers, key));
  }
  ui::TApplication app;
  TMainForm* form = nullptr;
};

TEST_F(MainFormTest, StartsWithOnePetAtTheCursorTheTimerOnAndTheDefaultSpeed) {
  ASSERT_EQ(form->Pets().size(), 1u);
  // Its window stands where the cursor was (the end-to-end test moves the real
  // mouse; here another program may move it at any time).
  TZibbetWindow* pet = form->Pets()[0];
  EXPECT_EQ(pet->Pet().PosX, static_cast<float>(pet->Left()));
  EXPECT_EQ(pet->Pet().PosY, static_cast<float>(pet->Top()));
  EXPECT_EQ(pet->Pet().LegFrame, 0);
  EXPECT_EQ(pet->Pet().ShownLeg, 1);
  EXPECT_TRUE(pet->Visible());
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_FALSE(form->Timer3->Enabled());
  EXPECT_EQ(SpeedFactor, 0.988);
  EXPECT_EQ(form->PopupMenu1->Items().size(), 12u);
  EXPECT_EQ(form->FHeads->Count(), 7);
  EXPECT_EQ(form->FLegs->Count(), 8);
}

TEST_F(MainFormTest, HotKeysStopAndStartTheMotion) {
  EXPECT_EQ(HotKey(MOD_ALT | MOD_CONTROL, VK_F12), 1);
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(HotKey(MOD_ALT | MOD_CONTROL, VK_F12), 1);  // stopping twice changes nothing
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(HotKey(MOD_CONTROL, VK_F11), 0);  // other modifiers are ignored
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(HotKey(MOD_ALT | MOD_CONTROL, VK_F11), 1);
  EXPECT_TRUE(form->Timer1->Enabled());
}

TEST_F(MainFormTest, MenuCommandsWriteTheTimerAndTheSpeed) {
  form->N5Click();
  EXPECT_FALSE(form->Timer1->Enabled());
  form->N4Click();
  EXPECT_TRUE(form->Timer1->Enabled());
  form->N9Click();
  EXPECT_DOUBLE_EQ(SpeedFactor, 0.990);
  EXPECT_EQ(form->N11->Caption, L"现速度为:990");
  form->N10Click();
  form->N10Click();
  EXPECT_EQ(form->N11->Caption, L"现速度为:986");
}

TEST_F(MainFormTest, OnlyAPressOnTheIconOpensTheMenu) {
  // A move or a release returns at once, with no menu.
  for (LPARAM m : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK})
    EXPECT_EQ(SendMessageW(form->ui::TForm::Handle(), kTrayCallbackMessage, 1, m), 0);
  EXPECT_FALSE(form->PopupMenu1->IsOpen());
}

TEST_F(MainFormTest, TheIconGoesBackWhenTheNotificationAreaIsMadeAgain) {
  if (!Shell_NotifyIconW(NIM_MODIFY, &TrayIconData)) GTEST_SKIP() << "no notification area here";
  // A restarted shell has an empty notification area: as if the icon were removed.
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &TrayIconData));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &TrayIconData));
  SendMessageW(form->ui::TForm::Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &TrayIconData));
}

TEST_F(MainFormTest, ATimerEventTicksEveryVisiblePet) {
  TZibbetWindow* pet = form->Pets()[0];
  form->Timer1->SetEnabled(false);  // only the ticks made here
  pet->Pet().PosX = 400;  // in mid-air, wherever the cursor was
  pet->Pet().PosY = 200;
  const float y = pet->Pet().PosY;
  const float vy = pet->Pet().VelY;
  form->Timer1Timer();
  EXPECT_NE(pet->Pet().VelY, vy);
  EXPECT_GE(pet->Pet().PosY, y);
  EXPECT_EQ(pet->redraws, 1u);  // the first tick draws the pet
  ShowWindow(pet->ui::TForm::Handle(), SW_HIDE);
  const float vyHidden = pet->Pet().VelY;
  form->Timer1Timer();
  EXPECT_EQ(pet->Pet().VelY, vyHidden);  // hidden pets are not ticked
}

// A tick that takes longer than the interval: the timer events that pile up are
// handled inside the tick's own message handling, each ticking the pets once, and
// none of them handles the messages again, so the stack never grows with them.
TEST_F(MainFormTest, TimerEventsQueuedDuringATickDoNotNest) {
  TZibbetWindow* pet = form->Pets()[0];
  pet->Pet().PosX = 400;
  pet->Pet().PosY = 40;
  pet->Pet().VelX = 0;
  pet->Pet().VelY = 0;
  pet->Pet().AirTicks = 0;
  constexpr int kQueued = 500;
  for (int i = 0; i < kQueued; ++i) PostMessageW(app.TimerWindow(), WM_TIMER, form->Timer1->Id(), 0);
  form->Timer1Timer();
  MSG msg;
  int left = 0;
  while (PeekMessageW(&msg, app.TimerWindow(), WM_TIMER, WM_TIMER, PM_REMOVE)) ++left;
  EXPECT_LT(left, 5) << "the queued events were handled in the one tick (only the timer's own may come after)";
  EXPECT_GT(pet->Pet().PosY, 40.0f) << "ticking the pet";
  EXPECT_GT(pet->Pet().PosY, 40.0f) << "and the pet fell meanwhile";
}

TEST_F(MainFormTest, ThePetsWindowIsCutToItsPicture) {
  TZibbetWindow* pet = form->Pets()[0];
  form->Timer1->SetEnabled(false);  // only the ticks made here
  form->Timer1Timer();
  const HWND hwnd = pet->ui::TForm::Handle();
  win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(hwnd, region.Get()), ERROR);
  // The picture was drawn facing the way the pet faced when its frame changed.
  bool matches = false;
  for (bool right : {false, true}) {
    Bitmap pose;
    (right ? Sheets().Heads : Sheets().FHeads).Draw(pet->Pet().ShownHead, pose);
    (right ? Sheets().Legs : Sheets().FLegs).Draw(pet->Pet().ShownLeg, pose);
    const auto expected = RegionOf(ScanBitmap(pose, kPetKey, kPetTolerance).AllRects());
    matches = matches || EqualRgn(region.Get(), expected.Get());
  }
  EXPECT_TRUE(matches);
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(r.bottom - r.top, 32);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// Every pose, either way it faces, cuts the window to its picture: the first time from the scan,
// then from the shape kept for it (shown in another order, so each comes after other poses).
TEST_F(MainFormTest, EveryPoseCutsTheWindowToItsPicture) {
  TZibbetWindow* pet = form->Pets()[0];
  form->Timer1->SetEnabled(false);
  const HWND hwnd = pet->ui::TForm::Handle();
  for (int round = 0; round < 2; ++round)
    for (bool right : {true, false})
      for (int head = 0; head < Sheets().Heads.Count(); ++head)
        for (int leg = 0; leg < Sheets().Legs.Count(); ++leg) {
          const int h = round == 0 ? head : Sheets().Heads.Count() - 1 - head;
          pet->PreparePicture();
          pet->DrawFrame(right ? SheetId::Heads : SheetId::FHeads, h);
          pet->DrawFrame(right ? SheetId::Legs : SheetId::FLegs, leg);
          pet->ShapeToPicture(kPetKey, kPetTolerance);
          Bitmap pose;
          (right ? Sheets().Heads : Sheets().FHeads).Draw(h, pose);
          (right ? Sheets().Legs : Sheets().FLegs).Draw(leg, pose);
          win::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
          ASSERT_NE(GetWindowRgn(hwnd, region.Get()), ERROR);
          const auto expected = RegionOf(ScanBitmap(pose, kPetKey, kPetTolerance).AllRects());
          EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()))
              << "round " << round << (right ? " right" : " left") << " head " << h << " leg " << leg;
        }
}

// Hot keys another program holds already: the program starts all the same, and
// its own hot-key handling still works for the message when it comes.
TEST(Faults, HotKeysTakenByAnotherProgramAreNoObstacle) {
  HANDLE marker = CreateFileW(L"c:\\a.bat", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  const bool heldF12 = RegisterHotKey(nullptr, 0x3F01, MOD_ALT | MOD_CONTROL, VK_F12);
  const bool heldF11 = RegisterHotKey(nullptr, 0x3F02, MOD_ALT | MOD_CONTROL, VK_F11);
  {
    ui::TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TMainForm>();
    ASSERT_EQ(form->Pets().size(), 1u);
    SendMessageW(form->ui::TForm::Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_ALT | MOD_CONTROL, VK_F12));
    EXPECT_FALSE(form->Timer1->Enabled());
    SendMessageW(form->ui::TForm::Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_ALT | MOD_CONTROL, VK_F11));
    EXPECT_TRUE(form->Timer1->Enabled());
  }
  if (heldF12) UnregisterHotKey(nullptr, 0x3F01);
  if (heldF11) UnregisterHotKey(nullptr, 0x3F02);
}

}  // namespace
}  // namespace pimblo
