// TXPMenu: the flat, owner-drawn look of the owner form's menus. A light item
// background, a darker icon column on the leading side, an outlined selection
// bar, thin separators, icons faded at rest and raised with a drop shadow when
// selected, grey icons and text for disabled items.
//
// The component sees its owner's menus through a small item tree (MenuOwner,
// MenuTree, MenuEntry) and draws on a MenuCanvas, so nothing here needs Windows;
// win32/xp_menu_glue.h joins it to the program's popup menu.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "look/menu_canvas.h"
#include "look/menu_colors.h"
#include "sprites/bitmap.h"

namespace pimblo {

class MenuEntry;
class MenuOwner;
class MenuTree;

using MeasureItemEvent = std::function<void(MenuEntry& item, MenuCanvas& canvas, int& width, int& height)>;
using DrawItemEvent = std::function<void(MenuEntry& item, MenuCanvas& canvas, const Rect& rect, bool selected)>;

// An item's measure or draw handler, with the component that set it (if any),
// so that a component takes back only its own handlers.
template <class Event>
struct MenuHandler {
  Event Call;
  const void* Source = nullptr;
  explicit operator bool() const { return static_cast<bool>(Call); }
};

// Images of equal size with their masks, as a menu's image list holds them.
struct MenuImageList {
  int Width = 16;
  int Height = 16;
  std::vector<Bitmap> Images;
  std::vector<Mask> Masks;  // one per image; transparent pixels are left out
};

enum class MenuKind { MainMenu, PopupMenu };
enum class MenuOperation { Insert, Remove };

// One menu item and its sub-items.
class MenuEntry {
 public:
  MenuEntry(MenuTree& menu, MenuEntry* parent, std::wstring caption);
  MenuEntry(const MenuEntry&) = delete;
  MenuEntry& operator=(const MenuEntry&) = delete;

  std::wstring Caption;   // "-" is a separator; "&" marks the accelerator
  std::wstring ShortCut;  // the shortcut as text, empty for none
  Bitmap Glyph;           // the item's own bitmap; width 0 for none
  int ImageIndex = -1;    // into the menu's (or the parent's) image list
  bool Enabled = true;
  bool Checked = false;
  bool RadioItem = false;
  bool Default = false;
  const MenuImageList* SubMenuImages = nullptr;  // for the sub-items
  MenuHandler<MeasureItemEvent> OnMeasureItem;
  MenuHandler<DrawItemEvent> OnDrawItem;

  bool IsLine() const { return Caption == L"-"; }
  MenuTree& Menu() const { return menu_; }
  MenuEntry* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(items_.size()); }
  MenuEntry& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

  // Adds a sub-item (index clamped to the ends); the owner form hears of it.
  MenuEntry& Insert(int index, std::wstring caption);
  MenuEntry& Add(std::wstring caption) { return Insert(Count(), std::move(caption)); }

 private:
  MenuTree& menu_;
  MenuEntry* parent_;
  std::vector<std::unique_ptr<MenuEntry>> items_;
};

// A main menu or a popup menu of the owner form. Its top-level items are the
// sub-items of Items().
class MenuTree {
 public:
  MenuTree(MenuOwner& owner, MenuKind kind);

  MenuKind Kind() const { return kind_; }
  MenuOwner& Owner() const { return owner_; }
  MenuEntry& Items() { return root_; }

  bool OwnerDraw = false;
  bool RightToLeft = false;
  const MenuImageList* Images = nullptr;

 private:
  MenuOwner& owner_;
  MenuKind kind_;
  MenuEntry root_;
};

// Hears of items inserted into or removed from the owner's menus.
class MenuListener {
 public:
  virtual ~MenuListener() = default;
  virtual void Notification(MenuEntry& item, MenuOperation operation) = 0;
};

// The owner form as the menu drawing sees it: its menus, the components that
// listen to their changes, and two things only the platform can do.
class MenuOwner {
 public:
  MenuOwner() = default;
  virtual ~MenuOwner() = default;
  MenuOwner(const MenuOwner&) = delete;
  MenuOwner& operator=(const MenuOwner&) = delete;

