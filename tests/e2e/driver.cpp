// The end-to-end tests' hands and eyes inside the Wine desktop: finds the pet and
// the menu, reads rectangles and texts, presses hot keys with SendInput, and
// hosts an ordinary window for the pet to walk on.
//   driver pet                       L T R B of the pet's window
//   driver wait-pet SECONDS          the same, once the pet is there
//   driver watch-pet SECONDS MS      "ms L T" every MS milliseconds
//   driver menu                      "items N L T R B" of the open popup menu
//   driver menu-selected             the position of its highlighted item, -1 when none is
//   driver hotkey F11|F12            Ctrl+Alt+F11 or F12
//   driver host L T R B SECONDS      an ordinary window with an edit box
//   driver text TITLE                the text of that window's edit box
//   driver tooltip                   the text of a visible tooltip
//   driver foreground                the title of the foreground window
//   driver capture TITLE|pet         1 when that window holds the mouse (its thread's capture)
//   driver dialog                    "caption|text" of an open message box
//   driver press ID                  presses a message box's button (1 OK, 6 Yes, 7 No)
//   driver visible TITLE             1 when a window of that title is showing
//   driver window TITLE              its rectangle
//   driver click-button TITLE TEXT   presses a button of that window
//   driver pets                      every pet's rectangle, one a line
//   driver skinned TITLE|pet         the window's answer to the skin's query
//   driver activate|iconic|restore TITLE|pet, resize TITLE|pet W H, move TITLE|pet X Y, region TITLE|pet, client TITLE|pet
//   driver display W H               changes the screen's size (a display change, as a user makes it)
//   driver metrics                   "dpi D bits B" and the menu, caption and message fonts, "FACE HEIGHT" a line
//   driver at X Y                    "CLASS L T R B" of the window at that point
//   driver help-layout TITLE         the help window's text: "lines N overlap K bottom B height H" (overlap: lines
//                                    whose text runs under the button; bottom: the last line's, in the memo)
//   driver resources                 the pet's process: GDI and USER objects as the system counts them, then as
//                                    the program counts its own (GDI, USER, image lists), then its windows
#include <windows.h>

#include <vector>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/census.h"

