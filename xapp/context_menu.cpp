#include "xapp/context_menu.h"

#include <cassert>
#include <span>

#include "look/bmp_read.h"
#include "resources/embedded_assets.h"
#include "x11/popup_menu.h"

namespace pimblo {

namespace {

std::span<const std::uint8_t> GlyphFile(MenuGlyph glyph) {
  switch (glyph) {
    case MenuGlyph::Stop: return assets::GlyphStop();
    case MenuGlyph::Go: return assets::GlyphGo();
    case MenuGlyph::Speed: return assets::GlyphSpeed();
    case MenuGlyph::Faster: return assets::GlyphFaster();
    case MenuGlyph::Slower: return assets::GlyphSlower();
    case MenuGlyph::Ball: return assets::GlyphBall();
    case MenuGlyph::Help: return assets::GlyphHelp();
    case MenuGlyph::Quit: return assets::GlyphQuit();
    case MenuGlyph::NoGlyph: break;
  }
  return {};
}

}  // namespace

ContextMenu::ContextMenu() : look_(owner_), tree_(owner_.AddMenu(MenuKind::PopupMenu)) {
  SetMainFormProperties(look_);
  for (const ContextMenuEntry& e : kContextMenuEntries) {
    MenuEntry& entry = tree_.Items().Add(e.caption);
    if (e.glyph != MenuGlyph::NoGlyph) {
      std::optional<Bitmap> glyph = ReadBmp(GlyphFile(e.glyph));
      assert(glyph && "the glyphs built into the program read");
      if (glyph) entry.Glyph = std::move(*glyph);
    }
    entries_.push_back(&entry);
  }
  look_.SetActive(true);
}

std::optional<MenuCommand> ContextMenu::Popup(Display* display, int x, int y, const std::function<void()>& tick,
                                              const std::function<void(XEvent&)>& other) {
  return CommandOf(x11::RunPopupMenu(display, tree_, x, y, tick, other));
}

void ContextMenu::SetSpeedCaption(std::wstring caption) {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (kContextMenuEntries[i].command == MenuCommand::ShowSpeed) entries_[i]->Caption = caption;
}

std::optional<MenuCommand> ContextMenu::CommandOf(const MenuEntry* entry) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i] == entry) return kContextMenuEntries[i].command;
  return std::nullopt;
}

}  // namespace pimblo
