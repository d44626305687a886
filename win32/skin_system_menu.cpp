#include "win32/skin_system_menu.h"

#include <cwchar>
#include <utility>

#include "look/skin_menu_item.h"
#include "win32/skin_manage.h"

namespace pimblo {
namespace {

constexpr UINT kMenuFirstId = 0x7000;  // an item's command is kMenuFirstId + its tag

using namespace skin_menu;  // the items' layout

std::int32_t TagOf(UINT itemId) { return static_cast<std::int32_t>(itemId) - static_cast<std::int32_t>(kMenuFirstId); }

// The item of a tag as the menu of a window with every box shows it; null for none.
const SystemMenuItem* ItemOf(std::int32_t tag) {
  static const std::vector<SystemMenuItem> items = SystemMenuItems(true, true, Placement::Normal);
  for (const SystemMenuItem& item : items)
    if (item.tag == tag) return &item;
  return nullptr;
}

// The clicks a watched menu's loop takes, and who sees them: the menu up now on this thread.
const std::function<bool(const MSG&)>* g_watcher = nullptr;

bool IsLeftClick(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
         message == WM_NCLBUTTONDBLCLK;
}

LRESULT CALLBACK WatchMenuClicks(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && g_watcher) {
    const MSG& m = *reinterpret_cast<const MSG*>(lParam);
    bool taken = false;
    try {
      taken = IsLeftClick(m.message) && (*g_watcher)(m);
    } catch (...) {
      // A click the window could not judge is left to the menu.
    }
    if (taken) {
      EndMenu();
      return TRUE;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void TSkinSystemMenu::Build(bool hasMinBox, bool hasMaxBox, Placement placement) {
  menu_.Reset(CreatePopupMenu());
  for (const SystemMenuItem& item : SystemMenuItems(hasMinBox, hasMaxBox, placement)) {
    const UINT flags = item.tag == system_menu_tag::kSeparator ? (MF_SEPARATOR | MF_OWNERDRAW) : MF_OWNERDRAW;
    // An owner-drawn item's "text" is its data: the menu's tag marks the item as ours.
    AppendMenuW(menu_.Get(), flags, kMenuFirstId + static_cast<UINT>(item.tag),
                reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(kSystemMenuTag)));
  }
}

void TSkinSystemMenu::EnableFor(Placement placement) const {
  for (const SystemMenuItem& item : SystemMenuItems(true, true, placement))
    if (item.tag != system_menu_tag::kSeparator)
      EnableMenuItem(menu_.Get(), kMenuFirstId + static_cast<UINT>(item.tag),
                     MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
}

UINT TSkinSystemMenu::SystemCommandOf(UINT chosen) {
  switch (TagOf(chosen)) {
    case system_menu_tag::kRestore: return SC_RESTORE;
    case system_menu_tag::kMaximise: return SC_MAXIMIZE;
    case system_menu_tag::kMinimise: return SC_MINIMIZE;
    case system_menu_tag::kClose: return SC_CLOSE;
    default: return 0;
  }
}

bool TSkinSystemMenu::IsItem(UINT controlType, ULONG_PTR itemData) {
  return controlType == ODT_MENU && itemData == kSystemMenuTag;
}

void TSkinSystemMenu::Measure(MEASUREITEMSTRUCT& m, HWND window, HFONT font) {
  const std::int32_t tag = TagOf(m.itemID);
  if (tag == system_menu_tag::kSeparator) {
    m.itemHeight = kSeparatorHeight;
    m.itemWidth = kSeparatorWidth;
    return;
  }
  int width = 0;
  if (const SystemMenuItem* item = ItemOf(tag)) {
    const win::WindowDc dc(window);
    const win::ScopedSelect selected(dc.Get(), font);
    SIZE text{}, shortcut{};
    GetTextExtentPoint32W(dc.Get(), item->caption, static_cast<int>(std::wcslen(item->caption)), &text);
    GetTextExtentPoint32W(dc.Get(), item->shortcut, static_cast<int>(std::wcslen(item->shortcut)), &shortcut);
    width = text.cx + (shortcut.cx ? shortcut.cx + kShortcutGap : 0);
  }
  m.itemWidth = static_cast<UINT>(width + kTextLeft + kTextRightMargin);
  m.itemHeight = kItemHeight;
}

void TSkinSystemMenu::Draw(const DRAWITEMSTRUCT& d, const TSkinData& skin, HIMAGELIST glyphs, HFONT font) {
  const std::int32_t tag = TagOf(d.itemID);
  HDC dc = d.hDC;
  const RECT r = d.rcItem;
  const bool separator = tag == system_menu_tag::kSeparator;
  const bool selected = (d.itemState & ODS_SELECTED) != 0 && !separator;
  const bool disabled = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const win::ScopedBrush back(CreateSolidBrush(TSkinManage::Resolve(skin.Colors[selected ? scHilight : scMenu])));
  FillRect(dc, &r, back.Get());
  if (separator) {
    const win::ScopedBrush line(CreateSolidBrush(TSkinManage::Resolve(skin.Colors[scButtonShadow])));
    const int middle = (r.top + r.bottom) / 2;
    const RECT l{r.left + kLineLeft, middle, r.right - kLineRightMargin, middle + 1};
    FillRect(dc, &l, line.Get());
    return;
  }
  if (glyphs && tag >= 0 && tag < ImageList_GetImageCount(glyphs))
    ImageList_Draw(glyphs, tag, dc, r.left + kGlyphLeft, r.top + (r.bottom - r.top - kGlyphSize) / 2,
                   disabled ? ILD_BLEND50 : ILD_TRANSPARENT);
  const SystemMenuItem* item = ItemOf(tag);
  if (!item) return;
  const win::ScopedSelect selectedFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const TSkinColor text = disabled ? scButtonShadow : selected ? scHilightText : scMenuText;
  SetTextColor(dc, TSkinManage::Resolve(skin.Colors[text]));
  RECT t{r.left + kTextLeft, r.top, r.right - kTextRightMargin, r.bottom};
  DrawTextW(dc, item->caption, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  DrawTextW(dc, item->shortcut, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

UINT TrackMenuWatchingClicks(HMENU menu, HWND window, POINT screen, const std::function<bool(const MSG&)>& onClick) {
  const auto* previous = std::exchange(g_watcher, &onClick);
  UINT chosen = 0;
  {
    const win::ScopedHook filter(SetWindowsHookExW(WH_MSGFILTER, &WatchMenuClicks, nullptr, GetCurrentThreadId()));
    chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                              screen.x, screen.y, 0, window, nullptr));
  }
  g_watcher = previous;
  return chosen;
}

}  // namespace pimblo
