#include "win32/desktop.h"

namespace pimblo {

WindowHandle Win32Desktop::WindowFromPoint(ScreenPoint p) {
  ++counts.windowFromPoint;
  return FromHwnd(::WindowFromPoint(POINT{p.x, p.y}));
}

std::optional<Rect> Win32Desktop::GetWindowRect(WindowHandle window) {
  ++counts.getWindowRect;
  RECT r;
  if (!::GetWindowRect(ToHwnd(window), &r)) return std::nullopt;
  return Rect{r.left, r.top, r.right, r.bottom};
}

std::int32_t Win32Desktop::GetSystemMetrics(Metric metric) {
  ++counts.metrics;
  switch (metric) {
    case Metric::ScreenWidth: return ::GetSystemMetrics(SM_CXSCREEN);
    case Metric::ScreenHeight: return ::GetSystemMetrics(SM_CYSCREEN);
    case Metric::DesktopLeft: return ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    case Metric::DesktopTop: return ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    case Metric::DesktopWidth: return ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    case Metric::DesktopHeight: return ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  return 0;
}

ScreenPoint Win32Desktop::GetCursorPos() {
  ++counts.cursor;
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

WindowHandle Win32Desktop::GetTopWindow() {
  ++counts.topWindow;
  return FromHwnd(::GetTopWindow(nullptr));
}

}  // namespace pimblo
