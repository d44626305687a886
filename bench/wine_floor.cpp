// The floors a pet is measured against on a Wine desktop: a Windows program of
// the pet's make-up (a hidden main window and a 32 × 32 topmost window cut to a
// shape) that does nothing, ticks without work, or makes per tick exactly the
// platform calls of a pet's tick.
//   pbfloor idle                no timer
//   pbfloor timer               a 10 ms timer whose handler does nothing
//   pbfloor calls NAME=RATE …   a 10 ms timer whose every tick first handles the waiting messages, as the
//                               pet's timer does, then makes the calls at the given average rates per tick:
//                                 hit     WindowFromPoint at the points a walker probes
//                                 rect    GetWindowRect of the window last hit
//                                 metric  GetSystemMetrics, the screen and desktop sizes in a walker's mix
//                                 top     GetTopWindow
//                                 cursor  GetCursorPos
//                                 move    SetWindowPos one pixel on, walking to and fro along the host's top
//                                 raise   SetWindowPos to the top of the topmost band
//                                 redraw  a picture drawn from two frames, a region scanned from it and set
//                                         with SetWindowRgn, and a repaint
//                               With the pet's pictures (from=) the window's moves and redraws are not made at
//                               rates but where and when a pet would make them: the pet's own motion runs on
//                               a simulated copy of the desktop (the screen and the host window), and the
//                               window follows it with the same calls the pet's window makes.
//   at=X,Y                      where the window stands (400,367: on the top edge of a window at y 400)
//   from=PIMBLO.EXE             the pictures: the pet's own frames from the program's resources, so that the
//                               window has the pet's outline and reshapes as the pet's does (a disc without)
//   ncpaint=default             leaves the non-client painting to the system; by default the window, which has
//                               no non-client area, answers it with nothing
//   tray=1                      puts an icon in the notification area, as the pet's program does
//   imagelist=1                 loads the common controls and keeps an image list of one 32 × 32 picture, as
//                               the pet's program keeps its sheets (with timer and tray=1: floor B', what the
//                               program must load, and nothing done)
// The main window answers the census message "PimbloCensus" with 3 for its ticks, 8 for its window
// moves and 10 for its redraws.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>
#include <span>
#include <string>

#include "pet/random.h"
#include "pet/zibbet.h"
#include "sprites/pet_sheets.h"
#include "sprites/region_scan.h"
#include "tools/sim/sim_desktop.h"

namespace {

constexpr wchar_t kClass[] = L"PimbloFloor";

enum Kind { kHit, kRect, kMetric, kTop, kCursor, kMove, kRaise, kRedraw, kKinds };
constexpr const wchar_t* kNames[kKinds] = {L"hit", L"rect", L"metric", L"top", L"cursor", L"move", L"raise", L"redraw"};

struct Floor {
  HWND main = nullptr, pet = nullptr;
  bool working = false;
  std::array<double, kKinds> rate{}, owed{};
  long long ticks = 0;
  int x = 400, y = 367, heading = -1;
  HWND lastHit = nullptr;
  int hitIndex = 0, metricIndex = 0;
  bool defaultNcPaint = false;
  // The picture and the two frames it is drawn from (a head, a masked leg).
  HBITMAP picture = nullptr, head = nullptr, leg = nullptr, legMask = nullptr;
  DWORD* pictureBits = nullptr;
  bool flip = false;
  // The pet's sheets when the program's pictures are at hand: the walk cycle's
  // legs 1 to 5 under the resting head, facing the way the window walks.
  std::optional<pimblo::PetSheets> sheets;
  int legFrame = 1;
  long long moves = 0, redraws = 0;
} g;

// The pet's motion on a simulated copy of the desktop, which the floor's window
// follows.
struct Shadow {
  pimblo::SimDesktop desktop;
  pimblo::SimPetWindow window;
  pimblo::LinearRandom random;
  double speedFactor = 0.988;
  pimblo::TZibbetForm pet;
  std::int64_t redraws = 0;
  Shadow(int width, int height, pimblo::Rect host, const pimblo::PetSheets& sheets, int x, int y)
      : desktop(width, height), window(desktop, sheets, {x, y}), random(GetTickCount()),
        pet(desktop, window, random, speedFactor, GetTickCount() | 1) {
    desktop.SetWindows({host});
    pet.PosX = static_cast<float>(x);
    pet.PosY = static_cast<float>(y);
    pet.LegFrame = 0;
    pet.ShownLeg = 1;
  }
};
std::optional<Shadow> shadow;

HBITMAP MakeDib(int w, int h, DWORD** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<DWORD*>(p);
  return b;
}

// A disc on red, bottom-up rows: the pet's 32 rows of one run each.
bool Inside(int x, int y) { return (2 * x - 31) * (2 * x - 31) + (2 * y - 31) * (2 * y - 31) <= 30 * 30; }

std::span<const std::uint8_t> Resource(HMODULE module, const wchar_t* name) {
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return {};
  return {static_cast<const std::uint8_t*>(LockResource(loaded)), SizeofResource(module, found)};
}

void LoadSheets(const std::wstring& exe) {
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return;
  auto loaded = pimblo::LoadPetSheets(Resource(module, L"HEADS"), Resource(module, L"LEGS"));
  if (auto* sheets = std::get_if<pimblo::PetSheets>(&loaded)) g.sheets = std::move(*sheets);
  FreeLibrary(module);
}

void MakePictures() {
  DWORD* bits;
  g.picture = MakeDib(32, 32, &bits);
  g.pictureBits = bits;
  g.head = MakeDib(32, 32, &bits);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) bits[(31 - y) * 32 + x] = Inside(x, y) ? 0x00306090 : 0x00FF0000;
  g.leg = MakeDib(32, 32, &bits);
  for (int i = 0; i < 32 * 32; ++i) bits[i] = 0x00204080;
  g.legMask = CreateBitmap(32, 32, 1, 1, nullptr);
}

