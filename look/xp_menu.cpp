#include "look/xp_menu.h"

#include <algorithm>
#include <utility>

namespace pimblo {

// ---------------------------------------------------------------------------
// The item tree.

MenuEntry::MenuEntry(MenuTree& menu, MenuEntry* parent, std::wstring caption)
    : Caption(std::move(caption)), menu_(menu), parent_(parent) {}

MenuEntry& MenuEntry::Insert(int index, std::wstring caption) {
  index = std::clamp(index, 0, Count());
  auto item = std::make_unique<MenuEntry>(menu_, this, std::move(caption));
  MenuEntry& added = *item;
  items_.insert(items_.begin() + index, std::move(item));
  menu_.Owner().Notify(added, MenuOperation::Insert);
  return added;
}

MenuTree::MenuTree(MenuOwner& owner, MenuKind kind) : owner_(owner), kind_(kind), root_(*this, nullptr, L"") {}

MenuTree& MenuOwner::AddMenu(MenuKind kind) {
  menus_.push_back(std::make_unique<MenuTree>(*this, kind));
  return *menus_.back();
}

void MenuOwner::RemoveListener(MenuListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void MenuOwner::Notify(MenuEntry& item, MenuOperation operation) {
  // A listener may hook items but never joins or leaves while being told.
  for (MenuListener* listener : listeners_) listener->Notification(item, operation);
}

// ---------------------------------------------------------------------------
// Creation, properties, hooking.

TXPMenu::TXPMenu(MenuOwner& owner) : owner_(owner) {
  LoadSystemMenuFont(font_, [&](MenuFont& f) { return owner_.SystemMenuFont(f); });
  selectFontColor_ = font_.Color;
  owner_.AddListener(this);
  if (active_) Activate(true);
}

TXPMenu::~TXPMenu() {
  Activate(false);
  owner_.RemoveListener(this);
}

void TXPMenu::SetFont(const MenuFont& font) {
  font_ = font;
  owner_.RedrawMenuBar();
}

void TXPMenu::SetMenuBarColor(ColorRef color) {
  menuBarColor_ = color;
  owner_.RedrawMenuBar();
}

void TXPMenu::SetUseSystemColors(bool on) {
  useSystemColors_ = on;
  owner_.RedrawMenuBar();
}

void TXPMenu::SetOverrideOwnerDraw(bool on) {
  overrideOwnerDraw_ = on;
  if (active_) SetActive(true);
}

void TXPMenu::SetActive(bool on) {
  active_ = on;
  Activate(false);
  if (on) Activate(true);
  owner_.RedrawMenuBar();
}

void TXPMenu::Activate(bool on) {
  for (int m = 0; m < owner_.MenuCount(); ++m) {
    MenuTree& menu = owner_.Menus(m);
    MenuEntry& top = menu.Items();
    for (int i = 0; i < top.Count(); ++i) {
      menu.OwnerDraw = on;
      HookTree(top.Items(i), on);
    }
  }
}

void TXPMenu::HookTree(MenuEntry& item, bool on) {
  if (on) HookItem(item);
  else UnhookItem(item);
  for (int i = 0; i < item.Count(); ++i) HookTree(item.Items(i), on);
}

void TXPMenu::HookItem(MenuEntry& item) {
  if (!item.OnDrawItem || overrideOwnerDraw_)
    item.OnDrawItem = {[this](MenuEntry& i, MenuCanvas& c, const Rect& r, bool s) { PaintMenuItem(i, c, r, s); },
                       this};
  if (!item.OnMeasureItem || overrideOwnerDraw_)
    item.OnMeasureItem = {[this](MenuEntry& i, MenuCanvas& c, int& w, int& h) { MeasureMenuItem(i, c, w, h); }, this};
}

void TXPMenu::UnhookItem(MenuEntry& item) {
  if (item.OnDrawItem.Source == this) item.OnDrawItem = {};
  if (item.OnMeasureItem.Source == this) item.OnMeasureItem = {};
}

void TXPMenu::HookItemFamily(MenuEntry& item) {
  if (item.OnDrawItem.Source != this) HookItem(item);
  MenuEntry* parent = item.Parent();
  if (!parent) return;
  for (int i = 0; i < parent->Count(); ++i) {
    MenuEntry& sibling = parent->Items(i);
    if (sibling.OnDrawItem.Source != this) HookItem(sibling);
    // One call covers all of a sibling's sub-items.
    if (sibling.Count() > 0) HookItemFamily(sibling.Items(0));
  }
}

void TXPMenu::Notification(MenuEntry& item, MenuOperation operation) {
  (void)item;
  if (autoDetect_ && operation == MenuOperation::Insert) SetActive(true);
}

void SetMainFormProperties(TXPMenu& menu) {
  MenuFont font;
  font.Name = L"Tahoma";
  font.Height = -11;
  font.Charset = 134;  // GB2312_CHARSET
  font.Color = clMenuText;
  menu.SetFont(font);
  menu.SetColor(clBtnFace);
  menu.SetIconBackColor(clBtnFace);
  menu.SetMenuBarColor(clBtnFace);
  menu.SetSelectColor(clHighlight);
  menu.SetSelectBorderColor(clHighlight);
  menu.SetSelectFontColor(clMenuText);
  menu.SetDisabledColor(clInactiveCaption);
  menu.SetSeparatorColor(clBtnFace);
  menu.SetCheckedColor(clHighlight);
  menu.SetIconWidth(24);
  menu.SetDrawSelect(true);
  menu.SetUseSystemColors(true);
  menu.SetOverrideOwnerDraw(false);
  menu.SetGradient(false);
  menu.SetFlatMenu(false);
  menu.SetAutoDetect(true);
  menu.SetActive(true);
}

// ---------------------------------------------------------------------------
// Measuring.

bool TXPMenu::IsMenuBarItem(const MenuEntry& item) const {
  return item.Menu().Kind() == MenuKind::MainMenu && item.Parent() == &item.Menu().Items();
}

const MenuImageList* TXPMenu::ImagesOf(const MenuEntry& item) const {
  if (item.Parent() && item.Parent()->SubMenuImages) return item.Parent()->SubMenuImages;
  return item.Menu().Images;
}

MenuSize TXPMenu::IconExtent(const MenuEntry& item) const {
  MenuSize extent;
  const MenuImageList* images = ImagesOf(item);
  if (images && item.ImageIndex != -1) extent = {images->Width, images->Height};
  else if (item.Glyph.width > 0) extent = {item.Glyph.width, item.Glyph.height};
  if (!IsMenuBarItem(item)) extent.cx = std::max(extent.cx, iconWidth_);
  return extent;
}

void TXPMenu::TakeSystemMenuFont(MenuCanvas& canvas) {
  LoadSystemMenuFont(font_, [&](MenuFont& f) { return canvas.SystemMenuFont(f); });
}

MenuFont TXPMenu::ItemFont(const MenuEntry& item) const {
  MenuFont font = font_;
  if (item.Default) font.Bold = true;  // the default item stands out
  return font;
}

namespace {

bool IsBlank(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= L' '; });
}

}  // namespace

