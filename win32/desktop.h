// The desktop as the window system reports it, for the pet engine. Every call
// asks afresh; the counts tell how many questions a tick asked.
#pragma once

#include <windows.h>

#include "pet/platform.h"

namespace pimblo {

class Win32Desktop : public Desktop {
 public:
  WindowHandle WindowFromPoint(ScreenPoint p) override;
  std::optional<Rect> GetWindowRect(WindowHandle window) override;
  std::int32_t GetSystemMetrics(Metric metric) override;
  ScreenPoint GetCursorPos() override;
  WindowHandle GetTopWindow() override;

  struct Counts {
    std::uint64_t windowFromPoint = 0, getWindowRect = 0, metrics = 0, cursor = 0, topWindow = 0;
  } counts;
};

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

}  // namespace pimblo
