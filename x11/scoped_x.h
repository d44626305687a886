// Small move-only owners of X resources, one resource each. Each frees what it
// holds with the call that goes with it; none of them owns the display it was
// made on, which must outlive them.
#pragma once

#include <X11/Xlib.h>

#include <utility>

namespace pimblo::x11 {

// The connection to the X server, closed on destruction.
class ScopedDisplay {
 public:
  ScopedDisplay() = default;
  explicit ScopedDisplay(Display* display) : display_(display) {}
  ScopedDisplay(ScopedDisplay&& other) noexcept : display_(std::exchange(other.display_, nullptr)) {}
  ScopedDisplay& operator=(ScopedDisplay&& other) noexcept {
    if (this != &other) {
      Reset();
      display_ = std::exchange(other.display_, nullptr);
    }
    return *this;
  }
  ~ScopedDisplay() { Reset(); }
  Display* Get() const { return display_; }
  explicit operator bool() const { return display_ != nullptr; }

 private:
  void Reset() {
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
  }
  Display* display_ = nullptr;
};

// An X resource named by an id on a display (a window, pixmap, cursor…), freed
// with Free(display, id). Does not own the display.
template <class Id, int (*Free)(Display*, Id)>
class ScopedXId {
 public:
  ScopedXId() = default;
  ScopedXId(Display* display, Id id) : display_(display), id_(id) {}
  ScopedXId(ScopedXId&& other) noexcept
      : display_(std::exchange(other.display_, nullptr)), id_(std::exchange(other.id_, Id{})) {}
  ScopedXId& operator=(ScopedXId&& other) noexcept {
    if (this != &other) {
      Reset();
      display_ = std::exchange(other.display_, nullptr);
      id_ = std::exchange(other.id_, Id{});
    }
    return *this;
  }
  ~ScopedXId() { Reset(); }
  Id Get() const { return id_; }
  explicit operator bool() const { return id_ != Id{}; }

 private:
  void Reset() {
    if (display_ && id_ != Id{}) Free(display_, id_);
    id_ = Id{};
  }
  Display* display_ = nullptr;
  Id id_{};
};

using ScopedWindow = ScopedXId<Window, XDestroyWindow>;
using ScopedPixmap = ScopedXId<Pixmap, XFreePixmap>;
using ScopedCursor = ScopedXId<Cursor, XFreeCursor>;
using ScopedGc = ScopedXId<GC, XFreeGC>;
using ScopedColormap = ScopedXId<Colormap, XFreeColormap>;

}  // namespace pimblo::x11