  MenuTree& AddMenu(MenuKind kind);
  int MenuCount() const { return static_cast<int>(menus_.size()); }
  MenuTree& Menus(int index) const { return *menus_.at(static_cast<std::size_t>(index)); }

  void AddListener(MenuListener* listener) { listeners_.push_back(listener); }
  void RemoveListener(MenuListener* listener);
  void Notify(MenuEntry& item, MenuOperation operation);

  // Repaints the form's menu bar.
  virtual void RedrawMenuBar() {}
  // The menu font of the system's non-client metrics; false when unavailable.
  virtual bool SystemMenuFont(MenuFont& font) {
    (void)font;
    return false;
  }

 private:
  std::vector<std::unique_ptr<MenuTree>> menus_;
  std::vector<MenuListener*> listeners_;
};

// The colours one painting works with, all RGB.
struct MenuWorkingColors {
  ColorRef Menu = 0;
  ColorRef IconColumn = 0;
  ColorRef SelectionFill = 0;
  ColorRef SelectionBorder = 0;
  ColorRef SelectionText = 0;
  ColorRef CheckBoxFill = 0;
  ColorRef CheckBoxFillSelected = 0;
  ColorRef Check = 0;
  ColorRef MenuBar = 0;
  ColorRef DisabledText = 0;
  ColorRef Separator = 0;
  ColorRef MenuBorder = 0;
  ColorRef MenuShadow = 0;
  friend bool operator==(const MenuWorkingColors&, const MenuWorkingColors&) = default;
};

// Text placement for DrawItemText.
constexpr unsigned kTextLeft = 0;
constexpr unsigned kTextRight = 1;       // right-aligned in the rectangle
constexpr unsigned kTextRtlReading = 2;  // right-to-left reading order

class TXPMenu : public MenuListener {
 public:
  explicit TXPMenu(MenuOwner& owner);
  ~TXPMenu() override;
  TXPMenu(const TXPMenu&) = delete;
  TXPMenu& operator=(const TXPMenu&) = delete;

  MenuOwner& Owner() const { return owner_; }

  // Published properties.
  const MenuFont& Font() const { return font_; }
  void SetFont(const MenuFont& font);
  ColorRef Color() const { return color_; }
  void SetColor(ColorRef color) { color_ = color; }
  ColorRef IconBackColor() const { return iconBackColor_; }
  void SetIconBackColor(ColorRef color) { iconBackColor_ = color; }
  ColorRef MenuBarColor() const { return menuBarColor_; }
  void SetMenuBarColor(ColorRef color);
  ColorRef SelectColor() const { return selectColor_; }
  void SetSelectColor(ColorRef color) { selectColor_ = color; }
  ColorRef SelectBorderColor() const { return selectBorderColor_; }
  void SetSelectBorderColor(ColorRef color) { selectBorderColor_ = color; }
  ColorRef SelectFontColor() const { return selectFontColor_; }
  void SetSelectFontColor(ColorRef color) { selectFontColor_ = color; }
  ColorRef DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(ColorRef color) { disabledColor_ = color; }
  ColorRef SeparatorColor() const { return separatorColor_; }
  void SetSeparatorColor(ColorRef color) { separatorColor_ = color; }
  ColorRef CheckedColor() const { return checkedColor_; }
  void SetCheckedColor(ColorRef color) { checkedColor_ = color; }
  int IconWidth() const { return iconWidth_; }
  void SetIconWidth(int width) { iconWidth_ = width; }
  bool DrawSelect() const { return drawSelect_; }
  void SetDrawSelect(bool on) { drawSelect_ = on; }
  bool UseSystemColors() const { return useSystemColors_; }
  void SetUseSystemColors(bool on);
  bool OverrideOwnerDraw() const { return overrideOwnerDraw_; }
  void SetOverrideOwnerDraw(bool on);
  bool Gradient() const { return gradient_; }
  void SetGradient(bool on) { gradient_ = on; }
  bool FlatMenu() const { return flatMenu_; }
  void SetFlatMenu(bool on) { flatMenu_ = on; }
  bool AutoDetect() const { return autoDetect_; }
  void SetAutoDetect(bool on) { autoDetect_ = on; }
  bool Active() const { return active_; }
  void SetActive(bool on);

