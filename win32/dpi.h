// Display scale. The program is per-monitor DPI aware: it sees device pixels
// and scales what people read itself, as forms laid out at 96 DPI expect.
// The calls of newer systems are looked up at run time, so the program still
// starts on systems that lack them (there the system's one scale holds).
#pragma once

#include <windows.h>

namespace pimblo::ui {

constexpr int kDesignDpi = 96;  // the scale the forms' figures are given for

// The scale of the monitor the window is on (the system's where unknown).
int WindowDpi(HWND window);
// The system's scale, the one its non-client metrics are given for.
int SystemDpi();
// A figure laid out at 96 DPI, at `dpi`.
int Scale(int value, int dpi);

// The system's non-client metrics (menu, caption and message fonts, …) for
// `dpi`; 0 asks for the system's own scale. False when the system does not answer.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, int dpi = 0);

}  // namespace pimblo::ui
