// The whole-program measurements' hands inside the Wine desktop.
//   pbprobe cursor X Y                  puts the mouse pointer there
//   pbprobe census pimblo|floor N …     the census answers N … of the program's main window, "N=value" each
//   pbprobe close pimblo|floor          asks the program's main window to close
//   pbprobe launch pimblo|floor EXE [ARG …]
//                                       starts the program and waits for its first picture: the pet's window
//                                       shown and cut to the pet's first frame, or the floor's window shown;
//                                       prints the milliseconds from the start, then ends the program
//   pbprobe callcost KIND SECONDS       makes one kind of platform call for SECONDS, between the lines "go"
//                                       and "done N MICROSECONDS_PER_CALL"; the kinds: hit-window, hit-desktop,
//                                       rect, metric-screen, metric-desktop, top, cursor, move, raise, pump,
//                                       redraw; and the move with one more flag: move-nosendchanging,
//                                       move-nocopybits, move-noownerzorder, move-deferred (SWP_DEFERERASE)
//   pbprobe skinload EXE COUNT          reads the program's carried skin COUNT times, the way it does at start;
//                                       prints the fastest and the median milliseconds
// With PIMBLO_DESKTOP set it joins that Wine desktop first.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "look/win_skin_data.h"

namespace {

constexpr wchar_t kHostTitle[] = L"Pimblo test window";

HWND MainWindow(const std::wstring& which) {
  return which == L"floor" ? FindWindowW(L"PimbloFloor", nullptr) : FindWindowW(L"TPimbloForm", L"u");
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The first picture of a process: the pet's 32 × 32 window shown with a region
// (the first frame is drawn and cut on the first tick), or the floor's window shown.
struct Search {
  DWORD pid;
  bool pet;
  bool found = false;
};

BOOL CALLBACK FindPicture(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->pid || !IsWindowVisible(w)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  RECT r;
  GetWindowRect(w, &r);
  if (r.right - r.left != 32 || r.bottom - r.top != 32) return TRUE;
  if (s->pet) {
    if (std::wstring(cls) != L"TPimbloForm") return TRUE;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int type = GetWindowRgn(w, region);
    DeleteObject(region);
    if (type == ERROR || type == NULLREGION) return TRUE;
  } else if (std::wstring(cls) != L"PimbloFloorPet") {
    return TRUE;
  }
  s->found = true;
  return FALSE;
}

int Launch(bool pet, int argc, wchar_t** argv) {
  std::wstring command;
  for (int i = 0; i < argc; ++i) command += (i ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring desktop;
  if (const wchar_t* name = _wgetenv(L"PIMBLO_DESKTOP")) {
    desktop = name;
    si.lpDesktop = desktop.data();
  }
  PROCESS_INFORMATION pi{};
  const double start = Now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start\n");
    return 1;
  }
  Search search{pi.dwProcessId, pet};
  while (Now() - start < 30) {
    EnumWindows(FindPicture, reinterpret_cast<LPARAM>(&search));
    if (search.found) break;
    Sleep(1);
  }
  const double ms = (Now() - start) * 1000;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (!search.found) {
    std::printf("none\n");
    return 1;
  }
  std::printf("%.1f\n", ms);
  return 0;
}

// A 32 × 32 topmost window of our own above the host window, as a pet stands.
HWND MakeOwnWindow(int x, int y) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      PatBlt(dc, 0, 0, 32, 32, BLACKNESS);
      EndPaint(w, &ps);
      return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(w, msg, wp, lp);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PimbloProbe";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, x, y, 32, 32, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ShowWindow(w, SW_SHOWNOACTIVATE);
  UpdateWindow(w);
  return w;
}

HRGN Disc() {
  std::vector<unsigned char> bytes(sizeof(RGNDATAHEADER) + 100 * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  SetRect(&data->rdh.rcBound, 0, 0, 32, 32);
  RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (int y = 0; y < 32; ++y) {
    const int half = 4 + (y < 16 ? y : 31 - y);
    SetRect(&rects[data->rdh.nCount++], 16 - half / 2 - 2, y, 16 + half / 2 + 2, y + 1);
  }
  return ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()), data);
}

volatile LONG_PTR sink;

