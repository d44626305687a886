#include "tools/sim/sim_desktop.h"

#include "sprites/region_scan.h"

namespace pimblo {

SimDesktop::SimDesktop(std::int32_t screenWidth, std::int32_t screenHeight)
    : SimDesktop(screenWidth, screenHeight, DesktopArea{0, 0, screenWidth, screenHeight}) {}

SimDesktop::SimDesktop(std::int32_t screenWidth, std::int32_t screenHeight, DesktopArea desktop)
    : screenWidth_(screenWidth), screenHeight_(screenHeight), desktop_(desktop) {}

void SimDesktop::SetWindows(std::vector<Rect> topmostFirst) {
  windows_ = std::move(topmostFirst);
  if (abovePet_ > windows_.size()) abovePet_ = 0;
}

void SimDesktop::SetScreen(std::int32_t width, std::int32_t height, DesktopArea desktop) {
  screenWidth_ = width;
  screenHeight_ = height;
  desktop_ = desktop;
}

namespace {
bool Contains(const Rect& r, ScreenPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
}  // namespace

WindowHandle SimDesktop::WindowFromPoint(ScreenPoint p) {
  ++counts.windowFromPoint;
  if (abovePet_ && Contains(windows_[abovePet_ - 1], p)) return abovePet_;
  if (pet_ && pet_->Covers(p)) return SimPetWindow::kHandle;
  for (std::size_t i = 0; i < windows_.size(); ++i)
    if (Contains(windows_[i], p)) return i + 1;
  return 0;
}

std::optional<Rect> SimDesktop::GetWindowRect(WindowHandle window) {
  ++counts.getWindowRect;
  if (pet_ && window == SimPetWindow::kHandle) return pet_->Bounds();
  if (window >= 1 && window <= windows_.size()) return windows_[window - 1];
  return std::nullopt;
}

std::int32_t SimDesktop::GetSystemMetrics(Metric metric) {
  ++counts.metrics;
  switch (metric) {
    case Metric::ScreenWidth: return screenWidth_;
    case Metric::ScreenHeight: return screenHeight_;
    case Metric::DesktopLeft: return desktop_.left;
    case Metric::DesktopTop: return desktop_.top;
    case Metric::DesktopWidth: return desktop_.width;
    case Metric::DesktopHeight: return desktop_.height;
  }
  return 0;
}

ScreenPoint SimDesktop::GetCursorPos() {
  ++counts.cursor;
  return cursor_;
}

WindowHandle SimDesktop::GetTopWindow() {
  ++counts.topWindow;
  if (abovePet_) return abovePet_;
  if (pet_) return SimPetWindow::kHandle;
  return windows_.empty() ? 0 : 1;
}

SimPetWindow::SimPetWindow(SimDesktop& desktop, const PetSheets& sheets, ScreenPoint at)
    : desktop_(desktop), sheets_(sheets), left_(at.x), top_(at.y) {
  desktop_.AttachPet(this);
}

SimPetWindow::~SimPetWindow() { desktop_.AttachPet(nullptr); }

void SimPetWindow::MoveTo(ScreenPoint topLeft) {
  if (topLeft.x != left_ || topLeft.y != top_) ++desktop_.counts.windowMoves;
  left_ = topLeft.x;
  top_ = topLeft.y;
}

void SimPetWindow::BringToTop() {
  ++desktop_.counts.raises;
  desktop_.PetRaised();
}

void SimPetWindow::PreparePicture() {
  if (!pictureIsBitmap_) picture_ = Bitmap();
  pictureIsBitmap_ = true;
}

void SimPetWindow::DrawFrame(SheetId sheet, std::int32_t index) { sheets_.Get(sheet).Draw(index, picture_); }

void SimPetWindow::ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) {
  ++desktop_.counts.redraws;
  if (picture_.width == 0 || picture_.height == 0) {
    shape_.reset();  // no region could be made: the whole square shows
    return;
  }
  const auto rects = ScanBitmap(picture_, key, tolerance).AllRects();
  desktop_.counts.regionRects += static_cast<std::int64_t>(rects.size());
  shape_ = Mask(width_, height_, true);
  for (const Rect& r : rects)
    for (std::int32_t y = r.top; y < r.bottom && y < height_; ++y)
      for (std::int32_t x = r.left; x < r.right && x < width_; ++x) shape_->Set(x, y, false);
}

bool SimPetWindow::Covers(ScreenPoint p) const {
  if (!(p.x >= left_ && p.x < left_ + width_ && p.y >= top_ && p.y < top_ + height_)) return false;
  return !shape_ || !shape_->IsTransparent(p.x - left_, p.y - top_);
}

std::int32_t ScriptedRandom::Random(std::int32_t n) {
  ++draws;
  if (next_ >= values_.size()) return 0;
  const std::int32_t v = values_[next_++];
  return n > 0 ? v % n : 0;
}

}  // namespace pimblo