  // The handlers given to every hooked item.
  void MeasureMenuItem(MenuEntry& item, MenuCanvas& canvas, int& width, int& height);
  void PaintMenuItem(MenuEntry& item, MenuCanvas& canvas, const Rect& rect, bool selected);

  // Hooks (on) or unhooks (off) every item of the owner's menus and switches
  // their owner drawing.
  void Activate(bool on);
  // Hooks the item, the items beside it, and all their sub-items.
  void HookItemFamily(MenuEntry& item);
  void Notification(MenuEntry& item, MenuOperation operation) override;

  // The parts of one item's painting.
  void DrawItemIcon(const MenuEntry& item, MenuCanvas& canvas, bool rightToLeft, bool selected,
                    const Rect& iconColumn, Bitmap& bitmap);
  void DrawItemText(MenuCanvas& canvas, const std::wstring& text, const std::wstring& shortCut, unsigned flags,
                    bool rightToLeft, bool enabled, bool selected, Rect textRect, bool menuBarItem = false);
  // The text colour of a selected item on a menu bar drawn in `color`.
  ColorRef ContrastTextColor(MenuCanvas& canvas, ColorRef color);

  // What the last painting worked with.
  const MenuWorkingColors& WorkingColors() const { return colors_; }
  bool HighColor() const { return highColor_; }

 private:
  void HookItem(MenuEntry& item);
  void UnhookItem(MenuEntry& item);
  void HookTree(MenuEntry& item, bool on);
  void ComputeWorkingColors(MenuCanvas& canvas);
  bool IsMenuBarItem(const MenuEntry& item) const;
  const MenuImageList* ImagesOf(const MenuEntry& item) const;
  MenuSize IconExtent(const MenuEntry& item) const;
  // With the system's colours the system menu font replaces the stored one.
  void TakeSystemMenuFont(MenuCanvas& canvas);
  MenuFont ItemFont(const MenuEntry& item) const;
  void PaintBackground(MenuCanvas& canvas, const Rect& rect, const Rect& iconColumn, bool rightToLeft);
  void DrawCheckMark(MenuCanvas& canvas, const MenuEntry& item, const Rect& box, bool listImage, bool selected);

  MenuOwner& owner_;
  MenuFont font_;
  ColorRef color_ = clBtnFace;
  ColorRef iconBackColor_ = clBtnFace;
  ColorRef menuBarColor_ = clBtnFace;
  ColorRef selectColor_ = clHighlight;
  ColorRef selectBorderColor_ = clHighlight;
  ColorRef selectFontColor_ = clMenuText;
  ColorRef disabledColor_ = clInactiveCaption;
  ColorRef separatorColor_ = clBtnFace;
  ColorRef checkedColor_ = clHighlight;
  int iconWidth_ = 24;
  bool drawSelect_ = true;
  bool useSystemColors_ = true;
  bool overrideOwnerDraw_ = false;
  bool gradient_ = false;
  bool flatMenu_ = false;
  bool autoDetect_ = false;
  bool active_ = false;

  MenuWorkingColors colors_;
  bool highColor_ = true;
};

// Takes the system menu font when the system gives one: its colour becomes
// clMenuText and "MS Sans Serif" becomes "Tahoma". Otherwise `font` stays.
template <class Fetch>
void LoadSystemMenuFont(MenuFont& font, Fetch fetch) {
  MenuFont system = font;
  if (!fetch(system)) return;
  system.Color = clMenuText;
  if (system.Name == L"MS Sans Serif") system.Name = L"Tahoma";
  font = system;
}

// The property values the main form keeps for its XPMenu1, set in the order a
// loading form sets them.
void SetMainFormProperties(TXPMenu& menu);

}  // namespace pimblo
