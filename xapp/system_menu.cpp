#include "xapp/system_menu.h"

#include <vector>

#include "look/bmp_read.h"
#include "look/skin_layout.h"
#include "look/skin_menu_item.h"
#include "look/xp_menu.h"
#include "resources/embedded_assets.h"
#include "x11/popup_menu.h"

namespace pimblo::xapp {

void RunSystemMenu(Display* display, x11::SkinnedWindow& window, const TSkinData& skin, std::int32_t x, std::int32_t y,
                   const std::function<void()>& tick, const std::function<void(XEvent&)>& other) {
  MenuOwner owner;
  MenuTree& tree = owner.AddMenu(MenuKind::PopupMenu);
  const ChromeState& state = window.State();
  const std::vector<SystemMenuItem> shown = SystemMenuItems(state.hasMinBox, state.hasMaxBox, state.placement);
  const Bitmap glyphs = ReadBmp(assets::SystemMenuGlyphs()).value_or(Bitmap{});
  // The items paint themselves in the skin's look, in the system's menu font.
  const auto useMenuFont = [](MenuCanvas& canvas) {
    MenuFont font;
    if (canvas.SystemMenuFont(font)) canvas.SetFont(font);
  };
  struct Item {
    MenuEntry* entry;
    std::int32_t tag;
  };
  std::vector<Item> items;
  for (const SystemMenuItem& item : shown) {
    const bool separator = item.tag == system_menu_tag::kSeparator;
    MenuEntry& entry = tree.Items().Add(separator ? L"-" : item.caption);
    entry.Enabled = item.enabled;
    const SystemMenuItem* painted = separator ? nullptr : &item;
    entry.OnMeasureItem.Call = [painted, useMenuFont](MenuEntry&, MenuCanvas& canvas, int& width, int& height) {
      useMenuFont(canvas);
      const MenuSize size = MeasureSkinMenuItem(canvas, painted);
      width = size.cx;
      height = size.cy;
    };
    entry.OnDrawItem.Call = [painted, useMenuFont, &skin, &glyphs](MenuEntry&, MenuCanvas& canvas, const Rect& rect,
                                                                   bool selected) {
      useMenuFont(canvas);
      DrawSkinMenuItem(canvas, rect, skin, glyphs, painted, selected);
    };
    items.push_back({&entry, item.tag});
  }
  const MenuEntry* chosen = x11::RunPopupMenu(display, tree, x, y, tick, other, x11::MenuFrame::System);
  for (const Item& item : items) {
    if (item.entry != chosen) continue;
    switch (item.tag) {
      case system_menu_tag::kRestore: window.Restore(); break;
      case system_menu_tag::kMinimise: window.Minimise(); break;
      case system_menu_tag::kClose: window.RequestClose(); break;
      default: break;  // no maximise box on the program's windows
    }
  }
}

}  // namespace pimblo::xapp
