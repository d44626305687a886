#include "win32/xp_menu_glue.h"

#include <unordered_map>

#include "win32/gdi_canvas.h"

namespace pimblo {

void Win32MenuOwner::RedrawMenuBar() {
  if (Form) DrawMenuBar(Form);
}

namespace {

// The TPopupMenu's items as entries of a popup menu of xp's owner.
class MenuMirror {
 public:
  MenuMirror(ui::TPopupMenu& menu, TXPMenu& xp) : menu_(menu), tree_(xp.Owner().AddMenu(MenuKind::PopupMenu)) {
    tree_.OwnerDraw = true;
  }

  // Brings every entry up to date with its item (new items get one, the owner
  // hears of them) and returns the entry of `wanted`.
  MenuEntry* Sync(const ui::TMenuItem& wanted) {
    MenuEntry* found = nullptr;
    const std::vector<ui::TMenuItem*>& items = menu_.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const ui::TMenuItem* item = items[i];
      auto mirror = mirrors_.find(item);
      if (mirror == mirrors_.end()) {
        MenuEntry& entry = tree_.Items().Insert(static_cast<int>(i), item->Caption);
        mirror = mirrors_.emplace(item, Mirror{&entry, nullptr}).first;
      }
      MenuEntry& entry = *mirror->second.entry;
      entry.Caption = item->Caption;
      entry.Enabled = item->Enabled;
      entry.Checked = item->Checked;
      if (mirror->second.glyph != item->Bitmap.Get()) {
        mirror->second.glyph = item->Bitmap.Get();
        entry.Glyph = BitmapFromHandle(mirror->second.glyph);
      }
      if (item == &wanted) found = &entry;
    }
    return found;
  }

 private:
  struct Mirror {
    MenuEntry* entry;
    HBITMAP glyph;  // the handle entry->Glyph was converted from
  };
  ui::TPopupMenu& menu_;
  MenuTree& tree_;
  std::unordered_map<const ui::TMenuItem*, Mirror> mirrors_;
};

}  // namespace

void AttachXPMenu(ui::TPopupMenu& menu, TXPMenu& xp, ui::TPopupMenu::MeasureHandler plainMeasure,
                  ui::TPopupMenu::DrawHandler plainDraw) {
  auto mirror = std::make_shared<MenuMirror>(menu, xp);
  if (!menu.Items().empty()) mirror->Sync(*menu.Items().front());
  // The menu is the form's now: an active component takes it over as it would
  // have when it was switched on.
  if (xp.Active()) xp.SetActive(true);

  menu.OnMeasureItem = [mirror, plainMeasure](ui::TMenuItem& item, HDC dc, int& width, int& height) {
    MenuEntry* entry = mirror->Sync(item);
    if (entry && entry->OnMeasureItem) {
      Win32Canvas canvas(dc);
      entry->OnMeasureItem.Call(*entry, canvas, width, height);
    } else if (plainMeasure) {
      plainMeasure(item, dc, width, height);
    }
  };
  menu.OnDrawItem = [mirror, plainDraw](ui::TMenuItem& item, HDC dc, const RECT& rect, bool selected) {
    MenuEntry* entry = mirror->Sync(item);
    if (entry && entry->OnDrawItem) {
      Win32Canvas canvas(dc);
      const Rect r{static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
                       static_cast<int>(rect.bottom)};
      entry->OnDrawItem.Call(*entry, canvas, r, selected);
    } else if (plainDraw) {
      plainDraw(item, dc, rect, selected);
    }
  };
}

}  // namespace pimblo
