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

void Win32Desktop::ReadMetrics() {
  // In the order of Metric.
  constexpr int kSystemIndex[kMetricCount] = {SM_CXSCREEN,        SM_CYSCREEN,         SM_XVIRTUALSCREEN,
                                              SM_YVIRTUALSCREEN, SM_CXVIRTUALSCREEN, SM_CYVIRTUALSCREEN};
  for (int i = 0; i < kMetricCount; ++i) metrics_[static_cast<std::size_t>(i)] = ::GetSystemMetrics(kSystemIndex[i]);
  counts.systemMetrics += kMetricCount;
}

std::int32_t Win32Desktop::GetSystemMetrics(Metric metric) {
  ++counts.metrics;
  return metrics_[static_cast<std::size_t>(metric)];
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
