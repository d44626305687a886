#include "look/skin_layout.h"

#include <algorithm>

namespace pimblo {

WindowKind KindOfWindow(std::uint32_t windowStyle, std::uint32_t exStyle, std::string_view className) {
  if ((windowStyle & style::kPopup) && (windowStyle & style::kCaption) != style::kCaption)
    return WindowKind::CaptionlessPopup;
  if (windowStyle & style::kThickFrame) return WindowKind::Sizeable;
  if ((exStyle & style::kExDlgModalFrame) || className == "#32770" || className == "TMessageForm")
    return WindowKind::Dialog;
  return WindowKind::Other;
}

bool IsNeverSkinnedClass(std::string_view className) {
  return className == "TApplication" || className == "TQRStandardPreview";
}

namespace {
std::int32_t PerFrame(std::int32_t size, std::int32_t frames) { return frames > 0 ? size / frames : size; }
}  // namespace

BorderSizes ComputeBorderSizes(const TSkinData& skin, WindowKind kind) {
  if (kind == WindowKind::CaptionlessPopup) return {};
  const auto& B = skin.Borders;
  return {PerFrame(B[bsLeft].Image.width, B[bsLeft].FrameCount), PerFrame(B[bsTop].Image.height, B[bsTop].FrameCount),
          PerFrame(B[bsRight].Image.width, B[bsRight].FrameCount),
          PerFrame(B[bsBottom].Image.height, B[bsBottom].FrameCount)};
}

Rect ClientFromWindow(const Rect& window, const BorderSizes& b, std::int32_t menuBarHeight) {
  Rect r{window.left + b.left, window.top + b.title + menuBarHeight, window.right - b.right,
             window.bottom - b.bottom};
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  return r;
}

namespace {
// One of the two visibility conditions; `first` for Visibility, else Visibility1.
bool VisibilityCondition(std::int32_t code, bool first, const TDataSkinSysButton& button, const ChromeState& w) {
  namespace v = button_visibility;
  const bool maximised = w.placement == Placement::Maximised;
  switch (code) {
    case v::kAlways: return first ? (button.Action != button_action::kClose || w.hasSysMenu) : true;
    case v::kMaximised: return maximised;
    case v::kNotMaximised: return !maximised;
    case v::kActive: return w.active;
    case v::kInactive: return !w.active;
    case v::kMaxBox: return first ? (w.hasMaxBox && w.hasSysMenu) : w.hasMaxBox;
    case v::kNoMaxBox: return !w.hasMaxBox;
    case v::kMinBox: return first ? (w.hasMinBox && w.hasSysMenu) : w.hasMinBox;
    case v::kNoMinBox: return !w.hasMinBox;
    case v::kMenuBar: return first ? w.hasMenuBar : VisibilityCondition(button.Visibility, true, button, w);
    default: return code >= v::kShownFirst && code <= v::kShownLast;
  }
}
}  // namespace

bool IsButtonVisible(const TDataSkinSysButton& button, const ChromeState& w) {
  if (!VisibilityCondition(button.Visibility, true, button, w)) return false;
  if (!VisibilityCondition(button.Visibility1, false, button, w)) return false;
  if (button.Action == button_action::kMaximise && !w.hasMaxBox) return false;
  if (button.Action == button_action::kMinimise && !w.hasMinBox) return false;
  const bool menuButton = IsIconAction(button.Action) || button.Action == button_action::kSystemMenu;
  if (menuButton && w.kind == WindowKind::Dialog) return false;  // a dialog has no system menu button
  return true;
}

Rect ButtonSize(const TDataSkinSysButton& button) {
  if (button.Image.width > 0 && button.Image.height > 0)
    return {0, 0, PerFrame(button.Image.width, button.FrameCount), button.Image.height};
  if (IsIconAction(button.Action)) return {0, 0, kSmallIconSize, kSmallIconSize};
  return {};
}

std::int32_t ButtonFrame(const TDataSkinSysButton& button, std::int32_t state, bool active) {
  std::int32_t frame;
  if (state == kButtonPressed || state == kButtonHot)
    frame = (state == kButtonHot && button.Align == button_align::kMenuBar) ? 4 : state;
  else
    frame = (active || button.FrameCount < 4) ? 1 : 4;
  return std::clamp(frame, 1, std::max(1, button.FrameCount));
}

TitleLayout LayoutTitle(const TSkinData& skin, const ChromeState& w, const BorderSizes& b, std::int32_t textWidth,
                        std::int32_t textHeight) {
  TitleLayout out;
  const auto count = skin.SysButtons.size();
  out.buttons.assign(count, Rect{});
  out.visible.assign(count, false);
  out.leftmostRightButton = w.width;
  auto place = [&](std::size_t i, std::int32_t x, std::int32_t y) {
    const Rect size = ButtonSize(skin.SysButtons[i]);
    out.buttons[i] = {x, y, x + size.Width(), y + size.Height()};
  };
  // Buttons that do not depend on the text first: the right-aligned ones bound the text.
  for (std::size_t i = 0; i < count; ++i) {
    const auto& button = skin.SysButtons[i];
    out.visible[i] = IsButtonVisible(button, w);
    if (!out.visible[i]) continue;
    const Rect size = ButtonSize(button);
    switch (button.Align) {
      case button_align::kRight:
        place(i, w.width - button.XCoord, button.YCoord);
        out.leftmostRightButton = std::min(out.leftmostRightButton, out.buttons[i].left);
        break;
      case button_align::kMenuBar: {
        const std::int32_t y = b.title + (w.menuBarHeight - size.Height()) / 2;
        const std::int32_t x = w.rightToLeft ? b.left + button.XCoord - size.Width()
                                             : w.width - b.right - button.XCoord;
        place(i, x, y);
        break;
      }
      case button_align::kBeforeText: case button_align::kAfterText:
      case button_align::kBeforeText2: case button_align::kAfterText2: break;
      default: place(i, button.XCoord, button.YCoord); break;
    }
  }

  const TDataSkinTitle& t = skin.Title;
  const Rect area{b.left, 0, w.width - b.right, b.title};
  const std::int32_t fullWidth = textWidth + t.BackLeft + t.BackRight;
  const std::int32_t alignment = w.rightToLeft ? 2 : t.TextAlignment;
  std::int32_t x;
  switch (alignment) {
    case 1: x = area.left + (area.Width() - fullWidth) / 2; break;
    case 2: x = area.right - t.TextRightClip - fullWidth; break;
    default: x = area.left + t.TextShift; break;
  }
  if (w.kind == WindowKind::Dialog && alignment == 0) x -= 16;  // a dialog shows no icon
  const std::int32_t y = (b.title - textHeight) / 2 + t.TextShiftVert / 2;
  std::int32_t clip = area.right - t.TextRightClip;
  if (w.popupStyle) clip = out.leftmostRightButton > 5 ? out.leftmostRightButton - 5 : area.right;
  out.textBack = {x, y, std::min(x + fullWidth, clip), y + textHeight};
  out.text = {x + t.BackLeft, y, std::min(x + fullWidth - t.BackRight, clip), y + textHeight};
  if (out.text.right < out.text.left) out.text.right = out.text.left;
  if (out.textBack.right < out.textBack.left) out.textBack.right = out.textBack.left;

  // Buttons beside the text.
  for (std::size_t i = 0; i < count; ++i) {
    if (!out.visible[i]) continue;
    const auto& button = skin.SysButtons[i];
    const Rect size = ButtonSize(button);
    if (button.Align == button_align::kBeforeText || button.Align == button_align::kBeforeText2)
      place(i, x - size.Width() - button.XCoord, button.YCoord);
    if (button.Align == button_align::kAfterText || button.Align == button_align::kAfterText2)
      place(i, x + fullWidth + button.XCoord, button.YCoord);
  }
  return out;
}

std::int32_t ButtonAt(const TitleLayout& layout, std::int32_t x, std::int32_t y) {
  for (std::size_t i = 0; i < layout.buttons.size(); ++i)
    if (layout.visible[i] && layout.buttons[i].Contains(x, y)) return static_cast<std::int32_t>(i);
  return -1;
}

std::int32_t RefineHitTest(std::int32_t result, std::int32_t y, std::int32_t titleHeight) {
  if (result != hit::kNowhere && result != hit::kCaption) return result;
  if (y >= titleHeight) return hit::kMenu;
  if (y > 3) return hit::kCaption;
  return result;
}

ButtonCommand CommandOfAction(std::int32_t action) {
  namespace a = button_action;
  switch (action) {
    case a::kClose: return ButtonCommand::Close;
    case a::kMaximise: case a::kMaximiseAnyBox: return ButtonCommand::MaximiseOrRestore;
    case a::kMinimise: case a::kMinimiseAnyBox: return ButtonCommand::MinimiseOrRestore;
    case a::kIcon: case a::kIcon2: case a::kSystemMenu: return ButtonCommand::SystemMenu;
    case a::kChildMinimise: case a::kChildMinimise2: return ButtonCommand::ChildMinimise;
    case a::kChildRestore: case a::kChildRestore2: return ButtonCommand::ChildRestore;
    case a::kChildClose: case a::kChildClose2: return ButtonCommand::ChildClose;
    default: return ButtonCommand::Post;
  }
}

std::vector<SystemMenuItem> SystemMenuItems(bool hasMinBox, bool hasMaxBox, Placement placement) {
  std::vector<SystemMenuItem> items;
  namespace tag = system_menu_tag;
  items.push_back({tag::kRestore, L" Restore ", L"", placement != Placement::Normal});
  if (hasMaxBox) items.push_back({tag::kMaximise, L" Maximize ", L"", placement != Placement::Maximised});
  if (hasMinBox) items.push_back({tag::kMinimise, L" Minimize ", L"", placement != Placement::Minimised});
  items.push_back({tag::kSeparator, L"-", L"", true});
  items.push_back({tag::kClose, L" Close ", L"Shift+F4", true});
  return items;
}

// ---- painting

Rect BorderFrameRect(const Bitmap& image, std::int32_t frameCount, std::int32_t index, bool sideBySide) {
  const std::int32_t n = std::max(1, frameCount);
  const std::int32_t i = std::clamp(index, 1, n);
  if (sideBySide) {
    const std::int32_t fw = image.width / n;
    return {fw * (i - 1), 0, fw * i, image.height};
  }
  const std::int32_t fh = image.height / n;
  return {0, fh * (i - 1), image.width, fh * i};
}

std::int32_t BorderFrameIndex(const TDataSkinObject& border, bool active) {
  return (active || border.FrameCount <= 1) ? 1 : 2;
}

Rect TextBackFrame(const TDataSkinTitle& title, bool active) {
  return BorderFrameRect(title.Image, title.FrameCount, BorderFrameIndex(title, active), true);
}

namespace {
// Draws src's s into dst's d, stretched (nearest pixel) or tiled, clipped to dst.
void DrawPart(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s, bool tile) {
  if (d.Empty() || s.Empty()) return;
  const std::int32_t x0 = std::max(d.left, 0), x1 = std::min(d.right, dst.width);
  const std::int32_t y0 = std::max(d.top, 0), y1 = std::min(d.bottom, dst.height);
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int64_t oy = y - d.top;
    const auto sy = static_cast<std::int32_t>(s.top + (tile ? oy % s.Height() : oy * s.Height() / d.Height()));
    for (std::int32_t x = x0; x < x1; ++x) {
      const std::int64_t ox = x - d.left;
      const auto sx = static_cast<std::int32_t>(s.left + (tile ? ox % s.Width() : ox * s.Width() / d.Width()));
      if (sx >= 0 && sx < src.width && sy >= 0 && sy < src.height) dst.At(x, y) = src.At(sx, sy);
    }
  }
}
}  // namespace

