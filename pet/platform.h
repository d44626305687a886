// What the pet engine asks of the world around it. The program answers with the
// window system; the simulator and the tests answer with a simulated desktop.
#pragma once

#include <cstdint>
#include <optional>

#include "sprites/rect.h"
#include "sprites/sheet_id.h"

namespace pimblo {

// A window of the window system; 0 is no window.
using WindowHandle = std::uintptr_t;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The system metrics the pet reads, each asked for at every use.
enum class Metric {
  ScreenWidth,    // SM_CXSCREEN
  ScreenHeight,   // SM_CYSCREEN
  DesktopLeft,    // SM_XVIRTUALSCREEN
  DesktopTop,     // SM_YVIRTUALSCREEN
  DesktopWidth,   // SM_CXVIRTUALSCREEN
  DesktopHeight,  // SM_CYVIRTUALSCREEN
};
constexpr int kMetricCount = static_cast<int>(Metric::DesktopHeight) + 1;

// The desktop as the pet probes it. Nothing here is cached by the pet.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // The window the window system reports at a screen point, the pet's own
  // included where its shape is opaque; 0 where there is none.
  virtual WindowHandle WindowFromPoint(ScreenPoint p) = 0;
  // The window's screen rectangle; nothing when the window has gone meanwhile.
  virtual std::optional<Rect> GetWindowRect(WindowHandle window) = 0;
  virtual std::int32_t GetSystemMetrics(Metric metric) = 0;
  virtual ScreenPoint GetCursorPos() = 0;
  // The window at the top of the window order.
  virtual WindowHandle GetTopWindow() = 0;
};

// The process-wide random generator.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniform integer in [0, n), n > 0.
  virtual std::int32_t Random(std::int32_t n) = 0;
};

enum class MouseButton { Left, Right, Middle };

// The pet's own window and its picture.
class PetWindow {
 public:
  virtual ~PetWindow() = default;
  virtual WindowHandle Handle() const = 0;
  virtual std::int32_t Left() const = 0;
  virtual std::int32_t Top() const = 0;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  // Moves the window's top-left corner there, both coordinates in one move.
  virtual void MoveTo(ScreenPoint topLeft) = 0;
  virtual void SetWidth(std::int32_t width) = 0;
  virtual void SetHeight(std::int32_t height) = 0;
  // Puts the window back at the top of the topmost band, without moving, sizing
  // or activating it.
  virtual void BringToTop() = 0;
  // Opens the main form's context menu with its corner at a screen point.
  virtual void PopupContextMenu(ScreenPoint at) = 0;

  // The picture: make it a bitmap (the design-time icon gives way to an empty
  // one), draw a sheet's frame into it through the frame's mask (nothing for an
  // index outside the sheet), cut the window to the picture's pixels that are
  // not of the key colour, and repaint.
  virtual void PreparePicture() = 0;
  virtual void DrawFrame(SheetId sheet, std::int32_t index) = 0;
  virtual void ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) = 0;
  virtual void Invalidate() = 0;
};

}  // namespace pimblo