// The pet's region routine: a scan copy of the picture, a movable buffer of 100
// rectangles, one ExtCreateRegion.
HRGN RegionOf(HBITMAP picture) {
  HDC dc = CreateCompatibleDC(nullptr);
  DWORD* bits;
  HBITMAP copy = MakeDib(32, 32, &bits);
  HGDIOBJ old = SelectObject(dc, copy);
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ oldSrc = SelectObject(src, picture);
  BitBlt(dc, 0, 0, 32, 32, src, 0, 0, SRCCOPY);
  SelectObject(src, oldSrc);
  DeleteDC(src);
  GdiFlush();
  const DWORD bytes = sizeof(RGNDATAHEADER) + 100 * sizeof(RECT);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  auto* data = static_cast<RGNDATA*>(GlobalLock(block));
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nRgnSize = 0;
  data->rdh.nCount = 0;
  SetRect(&data->rdh.rcBound, 0, 0, 32, 32);
  RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
  const pimblo::KeyRange key = pimblo::MakeKeyRange(pimblo::kPetKey, pimblo::kPetTolerance);
  for (int y = 0; y < 32 && data->rdh.nCount <= 100 - 16; ++y) {
    const DWORD* row = bits + (31 - y) * 32;
    int x = 0;
    while (x < 32) {
      const int x0 = x;
      while (x < 32 && !pimblo::IsKeyPixel(row[x], key)) ++x;
      if (x > x0) SetRect(&rects[data->rdh.nCount++], x0, y, x, y + 1);
      ++x;
    }
  }
  HRGN region = ExtCreateRegion(nullptr, bytes, data);
  GlobalUnlock(block);
  GlobalFree(block);
  SelectObject(dc, old);
  DeleteObject(copy);
  DeleteDC(dc);
  return region;
}

// The pet's picture, composed from its sheets (the shadow pet's, or the next of
// the walk cycle) and copied into the picture's rows as the image lists draw.
void DrawPetFrame() {
  pimblo::Bitmap frame;
  if (shadow) {
    frame = shadow->window.Picture();
  } else {
    const bool right = g.heading > 0;
    g.sheets->Get(right ? pimblo::SheetId::Heads : pimblo::SheetId::FHeads).Draw(6, frame);
    g.sheets->Get(right ? pimblo::SheetId::Legs : pimblo::SheetId::FLegs).Draw(g.legFrame, frame);
    g.legFrame = g.legFrame % 5 + 1;
  }
  if (frame.width < 32 || frame.height < 32) return;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, g.picture);
  for (int y = 0; y < 32 && y < frame.height; ++y)
    std::memcpy(g.pictureBits + (31 - y) * 32, &frame.pixels[static_cast<std::size_t>(y * frame.width)], 32 * 4);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
}