void DrawNineSlice(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s, std::int32_t left,
                   std::int32_t top, std::int32_t right, std::int32_t bottom, bool tile) {
  left = std::max(left, 0), right = std::max(right, 0), top = std::max(top, 0), bottom = std::max(bottom, 0);
  if (left + right > d.Width() || left + right > s.Width()) left = right = 0;
  if (top + bottom > d.Height() || top + bottom > s.Height()) top = bottom = 0;
  const std::int32_t dx[4] = {d.left, d.left + left, d.right - right, d.right};
  const std::int32_t dy[4] = {d.top, d.top + top, d.bottom - bottom, d.bottom};
  const std::int32_t sx[4] = {s.left, s.left + left, s.right - right, s.right};
  const std::int32_t sy[4] = {s.top, s.top + top, s.bottom - bottom, s.bottom};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      DrawPart(dst, {dx[col], dy[row], dx[col + 1], dy[row + 1]}, src, {sx[col], sy[row], sx[col + 1], sy[row + 1]},
               tile);
}

void DrawTransparent(Bitmap& dst, std::int32_t x, std::int32_t y, const Bitmap& src, const Rect& s) {
  for (std::int32_t sy = std::max(s.top, 0); sy < std::min(s.bottom, src.height); ++sy) {
    const std::int32_t ty = y + sy - s.top;
    if (ty < 0 || ty >= dst.height) continue;
    for (std::int32_t sx = std::max(s.left, 0); sx < std::min(s.right, src.width); ++sx) {
      const std::int32_t tx = x + sx - s.left;
      if (tx < 0 || tx >= dst.width) continue;
      const Pixel p = src.At(sx, sy);
      if ((p & 0xFFFFFF) != kMagenta) dst.At(tx, ty) = p;
    }
  }
}