namespace {

constexpr wchar_t kHostTitle[] = L"Pimblo test window";

HWND FindPet() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        RECT r;
        GetWindowRect(w, &r);
        if (std::wstring(cls) == L"TPimbloForm" && IsWindowVisible(w) && r.right - r.left == 32 &&
            r.bottom - r.top == 32) {
          reinterpret_cast<Search*>(p)->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindClass(const wchar_t* name) {
  struct Search {
    const wchar_t* name;
    HWND found = nullptr;
  } search{name};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (std::wstring(cls) == s->name && IsWindowVisible(w)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int PrintRect(HWND w) {
  if (!w) {
    std::puts("none");
    return 1;
  }
  RECT r;
  GetWindowRect(w, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) MoveWindow(GetWindow(w, GW_CHILD), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
  if (msg == WM_SETFOCUS) SetFocus(GetWindow(w, GW_CHILD));
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, msg, wp, lp);
}

int Host(int l, int t, int r, int b, int seconds) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PimbloTestHost";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, kHostTitle, WS_OVERLAPPEDWINDOW, l, t, r - l, b - t, nullptr, nullptr,
                           wc.hInstance, nullptr);
  RECT client;
  GetClientRect(w, &client);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, client.right, client.bottom, w, nullptr,
                  wc.hInstance, nullptr);
  ShowWindow(w, SW_SHOWNORMAL);
  SetTimer(w, 1, static_cast<UINT>(seconds) * 1000, [](HWND hwnd, UINT, UINT_PTR, DWORD) { DestroyWindow(hwnd); });
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}

std::string Utf8(const std::wstring& s) {
  std::string out(s.size() * 4 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::wstring TextOf(HWND w) {
  wchar_t buffer[4096] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buffer;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Rectangles in device pixels at every display scale, as the pet sees them.
  SetProcessDPIAware();
  // Join the virtual desktop the program runs in.
  if (const wchar_t* name = _wgetenv(L"PIMBLO_DESKTOP")) {
    if (HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desktop);
  }
  const std::wstring cmd = argc > 1 ? argv[1] : L"";
  if (cmd == L"pet") return PrintRect(FindPet());
  if (cmd == L"pets") {
    // Every pet on the desktop, one rectangle a line.
    EnumWindows(
        [](HWND w, LPARAM) -> BOOL {
          wchar_t cls[64] = {};
          GetClassNameW(w, cls, 64);
          RECT r;
          GetWindowRect(w, &r);
          if (std::wstring(cls) == L"TPimbloForm" && IsWindowVisible(w) && r.right - r.left == 32 &&
              r.bottom - r.top == 32)
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
          return TRUE;
        },
        0);
    return 0;
  }
  if (cmd == L"wait-pet" && argc == 3) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(_wtoi(argv[2])) * 1000;
    while (!FindPet() && GetTickCount() < end) Sleep(20);
    return PrintRect(FindPet());
  }
  if (cmd == L"watch-pet" && argc == 4) {
    const DWORD start = GetTickCount(), end = start + static_cast<DWORD>(_wtoi(argv[2])) * 1000;
    while (GetTickCount() < end) {
      HWND pet = FindPet();
      RECT r{};
      if (pet) GetWindowRect(pet, &r);
      std::printf("%lu %ld %ld\n", GetTickCount() - start, r.left, r.top);
      std::fflush(stdout);
      Sleep(static_cast<DWORD>(_wtoi(argv[3])));
    }
    return 0;
  }
  if (cmd == L"menu") {
    HWND menu = FindClass(L"#32768");
    if (!menu) {
      std::puts("none");
      return 1;
    }
    HMENU h = reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
    RECT r;
    GetWindowRect(menu, &r);
    std::printf("items %d %ld %ld %ld %ld\n", h ? GetMenuItemCount(h) : -1, r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == L"menu-selected") {
    HWND menu = FindClass(L"#32768");
    HMENU h = menu ? reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)) : nullptr;
    if (!h) return 1;
    int selected = -1;
    for (int i = 0; i < GetMenuItemCount(h); ++i)
      if (GetMenuState(h, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) selected = i;
    std::printf("%d\n", selected);
    return 0;
  }
  if (cmd == L"hotkey" && argc == 3) {
    const WORD vk = std::wstring(argv[2]) == L"F11" ? VK_F11 : VK_F12;
    Key(VK_CONTROL, false);
    Key(VK_MENU, false);
    Key(vk, false);
    Key(vk, true);
    Key(VK_MENU, true);
    Key(VK_CONTROL, true);
    Sleep(200);
    return 0;
  }
  if (cmd == L"host" && argc == 7)
    return Host(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]));
  if (cmd == L"text" && argc == 3) {
    HWND w = FindWindowW(nullptr, argv[2]);
    if (!w) return 1;
    std::printf("%s\n", Utf8(TextOf(GetWindow(w, GW_CHILD))).c_str());
    return 0;
  }
  if (cmd == L"tooltip") {
    HWND tip = FindClass(L"tooltips_class32");
    if (!tip) return 1;
    std::printf("%s\n", Utf8(TextOf(tip)).c_str());
    return 0;
  }
  if (cmd == L"dialog") {
    // A message box: "caption|text".
    HWND dialog = FindClass(L"#32770");
    if (!dialog) {
      std::puts("none");
      return 1;
    }
    struct Found {
      std::wstring text;
    } found;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM p) -> BOOL {
          wchar_t cls[32] = {};
          GetClassNameW(child, cls, 32);
          std::wstring text = TextOf(child);
          if (std::wstring(cls) == L"Static" && !text.empty()) reinterpret_cast<Found*>(p)->text = text;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::printf("%s|%s\n", Utf8(TextOf(dialog)).c_str(), Utf8(found.text).c_str());
    return 0;
  }
  if (cmd == L"press" && argc == 3) {
    HWND dialog = FindClass(L"#32770");
    if (!dialog) return 1;
    const int id = _wtoi(argv[2]);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return 0;
  }
  if (cmd == L"visible" && argc == 3) {
    HWND w = FindWindowW(nullptr, argv[2]);
    std::printf("%d\n", w && IsWindowVisible(w) && !IsIconic(w) ? 1 : 0);
    return 0;
  }
  if (cmd == L"window" && argc == 3) return PrintRect(FindWindowW(nullptr, argv[2]));
  if (cmd == L"click-button" && argc == 4) {
    HWND w = FindWindowW(nullptr, argv[2]);
    HWND button = w ? FindWindowExW(w, nullptr, L"Button", argv[3]) : nullptr;
    if (!button) return 1;
    PostMessageW(button, BM_CLICK, 0, 0);
    return 0;
  }
  // The skinned frame: the answer to the skin query, the placement, the region and the client area.
  auto target = [&](const wchar_t* name) { return std::wstring(name) == L"pet" ? FindPet() : FindWindowW(nullptr, name); };
  if (cmd == L"skinned" && argc == 3) {
    HWND w = target(argv[2]);
    DWORD_PTR answer = 0;
    if (!w || !SendMessageTimeoutW(w, 0x3504, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer)) return 1;
    std::printf("%d\n", static_cast<int>(answer));
    return 0;
  }
  if (cmd == L"activate" && argc == 3) {
    HWND w = target(argv[2]);
    if (!w) return 1;
    SetForegroundWindow(w);
    return 0;
  }
  if (cmd == L"capture" && argc == 3) {
    HWND w = target(argv[2]);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!w || !GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return 1;
    std::printf("%d\n", info.hwndCapture == w ? 1 : 0);
    return 0;
  }
  if (cmd == L"iconic" && argc == 3) {
    HWND w = target(argv[2]);
    std::printf("%d\n", w && IsIconic(w) ? 1 : 0);
    return 0;
  }
  if (cmd == L"restore" && argc == 3) {
    HWND w = target(argv[2]);
    if (!w) return 1;
    ShowWindow(w, SW_RESTORE);
    return 0;
  }
  if (cmd == L"resize" && argc == 5) {
    HWND w = target(argv[2]);
    if (!w) return 1;
    SetWindowPos(w, nullptr, 0, 0, _wtoi(argv[3]), _wtoi(argv[4]), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  if (cmd == L"move" && argc == 5) {
    HWND w = target(argv[2]);
    if (!w) return 1;
    SetWindowPos(w, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  if (cmd == L"region" && argc == 3) {
    // The window region's bounds and rectangle count, or "none".
    HWND w = target(argv[2]);
    if (!w) return 1;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int type = GetWindowRgn(w, region);
    if (type == ERROR) {
      std::printf("none\n");
    } else {
      RECT box{};
      GetRgnBox(region, &box);
      const DWORD bytes = GetRegionData(region, 0, nullptr);
      std::vector<unsigned char> data(bytes);
      GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data()));
      std::printf("%ld %ld %ld %ld %lu\n", box.left, box.top, box.right, box.bottom,
                  static_cast<unsigned long>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount));
    }
    DeleteObject(region);
    return 0;
  }
  if (cmd == L"client" && argc == 3) {
    HWND w = target(argv[2]);
    RECT c{};
    if (!w || !GetClientRect(w, &c)) return 1;
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, c.right, c.bottom);
    return 0;
  }
  if (cmd == L"resources") {
    HWND pet = FindPet();
    DWORD pid = 0;
    if (!pet || !GetWindowThreadProcessId(pet, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    struct Count {
      DWORD pid;
      int windows = 0;
    } count{pid};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto* c = reinterpret_cast<Count*>(p);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == c->pid) ++c->windows;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    // The program's own census (the window system's counts are zero where they are not kept).
    HWND main = FindWindowW(L"TPimbloForm", L"u");
    const UINT census = RegisterWindowMessageW(pimblo::kCensusMessage);
    auto ask = [&](pimblo::CensusQuestion question) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(main, census, static_cast<WPARAM>(question), 0, SMTO_ABORTIFHUNG, 2000, &answer);
      return answer;
    };
    const DWORD_PTR gdi = ask(pimblo::CensusQuestion::GdiObjects), user = ask(pimblo::CensusQuestion::UserObjects),
                    lists = ask(pimblo::CensusQuestion::ImageLists);
    std::printf("%lu %lu %lu %lu %lu %d\n", static_cast<unsigned long>(GetGuiResources(process, GR_GDIOBJECTS)),
                static_cast<unsigned long>(GetGuiResources(process, GR_USEROBJECTS)), static_cast<unsigned long>(gdi),
                static_cast<unsigned long>(user), static_cast<unsigned long>(lists), count.windows);
    CloseHandle(process);
    return 0;
  }
  if (cmd == L"display" && argc == 4) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(_wtoi(argv[2]));
    mode.dmPelsHeight = static_cast<DWORD>(_wtoi(argv[3]));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
    std::printf("%ld\n", result);
    return result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
  }
  if (cmd == L"metrics") {
    HDC screen = GetDC(nullptr);
    std::printf("dpi %d bits %d\n", GetDeviceCaps(screen, LOGPIXELSY), GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return 1;
    for (const LOGFONTW* f : {&m.lfMenuFont, &m.lfCaptionFont, &m.lfMessageFont})
      std::printf("%s %ld\n", Utf8(f->lfFaceName).c_str(), static_cast<long>(f->lfHeight));
    return 0;
  }
  if (cmd == L"at" && argc == 4) {
    HWND w = WindowFromPoint({_wtoi(argv[2]), _wtoi(argv[3])});
    wchar_t cls[64] = {};
    if (w) GetClassNameW(w, cls, 64);
    RECT r{};
    if (w) GetWindowRect(w, &r);
    std::printf("%s %ld %ld %ld %ld\n", Utf8(cls).c_str(), r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == L"help-layout" && argc == 3) {
    HWND w = FindWindowW(nullptr, argv[2]);
    HWND memo = w ? FindWindowExW(w, nullptr, L"Edit", nullptr) : nullptr;
    HWND button = w ? FindWindowExW(w, nullptr, L"Button", nullptr) : nullptr;
    if (!memo || !button) return 1;
    RECT b{};
    GetWindowRect(button, &b);
    MapWindowPoints(nullptr, memo, reinterpret_cast<POINT*>(&b), 2);
    RECT c{};
    GetClientRect(memo, &c);
    HDC dc = GetDC(memo);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(memo, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int lines = static_cast<int>(SendMessageW(memo, EM_GETLINECOUNT, 0, 0));
    int overlap = 0;
    long bottom = 0;
    for (int i = 0; i < lines; ++i) {
      const int first = static_cast<int>(SendMessageW(memo, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
      const int length = static_cast<int>(SendMessageW(memo, EM_LINELENGTH, static_cast<WPARAM>(first), 0));
      std::wstring text(static_cast<std::size_t>(length) + 2, L'\0');
      *reinterpret_cast<WORD*>(text.data()) = static_cast<WORD>(length + 1);
      text.resize(static_cast<std::size_t>(SendMessageW(memo, EM_GETLINE, static_cast<WPARAM>(i),
                                                        reinterpret_cast<LPARAM>(text.data()))));
      const LRESULT at = SendMessageW(memo, EM_POSFROMCHAR, static_cast<WPARAM>(first), 0);
      const long x = static_cast<short>(LOWORD(at)), y = static_cast<short>(HIWORD(at));
      SIZE extent{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
      const RECT line{x, y, x + extent.cx, y + tm.tmHeight};
      RECT both{};
      if (!text.empty() && IntersectRect(&both, &line, &b)) ++overlap;
      bottom = line.bottom;
    }
    SelectObject(dc, old);
    ReleaseDC(memo, dc);
    std::printf("lines %d overlap %d bottom %ld height %ld\n", lines, overlap, bottom, c.bottom);
    return 0;
  }
  if (cmd == L"foreground") {
    std::printf("%s\n", Utf8(TextOf(GetForegroundWindow())).c_str());
    return 0;
  }
  std::fputs("usage: driver pet | wait-pet S | watch-pet S MS | menu | hotkey F11|F12 | host L T R B S | text TITLE\n", stderr);
  return 2;
}
