// The glue between the flat menu look and the framework's popup menu: the owner
// form's side of TXPMenu, and the hook-up that lets a TXPMenu measure and paint
// the items of a TPopupMenu.
#pragma once

#include <windows.h>

#include "look/xp_menu.h"
#include "win32/gdi_canvas.h"
#include "win32/menu.h"

namespace pimblo {

// The owner form of a TXPMenu: the form's window (for its menu bar) and the
// system's menu font.
class Win32MenuOwner : public MenuOwner {
 public:
  explicit Win32MenuOwner(HWND form = nullptr) : Form(form) {}
  void RedrawMenuBar() override;
  bool SystemMenuFont(MenuFont& font) override { return ReadSystemMenuFont(font); }

  HWND Form;
};

// Lets `xp` measure and paint the items of `menu`: the menu joins xp's owner as
// a popup menu whose items mirror the menu's (caption, enabled, checked, and the
// glyph, converted once per bitmap handle), items added later included. Items
// that xp does not draw (while it is inactive, or an item added since the last
// painting) are measured and drawn by `plainMeasure` and `plainDraw`. Sets the
// menu's OnMeasureItem and OnDrawItem; `xp` and its owner must outlive the
// menu's use.
void AttachXPMenu(ui::TPopupMenu& menu, TXPMenu& xp, ui::TPopupMenu::MeasureHandler plainMeasure,
                  ui::TPopupMenu::DrawHandler plainDraw);

// The same with the framework's plain item drawing for the items xp leaves alone.
inline void AttachXPMenu(ui::TPopupMenu& menu, TXPMenu& xp) {
  AttachXPMenu(menu, xp, ui::MeasurePlainItem, ui::DrawPlainItem);
}

}  // namespace pimblo