void Redraw() {
  ++g.redraws;
  if (g.sheets) {
    DrawPetFrame();
    HRGN region = RegionOf(g.picture);
    if (!SetWindowRgn(g.pet, region, TRUE) && region) DeleteObject(region);
    InvalidateRect(g.pet, nullptr, FALSE);
    return;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, g.picture);
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ oldSrc = SelectObject(src, g.head);
  BitBlt(dc, 0, 0, 32, 32, src, 0, 0, SRCCOPY);
  SelectObject(src, g.legMask);
  BitBlt(dc, 0, 24, 32, 8, src, 0, 24, SRCAND);
  SelectObject(src, g.leg);
  BitBlt(dc, g.flip ? 1 : 0, 24, 31, 8, src, 0, 24, SRCPAINT);
  g.flip = !g.flip;
  SelectObject(src, oldSrc);
  DeleteDC(src);
  SelectObject(dc, old);
  DeleteDC(dc);
  HRGN region = RegionOf(g.picture);
  if (!SetWindowRgn(g.pet, region, TRUE) && region) DeleteObject(region);
  InvalidateRect(g.pet, nullptr, FALSE);
}

// The points a settled walker on the edge below probes, in order.
POINT HitPoint() {
  const POINT points[5] = {{g.x, g.y}, {g.x, g.y + 32}, {g.x, g.y + 33}, {g.x + 32, g.y + 33}, {g.x + 16, g.y + 33}};
  const POINT p = points[g.hitIndex];
  g.hitIndex = (g.hitIndex + 1) % 5;
  return p;
}

int NextMetric() {
  // Five points' screen width and height, the desktop's four bounds, the clamp's two.
  static constexpr int mix[16] = {SM_CXSCREEN,       SM_CYSCREEN,       SM_CXSCREEN,       SM_CYSCREEN,
                                  SM_CXSCREEN,       SM_CYSCREEN,       SM_CXSCREEN,       SM_CYSCREEN,
                                  SM_CXSCREEN,       SM_CYSCREEN,       SM_XVIRTUALSCREEN, SM_CXVIRTUALSCREEN,
                                  SM_YVIRTUALSCREEN, SM_CYVIRTUALSCREEN, SM_CXSCREEN,       SM_CYSCREEN};
  const int m = mix[g.metricIndex];
  g.metricIndex = (g.metricIndex + 1) % 16;
  return m;
}

volatile LONG_PTR sink;

void Call(Kind kind) {
  switch (kind) {
    case kHit: g.lastHit = WindowFromPoint(HitPoint()); break;
    case kRect: {
      RECT r;
      sink = GetWindowRect(g.lastHit ? g.lastHit : GetDesktopWindow(), &r) ? r.left : 0;
      break;
    }
    case kMetric: sink = GetSystemMetrics(NextMetric()); break;
    case kTop: sink = reinterpret_cast<LONG_PTR>(GetTopWindow(nullptr)); break;
    case kCursor: {
      POINT p;
      GetCursorPos(&p);
      sink = p.x;
      break;
    }
    case kMove:
      if (g.x <= 310 || g.x >= 660) g.heading = -g.heading;
      g.x += g.heading;
      ++g.moves;
      SetWindowPos(g.pet, nullptr, g.x, g.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case kRaise:
      SetWindowPos(g.pet, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
      break;
    case kRedraw: Redraw(); break;
    case kKinds: break;
  }
}

void Tick() {
  ++g.ticks;
  if (!g.working) return;
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  // The calls in the order a tick makes them: probes with their metrics and
  // rectangles, the bounds, the move, the top-window query, the redraw.
  for (int k = 0; k < kKinds; ++k) g.owed[k] += g.rate[k];
  while (g.owed[kHit] >= 1 || g.owed[kMetric] >= 1 || g.owed[kRect] >= 1) {
    for (int i = 0; i < 2 && g.owed[kMetric] >= 1; ++i, g.owed[kMetric] -= 1) Call(kMetric);
    if (g.owed[kHit] >= 1) {
      Call(kHit);
      g.owed[kHit] -= 1;
    }
    if (g.owed[kRect] >= 1) {
      Call(kRect);
      g.owed[kRect] -= 1;
    }
  }
  if (shadow) {
    // The window follows the shadow pet: left and top each with its own call when
    // it changed, the picture and shape when the pet redrew.
    shadow->pet.MoveZibbet();
    if (shadow->window.Left() != g.x) {
      g.x = shadow->window.Left();
      ++g.moves;
      SetWindowPos(g.pet, nullptr, g.x, g.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (shadow->window.Top() != g.y) {
      g.y = shadow->window.Top();
      ++g.moves;
      SetWindowPos(g.pet, nullptr, g.x, g.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (Kind k : {kCursor, kTop, kRaise})
      for (; g.owed[k] >= 1; g.owed[k] -= 1) Call(k);
    if (shadow->desktop.counts.redraws != shadow->redraws) {
      shadow->redraws = shadow->desktop.counts.redraws;
      Redraw();
    }
    g.owed[kMove] = g.owed[kRedraw] = 0;
    return;
  }
  for (Kind k : {kCursor, kMove, kTop, kRaise, kRedraw})
    for (; g.owed[k] >= 1; g.owed[k] -= 1) Call(k);
}

UINT censusMessage;

LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    Tick();
    return 0;
  }
  if (msg == censusMessage) {
    switch (wp) {
      case 3: return static_cast<LRESULT>(g.ticks);
      case 8: return static_cast<LRESULT>(g.moves);
      case 10: return static_cast<LRESULT>(g.redraws);
      default: return -1;
    }
  }
  if (msg == WM_CLOSE) {
    DestroyWindow(w);
    return 0;
  }
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, msg, wp, lp);
}

LRESULT CALLBACK PetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, g.picture);
      BitBlt(dc, 0, 0, 32, 32, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCPAINT:
      if (g.defaultNcPaint) return DefWindowProcW(w, msg, wp, lp);
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProcW(w, msg, wp, lp);
  }
}

}  // namespace