BorderPiece PaintBorder(const TSkinData& skin, TBorderSide side, const ChromeState& w, const BorderSizes& b) {
  BorderPiece piece;
  switch (side) {
    case bsLeft: piece.place = {0, 0, b.left, w.height}; break;
    case bsRight: piece.place = {w.width - b.right, 0, w.width, w.height}; break;
    case bsTop: piece.place = {b.left, 0, w.width - b.right, b.title}; break;
    case bsBottom: piece.place = {b.left, w.height - b.bottom, w.width - b.right, w.height}; break;
  }
  const std::int32_t pw = std::max(0, piece.place.Width()), ph = std::max(0, piece.place.Height());
  const ColorRef face = skin.ButtonFaceColor();
  piece.pixels = Bitmap(pw, ph, (face & kSystemColorFlag) ? MakePixel(212, 208, 200)
                                                          : MakePixel(static_cast<std::uint8_t>(RedOfColor(face)),
                                                                      static_cast<std::uint8_t>(GreenOfColor(face)),
                                                                      static_cast<std::uint8_t>(BlueOfColor(face))));
  const TDataSkinBorder& border = skin.Borders[side];
  if (border.Image.width == 0 || border.Image.height == 0) return piece;
  const bool sideBySide = side == bsLeft || side == bsRight;
  const Rect frame = BorderFrameRect(border.Image, border.FrameCount, BorderFrameIndex(border, w.active), sideBySide);
  const bool tile = border.Tile != 1;
  if (sideBySide)
    DrawNineSlice(piece.pixels, {0, 0, pw, ph}, border.Image, frame, 0, border.TopHeight, 0, border.BottomHeight, tile);
  else
    DrawNineSlice(piece.pixels, {0, 0, pw, ph}, border.Image, frame, border.LeftWidth, 0, border.RightWidth, 0, tile);
  return piece;
}