int CallCost(const std::wstring& kind, double seconds) {
  HWND host = FindWindowW(nullptr, kHostTitle);
  RECT hostRect{300, 400, 700, 600};
  if (host) GetWindowRect(host, &hostRect);
  const int x = (hostRect.left + hostRect.right) / 2, y = hostRect.top - 33;
  HWND own = MakeOwnWindow(x, y);
  SetWindowRgn(own, Disc(), TRUE);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  Sleep(300);
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  int dx = 1, ox = x;
  auto once = [&]() -> bool {
    if (kind == L"hit-window") {
      sink = reinterpret_cast<LONG_PTR>(WindowFromPoint(POINT{x, hostRect.top}));
    } else if (kind == L"hit-desktop") {
      sink = reinterpret_cast<LONG_PTR>(WindowFromPoint(POINT{x, y - 60}));
    } else if (kind == L"rect") {
      RECT r;
      sink = GetWindowRect(host ? host : GetDesktopWindow(), &r);
    } else if (kind == L"metric-screen") {
      sink = GetSystemMetrics(SM_CXSCREEN);
    } else if (kind == L"metric-desktop") {
      sink = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    } else if (kind == L"top") {
      sink = reinterpret_cast<LONG_PTR>(GetTopWindow(nullptr));
    } else if (kind == L"cursor") {
      POINT p;
      sink = GetCursorPos(&p);
    } else if (kind.starts_with(L"move")) {
      // The pet's move, and the same with other flags: the study of where a move's time goes.
      UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
      if (kind == L"move-nosendchanging") flags |= SWP_NOSENDCHANGING;
      if (kind == L"move-nocopybits") flags |= SWP_NOCOPYBITS;
      if (kind == L"move-noownerzorder") flags |= SWP_NOOWNERZORDER;
      if (kind == L"move-deferred") flags |= SWP_DEFERERASE;
      if (ox > x + 40 || ox < x - 40) dx = -dx;
      ox += dx;
      SetWindowPos(own, nullptr, ox, y, 0, 0, flags);
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    } else if (kind == L"raise") {
      SetWindowPos(own, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    } else if (kind == L"pump") {
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    } else if (kind == L"redraw") {
      HRGN region = Disc();
      if (!SetWindowRgn(own, region, TRUE)) DeleteObject(region);
      InvalidateRect(own, nullptr, FALSE);
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    } else {
      return false;
    }
    return true;
  };
  if (!once()) {
    std::printf("unknown kind\n");
    return 2;
  }
  std::printf("go\n");
  std::fflush(stdout);
  long long calls = 0;
  const double start = Now();
  double now = start;
  while (now - start < seconds) {
    for (int i = 0; i < 100; ++i) once();
    calls += 100;
    now = Now();
  }
  std::printf("done %lld %.3f\n", calls, (now - start) * 1e6 / static_cast<double>(calls));
  std::fflush(stdout);
  Sleep(1000);  // time for the caller to read the processes' clocks
  DestroyWindow(own);
  return 0;
}

int SkinLoad(const wchar_t* exe, int count) {
  HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = module ? FindResourceW(module, L"SKINSTREAM", MAKEINTRESOURCEW(10)) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) {
    std::printf("no skin\n");
    return 1;
  }
  const std::span<const std::uint8_t> value(static_cast<const std::uint8_t*>(LockResource(loaded)),
                                            SizeofResource(module, found));
  std::vector<double> ms;
  for (int i = 0; i < count; ++i) {
    const double start = Now();
    pimblo::TSkinData skin;
    skin.ReadSkinStream(value);
    ms.push_back((Now() - start) * 1000);
    if (skin.Empty()) {
      std::printf("skin empty\n");
      return 1;
    }
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%.3f %.3f\n", ms.front(), ms[ms.size() / 2]);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (const wchar_t* name = _wgetenv(L"PIMBLO_DESKTOP")) {
    if (HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desktop);
  }
  const std::wstring cmd = argc > 1 ? argv[1] : L"";
  if (cmd == L"cursor" && argc == 4) return SetCursorPos(_wtoi(argv[2]), _wtoi(argv[3])) ? 0 : 1;
  if (cmd == L"census" && argc >= 4) {
    HWND main = MainWindow(argv[2]);
    if (!main) return 1;
    const UINT census = RegisterWindowMessageW(L"PimbloCensus");
    for (int i = 3; i < argc; ++i) {
      DWORD_PTR value = 0;
      if (!SendMessageTimeoutW(main, census, static_cast<WPARAM>(_wtoi(argv[i])), 0, SMTO_ABORTIFHUNG, 2000, &value))
        return 1;
      std::printf("%s%ls=%lld", i > 3 ? " " : "", argv[i], static_cast<long long>(value));
    }
    std::printf("\n");
    return 0;
  }
  if (cmd == L"close" && argc == 3) {
    HWND main = MainWindow(argv[2]);
    return main && PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (cmd == L"launch" && argc >= 4) return Launch(std::wstring(argv[2]) == L"pimblo", argc - 3, argv + 3);
  if (cmd == L"callcost" && argc == 4) return CallCost(argv[2], _wtof(argv[3]));
  if (cmd == L"skinload" && argc == 4) return SkinLoad(argv[2], _wtoi(argv[3]));
  std::fputs("usage: pbprobe cursor X Y | census pimblo|floor N… | close pimblo|floor | launch pimblo|floor EXE … |"
             " callcost KIND SECONDS | skinload EXE COUNT\n",
             stderr);
  return 2;
}
