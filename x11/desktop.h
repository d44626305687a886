// The desktop as the pet probes it on X11: the root window's children in their
// stacking order with their rectangles (a window manager's frames, docks, panels,
// override-redirect windows), kept from the server's structure events so that a
// probe makes no round trip; the primary monitor from RandR, read again on its
// change event. Does not own the display.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "pet/platform.h"
#include "sprites/rect.h"
#include "x11/window_stack.h"

namespace pimblo::x11 {

class X11Desktop final : public Desktop {
 public:
  // Selects the root's structure events and reads the tree and the monitors once.
  explicit X11Desktop(Display* display);
  ~X11Desktop() override;
  X11Desktop(const X11Desktop&) = delete;
  X11Desktop& operator=(const X11Desktop&) = delete;

  // Takes every event the program receives; true when it was one the desktop keeps track by.
  bool Handle(const XEvent& event);

  // The pet's own window and its opaque rectangles in window coordinates, as last
  // shaped: the pet is found at a point only where its shape is opaque.
  void SetPet(Window pet, std::vector<Rect> opaque);

  // Desktop: the topmost viewable child of the root at the point (the root itself,
  // standing for the desktop with the whole screen as its rectangle, where there is
  // none or where a desktop-type window is); rectangles include the border.
  WindowHandle WindowFromPoint(ScreenPoint p) override;
  std::optional<Rect> GetWindowRect(WindowHandle window) override;
  std::int32_t GetSystemMetrics(Metric metric) override;
  ScreenPoint GetCursorPos() override;
  WindowHandle GetTopWindow() override;

  // Requests to the X server made by the probes since the start (0 in a settled tick).
  std::int64_t RoundTrips() const;

 private:
  // The children as kept, bottom first: what the checker compares with the server's.
  friend std::vector<StackedWindow> KeptWindows(const X11Desktop& desktop);
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pimblo::x11