Bitmap PaintTitleBack(const TSkinData& skin, const ChromeState& w, const BorderSizes& b, const TitleLayout& layout) {
  const std::int32_t width = std::max(0, w.width), t = std::max(0, b.title);
  Bitmap title(width, t);
  for (TBorderSide side : {bsLeft, bsRight, bsTop}) {
    const BorderPiece piece = PaintBorder(skin, side, w, b);
    for (std::int32_t y = 0; y < std::min(t, piece.pixels.height); ++y)
      for (std::int32_t x = 0; x < piece.pixels.width; ++x) {
        const std::int32_t tx = piece.place.left + x;
        if (tx >= 0 && tx < width) title.At(tx, y) = piece.pixels.At(x, y);
      }
  }
  const TDataSkinTitle& back = skin.Title;
  if (back.Image.width > 0 && !layout.textBack.Empty())
    DrawNineSlice(title, layout.textBack, back.Image, TextBackFrame(back, w.active), back.LeftWidth, 0, back.RightWidth,
                  0, back.Tile == 1);
  return title;
}

void DrawTitleButtons(Bitmap& title, const TSkinData& skin, const ChromeState& w, const TitleLayout& layout,
                      const std::function<std::int32_t(std::int32_t)>& stateOf) {
  const std::size_t n = std::min({layout.visible.size(), layout.buttons.size(), skin.SysButtons.size()});
  for (std::size_t i = 0; i < n; ++i) {
    const TDataSkinSysButton& sb = skin.SysButtons[i];
    if (!layout.visible[i] || sb.Image.width <= 0 || IsIconAction(sb.Action)) continue;
    const std::int32_t state = stateOf ? stateOf(static_cast<std::int32_t>(i)) : kButtonNormal;
    const Rect frame = BorderFrameRect(sb.Image, sb.FrameCount, ButtonFrame(sb, state, w.active), true);
    DrawTransparent(title, layout.buttons[i].left, layout.buttons[i].top, sb.Image, frame);
  }
}

