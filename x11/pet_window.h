// The pet's window on X11: override-redirect (no window manager frames, moves or
// focuses it), 32 × 32, kept above the others, cut to the pet's outline with the
// Shape extension for both drawing and input, with the hand cursor. It holds the
// pet engine by value and answers the engine's questions about itself with the
// real window. Does not own the display, the desktop or the sheets, which must
// outlive it.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "pet/platform.h"
#include "pet/zibbet.h"
#include "sprites/bitmap.h"
#include "sprites/pet_sheets.h"
#include "sprites/rect.h"
#include "x11/desktop.h"
#include "x11/pixel_format.h"
#include "x11/scoped_x.h"

namespace pimblo::x11 {

class X11PetWindow final : public PetWindow {
 public:
  // Makes the window at `at` (not yet shown) and the engine on it. `popupMenu`
  // opens the context menu at a screen point; it may be empty.
  X11PetWindow(Display* display, X11Desktop& desktop, RandomSource& random, const double& speedFactor,
               const PetSheets& sheets, std::function<void(ScreenPoint)> popupMenu, ScreenPoint at,
               std::uint32_t blinkSeed);
  ~X11PetWindow() override;
  X11PetWindow(const X11PetWindow&) = delete;
  X11PetWindow& operator=(const X11PetWindow&) = delete;

  TZibbetForm& Pet() { return *pet_; }
  Window XWindow() const { return window_.Get(); }

  // Maps the window above the others; it takes no focus.
  void Show();

  // Takes every event the program receives; true when it was one of this window's.
  bool Handle(const XEvent& event);

  // PetWindow
  WindowHandle Handle() const override { return window_.Get(); }
  std::int32_t Left() const override { return left_; }
  std::int32_t Top() const override { return top_; }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void MoveTo(ScreenPoint topLeft) override;
  void SetWidth(std::int32_t width) override;
  void SetHeight(std::int32_t height) override;
  void BringToTop() override;
  void PopupContextMenu(ScreenPoint at) override;
  void PreparePicture() override;
  void DrawFrame(SheetId sheet, std::int32_t index) override;
  void ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) override;
  void Invalidate() override;

 private:
  struct ImageDeleter {
    void operator()(XImage* image) const;
  };
  void Paint();
  void MouseDown(const XButtonEvent& event);
  void MouseUp(const XButtonEvent& event);
  void SetShape(const std::vector<Rect>& opaque);
  const std::vector<Rect>& ShapeOf(std::uint32_t key, std::uint32_t tolerance);

  Display* display_;
  X11Desktop& desktop_;
  const PetSheets& sheets_;
  std::function<void(ScreenPoint)> popupMenu_;
  std::int32_t left_, top_, width_ = 104, height_ = 32;  // the design-time size until FormCreate
  PixelFormat format_;
  int depth_;
  Visual* visual_;  // the screen's, not owned
  ScopedCursor cursor_;
  ScopedWindow window_;
  ScopedGc gc_;
  bool grabbed_ = false;  // the pointer is ours while the pet is held

  bool pictureIsBitmap_ = false;  // until the first redraw there is no picture: nothing shows
  Bitmap picture_;
  std::unique_ptr<XImage, ImageDeleter> image_;  // the picture in the visual's format
  // The frames drawn since PreparePicture, as (sheet, index); each pose covers the whole
  // picture, so they tell its shape. `drewAll_`: none was skipped (an index outside its sheet).
  std::vector<std::pair<int, int>> drawn_;
  bool drewAll_ = true;
  // The opaque rectangles of each pose shown so far, scanned once.
  using ShapeKey = std::tuple<std::vector<std::pair<int, int>>, std::uint32_t, std::uint32_t>;
  std::map<ShapeKey, std::vector<Rect>> shapes_;
  std::vector<Rect> scratch_;  // the shape of a picture that is not kept
  std::optional<TZibbetForm> pet_;
};

}  // namespace pimblo::x11
