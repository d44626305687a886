#include "app/commands.h"

#include <cstdio>

namespace pimblo {

bool SpeedUp(double& speedFactor) {
  if (!(speedFactor > 0.8 && speedFactor < 1.005)) return false;
  speedFactor = speedFactor + 0.002;
  return true;
}

bool SlowDown(double& speedFactor) {
  if (!(speedFactor > 0.8 && speedFactor < 0.999)) return false;
  speedFactor = speedFactor - 0.002;
  return true;
}

std::wstring SpeedCaption(double speedFactor) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.15g", speedFactor * 1000);
  std::wstring caption = L"现速度为:";
  for (const char* p = digits; *p; ++p) caption += static_cast<wchar_t>(*p);
  return caption;
}

HotKeyAction HotKeyFor(std::uint32_t modifiers, std::uint32_t virtualKey) {
  if (modifiers == kHotKeyModifiers && virtualKey == kStartKey) return HotKeyAction::Start;
  if (modifiers == kHotKeyModifiers && virtualKey == kStopKey) return HotKeyAction::Stop;
  return HotKeyAction::Nothing;
}

bool TrayOpensMenu(std::uint32_t mouseMessage) {
  return mouseMessage == 513 /* WM_LBUTTONDOWN */ || mouseMessage == 516 /* WM_RBUTTONDOWN */;
}

std::wstring ErrorBoxText(const std::wstring& message) {
  if (!message.empty() && message.back() > L'.') return message + L".";
  return message;
}

std::wstring JoinLines(std::initializer_list<const wchar_t*> lines, const wchar_t* separator) {
  std::wstring text;
  bool first = true;
  for (const wchar_t* line : lines) {
    if (!first) text += separator;
    first = false;
    text += line;
  }
  return text;
}

std::wstring HelpText(const wchar_t* lineBreak) {
  return JoinLines({
      L"  使用方法:",
      L"  1. 右键点击Pimblo后,会弹出一个对话框.",
      L"     立正:Pimblo停止运动;",
      L"     动起来:Pimblo开始运动;",
      L"     现速度:显示当前Pimblo的运动速度.",
      L"     加速运动:Pimblo的运动速度加快.",
      L"     减速运动:Pimblo的运动速度变慢.",
      L"",
      L"  说明:",
      L"  按CTRL+ALT+F11可使Pimblo动起来.",
      L"  按CTRL+ALT+F12可使Pimblo停止运动.",
  }, lineBreak);
}

std::uint32_t TimeOfDaySeed(int hour, int minute, int second, int millisecond) {
  return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

}  // namespace pimblo
