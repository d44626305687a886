// The desktop as the window system reports it, for the pet engine. Probes ask
// afresh; the screen metrics are kept, and read again when the program is told
// they changed (a display, setting or DPI change). The counts tell how many
// questions the pets asked, and how many metrics were read from the system.
#pragma once

#include <windows.h>

#include <array>

#include "pet/platform.h"

namespace pimblo {

class Win32Desktop : public Desktop {
 public:
  Win32Desktop() { ReadMetrics(); }
  // Reads the screen metrics again from the system.
  void ReadMetrics();

  WindowHandle WindowFromPoint(ScreenPoint p) override;
  std::optional<Rect> GetWindowRect(WindowHandle window) override;
  std::int32_t GetSystemMetrics(Metric metric) override;
  ScreenPoint GetCursorPos() override;
  WindowHandle GetTopWindow() override;

  struct Counts {
    std::uint64_t windowFromPoint = 0, getWindowRect = 0, metrics = 0, cursor = 0, topWindow = 0;
    std::uint64_t systemMetrics = 0;  // `metrics` are the pets' questions, these the system's answers
  } counts;

 private:
  std::array<std::int32_t, kMetricCount> metrics_{};
};

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

}  // namespace pimblo
