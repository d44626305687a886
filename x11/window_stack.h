// The children of one window (the root) as the desktop keeps them: their ids,
// their rectangles in the parent's coordinates with the border included, whether
// they are mapped and whether they stand for the desktop, in stacking order. It
// knows nothing of X: it is told what happened, in the words of the structure
// events, and answers where a point falls.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sprites/rect.h"

namespace pimblo::x11 {

// A window's id as the server names it; 0 is none.
using WindowId = std::uint64_t;

struct StackedWindow {
  WindowId id = 0;
  Rect rect;  // outer rectangle: border included
  bool mapped = false;
  bool desktopType = false;  // a desktop's background window: points on it stand for the desktop
  friend bool operator==(const StackedWindow&, const StackedWindow&) = default;
};

// Where a circulated window went.
enum class StackEnd { Top, Bottom };

class WindowStack {
 public:
  // The children as read from the server, bottom first (the order of XQueryTree).
  void Reset(std::vector<StackedWindow> bottomFirst);

  // A new child: on top of its siblings, not mapped. Known ids are replaced.
  void Created(WindowId id, Rect rect);
  // A child that is gone: destroyed or reparented away. Unknown ids are ignored.
  void Removed(WindowId id);
  // New geometry and place: directly above the sibling `above`, or at the bottom when it is 0.
  void Configured(WindowId id, Rect rect, WindowId above);
  // Moved by its parent's gravity: the size stays.
  void Moved(WindowId id, std::int32_t left, std::int32_t top);
  void Mapped(WindowId id, bool desktopType);
  void Unmapped(WindowId id);
  void Circulated(WindowId id, StackEnd end);

  // The topmost mapped child containing the point, passing over those `skip`
  // refuses (the pet's window where its shape is clear).
  template <class Skip>
  const StackedWindow* At(std::int32_t x, std::int32_t y, Skip skip) const {
    for (auto it = bottomFirst_.rbegin(); it != bottomFirst_.rend(); ++it)
      if (it->mapped && it->rect.Contains(x, y) && !skip(*it)) return &*it;
    return nullptr;
  }
  const StackedWindow* At(std::int32_t x, std::int32_t y) const {
    return At(x, y, [](const StackedWindow&) { return false; });
  }
  // The child of that id, mapped or not.
  const StackedWindow* Find(WindowId id) const;
  // The topmost mapped child.
  const StackedWindow* Top() const;
  // All children, bottom first.
  const std::vector<StackedWindow>& BottomFirst() const { return bottomFirst_; }

 private:
  std::vector<StackedWindow>::iterator Locate(WindowId id);
  std::vector<StackedWindow> bottomFirst_;
};

}  // namespace pimblo::x11