void TXPMenu::MeasureMenuItem(MenuEntry& item, MenuCanvas& canvas, int& width, int& height) {
  if (!active_) return;
  const bool line = item.IsLine();
  std::wstring text = line ? std::wstring() : item.Caption;
  if (!IsBlank(item.ShortCut)) text += item.ShortCut + L"WWW";

  // Measured in exactly the font the painting will use, or a caption measured
  // in the stored font would be cut off when painted in the system's.
  if (useSystemColors_) TakeSystemMenuFont(canvas);
  canvas.SetFont(ItemFont(item));
  const MenuSize textSize = canvas.TextExtent(text);
  int w = textSize.cx;
  if (text.find(L'&') != std::wstring::npos) w -= canvas.TextExtent(L"&").cx;
  const MenuSize icon = IconExtent(item);
  w += icon.cx + 10;
  if (width < w) width = w;

  if (line) {
    height = 4;
    return;
  }
  int h = textSize.cy + RoundHalfEven(3LL * textSize.cy, 4);
  h = std::max(h, icon.cy + 4);
  if (height < h) height = h;
}

// ---------------------------------------------------------------------------
// Painting.

void TXPMenu::ComputeWorkingColors(MenuCanvas& canvas) {
  const auto rgb = [&](ColorRef c) { return ColorToRGB(canvas, c); };
  MenuWorkingColors& w = colors_;
  // The check box's fill: a colour lightened, less so on the selected item.
  const auto checkBoxFills = [&](ColorRef from) {
    w.CheckBoxFill = LightenColor(canvas, from, 75);
    w.CheckBoxFillSelected = LightenColor(canvas, from, 50);
  };
  highColor_ = canvas.BitsPerPixel() > 15;

  w.Menu = rgb(color_);
  w.IconColumn = rgb(iconBackColor_);
  w.SelectionFill = rgb(selectColor_);
  if (highColor_) {
    checkBoxFills(selectColor_);
    w.MenuBorder = DarkenColor(canvas, clBtnFace, 90);
    w.MenuShadow = DarkenColor(canvas, clBtnFace, 76);
  } else {
    w.CheckBoxFill = clWhite;
    w.CheckBoxFillSelected = clSilver;
    w.MenuBorder = w.MenuShadow = rgb(clBtnShadow);
  }
  w.SelectionBorder = rgb(selectBorderColor_);
  w.SelectionText = rgb(selectFontColor_);
  w.MenuBar = rgb(menuBarColor_);
  w.DisabledText = rgb(disabledColor_);
  w.Check = rgb(checkedColor_);
  w.Separator = rgb(separatorColor_);

  if (!useSystemColors_) return;
  TakeSystemMenuFont(canvas);
  w.SelectionText = rgb(font_.Color);
  w.SelectionBorder = rgb(clHighlight);
  w.Check = rgb(clHighlight);
  if (highColor_) {
    w.Menu = LightenColor(canvas, clBtnFace, 86);
    w.IconColumn = LightenColor(canvas, clBtnFace, 16);
    w.SelectionFill = LightenColor(canvas, clHighlight, 68);
    w.MenuBar = rgb(clMenu);
    w.DisabledText = LightenColor(canvas, clBtnShadow, 10);
    w.Separator = LightenColor(canvas, clBtnShadow, 25);
    checkBoxFills(clHighlight);
  } else {
    w.Menu = clWhite;
    w.IconColumn = rgb(clBtnFace);
    w.SelectionFill = clWhite;
    w.MenuBar = rgb(clBtnFace);
    w.DisabledText = rgb(clBtnShadow);
    w.Separator = rgb(clBtnShadow);
    w.CheckBoxFill = w.CheckBoxFillSelected = clWhite;
  }
}

