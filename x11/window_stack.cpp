#include "x11/window_stack.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace pimblo::x11 {

void WindowStack::Reset(std::vector<StackedWindow> bottomFirst) { bottomFirst_ = std::move(bottomFirst); }

std::vector<StackedWindow>::iterator WindowStack::Locate(WindowId id) {
  return std::find_if(bottomFirst_.begin(), bottomFirst_.end(), [id](const StackedWindow& w) { return w.id == id; });
}

const StackedWindow* WindowStack::Find(WindowId id) const {
  const auto it =
      std::find_if(bottomFirst_.begin(), bottomFirst_.end(), [id](const StackedWindow& w) { return w.id == id; });
  return it == bottomFirst_.end() ? nullptr : &*it;
}

void WindowStack::Created(WindowId id, Rect rect) {
  assert(id != 0 && "a window has an id");
  Removed(id);
  bottomFirst_.push_back(StackedWindow{id, rect, false, false});
}

void WindowStack::Removed(WindowId id) {
  const auto it = Locate(id);
  if (it != bottomFirst_.end()) bottomFirst_.erase(it);
}

void WindowStack::Configured(WindowId id, Rect rect, WindowId above) {
  auto it = Locate(id);
  if (it == bottomFirst_.end()) return;
  StackedWindow window = *it;
  window.rect = rect;
  bottomFirst_.erase(it);
  auto sibling = above == 0 ? bottomFirst_.end() : Locate(above);
  // A sibling we do not know (the order has gone wrong) leaves the window on top,
  // where a later restack will find it.
  const auto at = above == 0 ? bottomFirst_.begin() : sibling == bottomFirst_.end() ? sibling : sibling + 1;
  bottomFirst_.insert(at, window);
}

void WindowStack::Moved(WindowId id, std::int32_t left, std::int32_t top) {
  const auto it = Locate(id);
  if (it == bottomFirst_.end()) return;
  const Rect r = it->rect;
  it->rect = Rect{left, top, left + r.Width(), top + r.Height()};
}

void WindowStack::Mapped(WindowId id, bool desktopType) {
  const auto it = Locate(id);
  if (it == bottomFirst_.end()) return;
  it->mapped = true;
  it->desktopType = desktopType;
}

void WindowStack::Unmapped(WindowId id) {
  const auto it = Locate(id);
  if (it != bottomFirst_.end()) it->mapped = false;
}

void WindowStack::Circulated(WindowId id, StackEnd end) {
  const auto it = Locate(id);
  if (it == bottomFirst_.end()) return;
  const StackedWindow window = *it;
  bottomFirst_.erase(it);
  bottomFirst_.insert(end == StackEnd::Top ? bottomFirst_.end() : bottomFirst_.begin(), window);
}

const StackedWindow* WindowStack::Top() const {
  for (auto it = bottomFirst_.rbegin(); it != bottomFirst_.rend(); ++it)
    if (it->mapped) return &*it;
  return nullptr;
}

}  // namespace pimblo::x11
