#include "win32/dpi.h"

#include <cstddef>

#include "win32/scoped_win.h"

namespace pimblo::ui {
namespace {

template <class Function>
Function User32(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

}  // namespace

int SystemDpi() {
  const win::WindowDc screen(nullptr);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  static const auto forWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
  const int dpi = forWindow && window ? static_cast<int>(forWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int Scale(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }

bool NonClientMetrics(NONCLIENTMETRICSW& metrics, int dpi) {
  static const auto forDpi = User32<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  metrics = NONCLIENTMETRICSW{};
  if (forDpi && dpi > 0) {
    metrics.cbSize = sizeof metrics;  // this call wants the whole structure
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) return true;
    metrics = NONCLIENTMETRICSW{};
  }
  // The layout every Windows version knows, without the padded border of Vista.
  const UINT size = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  metrics.cbSize = size;
  return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &metrics, 0) != FALSE;
}

}  // namespace pimblo::ui