void TXPMenu::PaintBackground(MenuCanvas& canvas, const Rect& rect, const Rect& iconColumn,
                              bool rightToLeft) {
  if (!(gradient_ && highColor_)) {
    canvas.FillRect(rect, colors_.Menu);
    canvas.FillRect(iconColumn, colors_.IconColumn);
    return;
  }
  // One-pixel strips from the leading edge, quickly lighter over the icon
  // column, then slowly.
  Rect area = rect;
  area.right += 2;
  int percent = 0;
  for (int i = 0; i < area.Width(); ++i) {
    const int x = rightToLeft ? area.right - 1 - i : area.left + i;
    canvas.FillRect({x, area.top, x + 1, area.bottom}, LightenColor(canvas, colors_.IconColumn, percent));
    percent = std::min(96, percent + (i < iconWidth_ + 5 ? 3 : 1));
  }
}

void TXPMenu::DrawCheckMark(MenuCanvas& canvas, const MenuEntry& item, const Rect& box, bool listImage,
                            bool selected) {
  const ColorRef brush = selected ? colors_.CheckBoxFillSelected : colors_.CheckBoxFill;
  if (item.RadioItem) {
    if (listImage) canvas.RoundRect(box, 6, colors_.SelectionBorder, brush);
    else canvas.Ellipse(box, colors_.SelectionBorder, brush);
    return;
  }
  if (listImage) {
    canvas.Rectangle(box, colors_.SelectionBorder, brush);
    return;
  }
  canvas.Rectangle(box, colors_.Check, brush);
  const int l = box.left, t = box.top, r = box.right, b = box.bottom;
  canvas.Line(l + 1, t + 5, l + 4, b - 2, clBlack);
  canvas.Line(l + 2, t + 5, l + 4, b - 3, clBlack);
  canvas.Line(l + 2, t + 4, l + 5, b - 3, clBlack);
  canvas.Line(l + 4, b - 3, r + 2, t - 1, clBlack);
  canvas.Line(l + 4, b - 2, r - 2, t + 3, clBlack);
}

