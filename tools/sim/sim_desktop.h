// A simulated desktop for the pet: windows as rectangles in z-order, the pet's own
// window above them with the shape it last set, a cursor, and counts of every
// question the pet asks. Used by the simulator, the tests and the benchmarks.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pet/platform.h"
#include "sprites/bitmap.h"
#include "sprites/pet_sheets.h"

namespace pimblo {

class SimPetWindow;

struct DesktopArea {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// How often each platform operation was used.
struct SimCounts {
  std::int64_t windowFromPoint = 0;
  std::int64_t getWindowRect = 0;
  std::int64_t metrics = 0;
  std::int64_t cursor = 0;
  std::int64_t topWindow = 0;
  std::int64_t windowMoves = 0;  // moves that changed the window's place
  std::int64_t raises = 0;
  std::int64_t redraws = 0;
  std::int64_t regionRects = 0;
};

class SimDesktop : public Desktop {
 public:
  SimDesktop(std::int32_t screenWidth, std::int32_t screenHeight);
  SimDesktop(std::int32_t screenWidth, std::int32_t screenHeight, DesktopArea desktop);

  // Replaces the windows, topmost first; all of them lie below the pet. They get
  // the handles 1, 2, … in that order.
  void SetWindows(std::vector<Rect> topmostFirst);
  const std::vector<Rect>& Windows() const { return windows_; }
  void SetCursor(ScreenPoint p) { cursor_ = p; }
  void SetScreen(std::int32_t width, std::int32_t height, DesktopArea desktop);
  // Puts window `handle` above the pet, as another topmost window coming forward would.
  void RaiseAbovePet(WindowHandle handle) { abovePet_ = handle; }

  void AttachPet(SimPetWindow* pet) { pet_ = pet; }
  void PetRaised() { abovePet_ = 0; }

  WindowHandle WindowFromPoint(ScreenPoint p) override;
  std::optional<Rect> GetWindowRect(WindowHandle window) override;
  std::int32_t GetSystemMetrics(Metric metric) override;
  ScreenPoint GetCursorPos() override;
  WindowHandle GetTopWindow() override;

  SimCounts counts;

 private:
  std::int32_t screenWidth_, screenHeight_;
  DesktopArea desktop_;
  std::vector<Rect> windows_;
  ScreenPoint cursor_;
  SimPetWindow* pet_ = nullptr;
  WindowHandle abovePet_ = 0;
};

class SimPetWindow : public PetWindow {
 public:
  static constexpr WindowHandle kHandle = 0x5EED;

  SimPetWindow(SimDesktop& desktop, const PetSheets& sheets, ScreenPoint at);
  ~SimPetWindow() override;

  WindowHandle Handle() const override { return kHandle; }
  std::int32_t Left() const override { return left_; }
  std::int32_t Top() const override { return top_; }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void MoveTo(ScreenPoint topLeft) override;
  void SetWidth(std::int32_t v) override { width_ = v; }
  void SetHeight(std::int32_t v) override { height_ = v; }
  void BringToTop() override;
  void PopupContextMenu(ScreenPoint at) override { menuPopups.push_back(at); }
  void PreparePicture() override;
  void DrawFrame(SheetId sheet, std::int32_t index) override;
  void ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) override;
  void Invalidate() override {}

  // Whether the window covers a screen point: inside its rectangle and, once it
  // has a shape, on an opaque pixel of it.
  bool Covers(ScreenPoint p) const;
  Rect Bounds() const { return {left_, top_, left_ + width_, top_ + height_}; }
  const Bitmap& Picture() const { return picture_; }
  const std::optional<Mask>& Shape() const { return shape_; }

  std::vector<ScreenPoint> menuPopups;

 private:
  SimDesktop& desktop_;
  const PetSheets& sheets_;
  std::int32_t left_, top_, width_ = 104, height_ = 32;
  bool pictureIsBitmap_ = false;  // until the first redraw it shows the design-time icon
  Bitmap picture_;
  std::optional<Mask> shape_;  // opaque where 0, as a window region; none: the whole rectangle
};

// The random draws of a scenario: the listed values in order, then 0 for ever.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<std::int32_t> values) : values_(std::move(values)) {}
  std::int32_t Random(std::int32_t n) override;
  std::int64_t draws = 0;

 private:
  std::vector<std::int32_t> values_;
  std::size_t next_ = 0;
};

}  // namespace pimblo