// The notification-area icon, through shell32 loaded only when it is asked for,
// so that the plain floors load no more than user32 and gdi32.
void AddTrayIcon(HWND owner) {
  using Notify = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAW*);
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  auto notify = shell ? reinterpret_cast<Notify>(reinterpret_cast<void*>(GetProcAddress(shell, "Shell_NotifyIconW"))) : nullptr;
  if (!notify) return;
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = owner;
  data.uID = 1;
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  std::wcscpy(data.szTip, L"floor");
  notify(NIM_ADD, &data);
}

// The common controls with an image list, loaded only when asked for, like the tray icon.
void KeepImageList() {
  using Create = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
  using Add = int(WINAPI*)(HIMAGELIST, HBITMAP, HBITMAP);
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  auto create = controls ? reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(controls, "ImageList_Create"))) : nullptr;
  auto add = controls ? reinterpret_cast<Add>(reinterpret_cast<void*>(GetProcAddress(controls, "ImageList_Add"))) : nullptr;
  if (!create || !add) return;
  HIMAGELIST list = create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 0);
  DWORD* bits = nullptr;
  HBITMAP picture = MakeDib(32, 32, &bits);
  if (list && picture) add(list, picture, nullptr);
  if (picture) DeleteObject(picture);
}

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  bool tray = false;
  if (mode != L"idle" && mode != L"timer" && mode != L"calls") {
    std::fputws(L"usage: pbfloor idle | timer | calls NAME=RATE … [at=X,Y]\n", stderr);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    std::wstring a = argv[i];
    const auto eq = a.find(L'=');
    if (eq == std::wstring::npos) continue;
    const std::wstring name = a.substr(0, eq), value = a.substr(eq + 1);
    if (name == L"from") {
      LoadSheets(value);
      continue;
    }
    if (name == L"ncpaint") {
      g.defaultNcPaint = value == L"default";
      continue;
    }
    if (name == L"tray") {
      tray = value == L"1";
      continue;
    }
    if (name == L"imagelist") {
      if (value == L"1") KeepImageList();
      continue;
    }
    if (name == L"at") {
      g.x = _wtoi(value.c_str());
      const auto comma = value.find(L',');
      if (comma != std::wstring::npos) g.y = _wtoi(value.c_str() + comma + 1);
      continue;
    }
    for (int k = 0; k < kKinds; ++k)
      if (name == kNames[k]) g.rate[k] = std::wcstod(value.c_str(), nullptr);
  }
  g.working = mode == L"calls";
  censusMessage = RegisterWindowMessageW(L"PimbloCensus");

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  WNDCLASSW pc{};
  pc.lpfnWndProc = PetProc;
  pc.hInstance = instance;
  pc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  pc.lpszClassName = L"PimbloFloorPet";
  RegisterClassW(&pc);

  g.main = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, L"floor", WS_POPUP, GetSystemMetrics(SM_CXSCREEN) / 2,
                           GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, nullptr);
  MakePictures();
  g.pet = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, pc.lpszClassName, L"", WS_POPUP, g.x, g.y, 32, 32, nullptr,
                          nullptr, instance, nullptr);
  if (tray) AddTrayIcon(g.main);
  if (g.working && g.sheets) {
    RECT host{300, 400, 700, 600};
    if (HWND w = FindWindowW(nullptr, L"Pimblo test window")) GetWindowRect(w, &host);
    shadow.emplace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                   pimblo::Rect{host.left, host.top, host.right, host.bottom}, *g.sheets, g.x, g.y);
  }
  Redraw();
  ShowWindow(g.pet, SW_SHOWNOACTIVATE);
  if (mode != L"idle") SetTimer(g.main, 1, 10, nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