namespace {
void AddRect(std::vector<Rect>& out, const Rect& r) {
  if (!r.Empty()) out.push_back({r.left, r.top, r.right, r.bottom});
}
// Every run of pixels that are not magenta, moved to the piece's place. Rows with the
// same runs as the row above extend its rectangles instead of adding new ones.
void AddOpaqueRuns(std::vector<Rect>& out, const Bitmap& pixels, const Rect& place) {
  std::vector<std::pair<std::int32_t, std::int32_t>> runs, previous;
  std::size_t previousFirst = out.size();
  for (std::int32_t y = 0; y < pixels.height; ++y) {
    runs.clear();
    std::int32_t x = 0;
    while (x < pixels.width) {
      while (x < pixels.width && (pixels.At(x, y) & 0xFFFFFF) == kMagenta) ++x;
      const std::int32_t start = x;
      while (x < pixels.width && (pixels.At(x, y) & 0xFFFFFF) != kMagenta) ++x;
      if (x > start) runs.emplace_back(start, x);
    }
    if (y > 0 && runs == previous) {
      for (std::size_t i = previousFirst; i < out.size(); ++i) ++out[i].bottom;
      continue;
    }
    previousFirst = out.size();
    for (const auto& [start, end] : runs)
      out.push_back({place.left + start, place.top + y, place.left + end, place.top + y + 1});
    previous.swap(runs);
  }
}
}  // namespace

std::vector<Rect> WindowRegionRects(const TSkinData& skin, const ChromeState& w, const BorderSizes& b,
                                          const Bitmap* paintedTitle) {
  std::vector<Rect> out;
  const auto& B = skin.Borders;
  if (w.kind == WindowKind::CaptionlessPopup || (B[bsLeft].Trans == 0 && B[bsRight].Trans == 0 && B[bsTop].Trans == 0)) {
    AddRect(out, {0, 0, w.width, w.height});
    return out;
  }
  AddRect(out, {b.left, b.title, w.width - b.right, w.height - b.bottom});
  for (TBorderSide side : {bsLeft, bsRight, bsTop, bsBottom}) {
    BorderPiece piece = PaintBorder(skin, side, w, b);
    if (B[side].Trans != 1 || (side == bsBottom && b.bottom < 2)) {
      AddRect(out, piece.place);
      continue;
    }
    if (side == bsTop && paintedTitle && paintedTitle->width == w.width && paintedTitle->height == b.title) {
      // The painted title bar spans the whole width; only its part between the side borders counts.
      Bitmap part(piece.place.Width() > 0 ? piece.place.Width() : 0, piece.place.Height());
      for (std::int32_t y = 0; y < part.height; ++y)
        for (std::int32_t x = 0; x < part.width; ++x) part.At(x, y) = paintedTitle->At(piece.place.left + x, y);
      AddOpaqueRuns(out, part, piece.place);
    } else {
      AddOpaqueRuns(out, piece.pixels, piece.place);
    }
  }
  return out;
}

}  // namespace pimblo
