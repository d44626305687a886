// The skin's replacement for a window's system menu: a popup of owner-drawn
// items (Restore, Maximize, Minimize, a line, Close) in the skin's colours, with
// its menu glyphs; and the tracking of a popup menu during which the window
// still sees the clicks the menu's own loop takes. Which items there are and
// what they say comes from look/skin_layout.h.
#pragma once

#include <windows.h>

#include <functional>

#include "look/skin_layout.h"
#include "win32/scoped_win.h"

namespace pimblo {

class TSkinSystemMenu {
 public:
  // Makes the items for a window with these boxes, in place of any there were.
  void Build(bool hasMinBox, bool hasMaxBox, Placement placement);
  void Clear() { menu_.Reset(); }
  HMENU Handle() const { return menu_.Get(); }
  // Greys the items that do nothing in this placement.
  void EnableFor(Placement placement) const;

  // The window command (SC_RESTORE, …) of a chosen item; 0 for anything else.
  static UINT SystemCommandOf(UINT chosen);
  // Whether an owner-drawn item is one of these menus'.
  static bool IsItem(UINT controlType, ULONG_PTR itemData);
  // WM_MEASUREITEM and WM_DRAWITEM of an item (IsItem), in the menu font.
  static void Measure(MEASUREITEMSTRUCT& item, HWND window, HFONT font);
  static void Draw(const DRAWITEMSTRUCT& item, const TSkinData& skin, HIMAGELIST glyphs, HFONT font);

 private:
  win::ScopedMenu menu_;
};

// Shows a popup menu for `window` at a screen point and gives the chosen command, 0 for none.
// While it is up, `onClick` sees each left click the menu's loop takes; when it answers true the
// menu closes without a choice and the click goes no further. One menu at a time on a thread.
UINT TrackMenuWatchingClicks(HMENU menu, HWND window, POINT screen, const std::function<bool(const MSG&)>& onClick);

}  // namespace pimblo