void TXPMenu::PaintMenuItem(MenuEntry& item, MenuCanvas& canvas, const Rect& itemRect, bool selected) {
  if (!active_) return;
  ComputeWorkingColors(canvas);

  const bool rightToLeft = item.Menu().RightToLeft;
  const bool line = item.IsLine();
  MenuFont font = ItemFont(item);
  if (rightToLeft) font.Charset = 178;  // ARABIC_CHARSET
  canvas.SetFont(font);

  Rect rect = itemRect;
  rect.bottom += 1;
  Rect textRect = rect;
  const std::wstring caption = L" " + item.Caption;

  Bitmap bitmap = item.Glyph.width > 0 ? item.Glyph : Bitmap();
  const MenuImageList* images = ImagesOf(item);
  const bool listImage = images && item.ImageIndex != -1;

  const Rect iconColumn = rightToLeft ? Rect{rect.right - iconWidth_, rect.top, rect.right, rect.bottom}
                                          : Rect{rect.left, rect.top, rect.left + iconWidth_, rect.bottom};
  Rect checkBox;
  if (listImage) {
    checkBox = {iconColumn.left + 1, iconColumn.top + 2, iconColumn.right - 3, iconColumn.bottom - 2};
  } else {
    checkBox.left = iconColumn.left + (iconColumn.Width() - 10) / 2;
    checkBox.top = iconColumn.top + (iconColumn.Height() - 10) / 2;
    checkBox.right = checkBox.left + 10;
    checkBox.bottom = checkBox.top + 10;
  }

  if (!rightToLeft) {
    // A bitmap wider than the column pushes the text right (measured from the
    // menu window's left edge, where popup items start).
    textRect.left = rect.left + iconWidth_;
    if (textRect.left < bitmap.width) textRect.left = bitmap.width + 4;
  } else {
    textRect.right = bitmap.width > iconWidth_ ? rect.right - bitmap.width - 4 : rect.right - iconWidth_;
  }

  PaintBackground(canvas, rect, iconColumn, rightToLeft);

  if (selected && drawSelect_ && item.Enabled) {
    Rect bar = rect;
    bar.top += 1;
    bar.bottom -= 1;
    if (flatMenu_) bar.right -= 1;
    canvas.FillRect(bar, colors_.SelectionFill);
    canvas.FrameRect(bar, colors_.SelectionBorder);
  }

  if (item.Checked) DrawCheckMark(canvas, item, checkBox, listImage, selected);

  if (listImage) {
    // The list's image on the icon column's colour, which becomes its
    // transparent colour.
    bitmap = Bitmap(images->Width, images->Height, PixelFromColorRef(colors_.IconColumn));
    const auto index = static_cast<std::size_t>(item.ImageIndex);
    if (item.ImageIndex >= 0 && index < images->Images.size()) {
      const Bitmap& image = images->Images[index];
      const Mask* mask = index < images->Masks.size() ? &images->Masks[index] : nullptr;
      for (int y = 0; y < std::min(image.height, bitmap.height); ++y)
        for (int x = 0; x < std::min(image.width, bitmap.width); ++x)
          if (!mask || x >= mask->width || y >= mask->height || !mask->IsTransparent(x, y))
            bitmap.At(x, y) = image.At(x, y);
    }
  }
  DrawItemIcon(item, canvas, rightToLeft, selected, iconColumn, bitmap);  // nothing for no bitmap

  if (line) {
    const int y = textRect.top + RoundHalfEven(textRect.Height(), 2);
    if (rightToLeft) canvas.Line(textRect.left, y, textRect.right - 7, y, colors_.Separator);
    else canvas.Line(textRect.left + 7, y, textRect.right, y, colors_.Separator);
  } else {
    unsigned flags = kTextLeft;
    if (rightToLeft) {
      textRect.right -= 5;
      flags = kTextRight | kTextRtlReading;
    } else {
      textRect.left += 5;
    }
    DrawItemText(canvas, caption, item.ShortCut, flags, rightToLeft, item.Enabled, selected, textRect,
                 IsMenuBarItem(item));
  }

  HookItemFamily(item);
}

