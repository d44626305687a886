// The decisions behind the menu commands, the hot keys and the icon callback,
// free of the window system so they can be tested anywhere.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace pimblo {

// The program's title (its message boxes' caption), the notification icon's tip,
// and the maker's site that "访问Vantry软件" opens.
constexpr wchar_t kApplicationTitle[] = L"桌面Pimblo";
constexpr wchar_t kTrayTip[] = L"桌面Pimblo6.0";
constexpr wchar_t kMakerSite[] = L"https://pimblo.example.org/";

constexpr double kStartSpeedFactor = 0.988;

// Speed up: +0.002 while 0.8 < factor < 1.005. Returns whether it changed.
bool SpeedUp(double& speedFactor);
// Slow down: -0.002 while 0.8 < factor < 0.999. Returns whether it changed.
bool SlowDown(double& speedFactor);
// "现速度为:" and the factor times 1000 in its shortest form, at most 15 digits.
std::wstring SpeedCaption(double speedFactor);

enum class HotKeyAction { Nothing, Start, Stop };  // not None: X names a macro so
constexpr std::uint32_t kHotKeyModifiers = 3;  // MOD_ALT | MOD_CONTROL
constexpr std::uint32_t kStartKey = 122;       // VK_F11
constexpr std::uint32_t kStopKey = 123;        // VK_F12
// What a WM_HOTKEY means, from its modifiers and virtual key.
HotKeyAction HotKeyFor(std::uint32_t modifiers, std::uint32_t virtualKey);

constexpr std::uint32_t kTrayCallbackMessage = 1025;  // WM_USER + 1
// Whether a mouse message of the notification icon opens the menu.
bool TrayOpensMenu(std::uint32_t mouseMessage);

// The text of the standard error box: the message with a full stop appended when
// its last character sorts after "." (so "!" or a closing quote gets none).
std::wstring ErrorBoxText(const std::wstring& message);

// Lines joined by a separator, none after the last.
std::wstring JoinLines(std::initializer_list<const wchar_t*> lines, const wchar_t* separator);

// How to use the pet: the help window's eleven lines, joined by lineBreak.
std::wstring HelpText(const wchar_t* lineBreak);

// The seed of the process-wide generator: milliseconds since midnight (UTC).
std::uint32_t TimeOfDaySeed(int hour, int minute, int second, int millisecond);

}  // namespace pimblo