void TXPMenu::DrawItemIcon(const MenuEntry& item, MenuCanvas& canvas, bool rightToLeft, bool selected,
                           const Rect& iconColumn, Bitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  int y = iconColumn.top + 4;
  int x;
  if (bitmap.width <= iconWidth_) x = iconColumn.left + (iconWidth_ - bitmap.width) / 2 - 1;
  else x = rightToLeft ? iconColumn.right - bitmap.width - 2 : iconColumn.left + 2;

  const bool enabled = item.Enabled;
  const bool lively = selected && enabled && !item.Checked;  // raised, with a shadow
  if (lively && !IsMenuBarItem(item)) {
    --x;
    --y;
  }
  if (!selected && enabled && !item.Checked && highColor_) LightenBitmap(bitmap, canvas, 30);
  if (!enabled) GrayOutBitmap(bitmap, canvas, selected ? 70 : 60);
  if (lively) DrawIconShadow(bitmap, canvas, x + 2, y + 2, DarkenColor(canvas, colors_.SelectionFill, 50));
  canvas.DrawBitmap(x, y, bitmap, bitmap.At(0, bitmap.height - 1));
}

namespace {

// A caption as shown: "&&" stands for "&", every other "&" is left out, and
// the character after the first of them is the accelerator.
struct ShownText {
  std::wstring text;
  int accelerator = -1;
};

ShownText WithoutAmpersands(const std::wstring& caption) {
  ShownText shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != L'&') {
      shown.text += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == L'&') {
      shown.text += L'&';
      ++i;
    } else if (shown.accelerator < 0 && i + 1 < caption.size()) {
      shown.accelerator = static_cast<int>(shown.text.size());
    }
  }
  return shown;
}

}  // namespace

void TXPMenu::DrawItemText(MenuCanvas& canvas, const std::wstring& text, const std::wstring& shortCut, unsigned flags,
                           bool rightToLeft, bool enabled, bool selected, Rect textRect, bool menuBarItem) {
  ColorRef color;
  if (!enabled) {
    color = colors_.DisabledText;
    if (selected && highColor_) color = LightenColor(canvas, color, 10);
  } else if (selected) {
    color = menuBarItem ? ContrastTextColor(canvas, colors_.IconColumn) : colors_.SelectionText;
  } else {
    color = ColorToRGB(canvas, font_.Color);
  }

  textRect.top += (textRect.Height() - canvas.TextExtent(L"W").cy) / 2;

  const ShownText shown = WithoutAmpersands(text);
  const int x = (flags & kTextRight) ? textRect.right - canvas.TextExtent(shown.text).cx : textRect.left;
  canvas.OutText(x, textRect.top, shown.text, color, textRect, {shown.accelerator, (flags & kTextRtlReading) != 0});

  // The shortcut at the far side, a little lighter.
  const std::wstring tail = shortCut + L" ";
  const ColorRef tailColor = highColor_ ? DarkenColor(canvas, color, -40) : color;
  Rect tailRect = textRect;
  int tailX;
  if (rightToLeft) {
    tailRect.left += 10;
    tailX = tailRect.left;
  } else {
    tailRect.right -= 10;
    tailX = tailRect.right - canvas.TextExtent(tail).cx;
  }
  canvas.OutText(tailX, tailRect.top, tail, tailColor, tailRect, {-1, rightToLeft});
}

ColorRef TXPMenu::ContrastTextColor(MenuCanvas& canvas, ColorRef color) {
  const ColorRef c = ColorToRGB(canvas, color);
  if ((RedOfColor(c) + BlueOfColor(c)) / 2 > 150 || GreenOfColor(c) > 200) return ColorToRGB(canvas, font_.Color);
  return LightenColor(canvas, c, 90);
}

}  // namespace pimblo
