// The geometry of a skinned window's frame, worked out without the window
// system: which kind of window it is, the border sizes, the client area, where
// the title text and the title-bar buttons go and which of them show, the
// frames to draw, hit-test refinement, and the painting of border pieces into
// plain bitmaps (so the window region can be cut from the very pixels drawn).
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "look/win_skin_data.h"
#include "sprites/region_scan.h"

namespace pimblo {

// Window style bits, as the window system has them.
namespace style {
constexpr std::uint32_t kPopup = 0x80000000;
constexpr std::uint32_t kChild = 0x40000000;
constexpr std::uint32_t kCaption = 0x00C00000;  // border and dialog frame
constexpr std::uint32_t kSysMenu = 0x00080000;
constexpr std::uint32_t kThickFrame = 0x00040000;
constexpr std::uint32_t kMinimizeBox = 0x00020000;
constexpr std::uint32_t kMaximizeBox = 0x00010000;
constexpr std::uint32_t kExDlgModalFrame = 0x00000001;
constexpr std::uint32_t kExMdiChild = 0x00000040;
constexpr std::uint32_t kExLayoutRtl = 0x00004000;  // right-to-left reading order
}  // namespace style

// 0 sizeable, 1 other, 2 popup without caption (no frame at all), 3 dialog.
enum class WindowKind : int { Sizeable = 0, Other = 1, CaptionlessPopup = 2, Dialog = 3 };
WindowKind KindOfWindow(std::uint32_t windowStyle, std::uint32_t exStyle, std::string_view className);

// The classes never skinned.
bool IsNeverSkinnedClass(std::string_view className);

enum class Placement : int { Normal = 0, Maximised = 1, Minimised = 2 };

struct BorderSizes {
  std::int32_t left = 0, title = 0, right = 0, bottom = 0;
  friend bool operator==(const BorderSizes&, const BorderSizes&) = default;
};
// Each border's image size divided by its frame count; all 0 for a caption-less popup.
BorderSizes ComputeBorderSizes(const TSkinData& skin, WindowKind kind);

// The client rectangle for a window rectangle: the borders, the title and the menu bar taken off.
Rect ClientFromWindow(const Rect& window, const BorderSizes& b, std::int32_t menuBarHeight);

// What the title-bar layout needs to know of a window.
struct ChromeState {
  WindowKind kind = WindowKind::Other;
  bool hasSysMenu = false;
  bool hasMinBox = false;
  bool hasMaxBox = false;
  Placement placement = Placement::Normal;
  bool active = true;
  bool hasMenuBar = false;
  bool rightToLeft = false;
  bool popupStyle = false;  // the window style has the popup bit
  std::int32_t width = 0;   // window size
  std::int32_t height = 0;
  std::int32_t menuBarHeight = 0;
};

// Whether a title-bar button shows: its Visibility and Visibility1 conditions and the rules
// tying actions to the window's boxes.
bool IsButtonVisible(const TDataSkinSysButton& button, const ChromeState& w);

constexpr std::int32_t kSmallIconSize = 16;

// A button's size: its image's width over its frame count by its height; an icon button without
// image is as large as the small icon.
Rect ButtonSize(const TDataSkinSysButton& button);

// The frame a button shows (1-based): its state while the mouse acts on it, else 1 when the window
// is active or the image has fewer than 4 frames, else 4. Child-window buttons show 4 when hot.
enum ButtonState : int { kButtonNormal = 1, kButtonPressed = 2, kButtonHot = 3 };
std::int32_t ButtonFrame(const TDataSkinSysButton& button, std::int32_t state, bool active);

// The laid-out title bar.
struct TitleLayout {
  Rect text;                   // where the text is drawn (one line, ellipsis, clipped)
  Rect textBack;               // the text background picture's place (with its margins)
  std::vector<Rect> buttons;   // one per skin button, window coordinates; empty when hidden
  std::vector<bool> visible;
  std::int32_t leftmostRightButton = 0;  // smallest x of the right-aligned buttons (the width when none)
};
// Lays out the title for a window whose text measures textWidth x textHeight in the caption
// font (the text being two spaces, the window text and one space).
TitleLayout LayoutTitle(const TSkinData& skin, const ChromeState& w, const BorderSizes& b, std::int32_t textWidth,
                        std::int32_t textHeight);

// The button at a point (window coordinates), or -1.
std::int32_t ButtonAt(const TitleLayout& layout, std::int32_t x, std::int32_t y);

// Hit-test codes, as the window system numbers them.
namespace hit {
constexpr std::int32_t kNowhere = 0;
constexpr std::int32_t kClient = 1;
constexpr std::int32_t kCaption = 2;
constexpr std::int32_t kSysMenu = 3;
constexpr std::int32_t kMenu = 5;
constexpr std::int32_t kMinButton = 8;
constexpr std::int32_t kMaxButton = 9;
constexpr std::int32_t kClose = 20;
}  // namespace hit
// Refines the window's own answer for a point y pixels below the window's top: nowhere and caption
// become caption below the top 3 rows, and menu below the title.
std::int32_t RefineHitTest(std::int32_t result, std::int32_t y, std::int32_t titleHeight);

// What a title-bar button's action does.
enum class ButtonCommand { Close, MaximiseOrRestore, MinimiseOrRestore, SystemMenu, ChildMinimise, ChildRestore,
                           ChildClose, Post };
ButtonCommand CommandOfAction(std::int32_t action);

// The replacement system menu's items by tag. The tag of an item with a glyph is its glyph's place
// in the skin's menu glyphs.
namespace system_menu_tag {
enum : std::int32_t { kRestore = 0, kMaximise = 1, kMinimise = 2, kClose = 3, kSeparator = 100 };
}  // namespace system_menu_tag

// The replacement system menu's Tag, which its items also carry as their data.
constexpr std::int32_t kSystemMenuTag = 33333;

// The replacement system menu: restore, maximise, minimise, a separator, close.
struct SystemMenuItem {
  std::int32_t tag;
  const wchar_t* caption;
  const wchar_t* shortcut;
  bool enabled;
};
std::vector<SystemMenuItem> SystemMenuItems(bool hasMinBox, bool hasMaxBox, Placement placement);

// ---- painting border pieces into bitmaps

// Frame `index` (1-based, clamped to the frames there are) of a border image: frames stacked top
// to bottom (Top and Bottom) or side by side (Left and Right).
Rect BorderFrameRect(const Bitmap& image, std::int32_t frameCount, std::int32_t index, bool sideBySide);
// Frame 1 when the window is active or the border has one frame, else 2.
std::int32_t BorderFrameIndex(const TDataSkinObject& border, bool active);
// The frame of the title's text background: frame 1 active, 2 inactive, side by side like every
// picture of several frames but the Top and Bottom borders.
Rect TextBackFrame(const TDataSkinTitle& title, bool active);

// Draws `src` (within srcRect) into `dst` (within dstRect) in nine slices: corners of the margins
// copied, edges and middle stretched, or tiled when tile is set. A margin pair larger than the
// target (or the source) is dropped. Magenta pixels are copied too.
void DrawNineSlice(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                   std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, bool tile);
// Copies src's srcRect to (x, y) leaving out magenta (0xFF00FF) pixels; clipped to dst.
void DrawTransparent(Bitmap& dst, std::int32_t x, std::int32_t y, const Bitmap& src, const Rect& srcRect);

constexpr Pixel kMagenta = MakePixel(255, 0, 255);

// A border drawn for a window: its piece's place in the window and the pixels painted there.
struct BorderPiece {
  Rect place;
  Bitmap pixels;
};
// Paints one border for a window of the given state (the Top border without title text and
// buttons).
BorderPiece PaintBorder(const TSkinData& skin, TBorderSide side, const ChromeState& w, const BorderSizes& b);

// The title bar as painted before its text: the whole window's width by the title's height, the
// side borders' top parts, the Top border and the text background at the layout's place.
Bitmap PaintTitleBack(const TSkinData& skin, const ChromeState& w, const BorderSizes& b, const TitleLayout& layout);
// Draws the layout's visible buttons that have pictures (the icon button is the window's own icon)
// onto a painted title bar, each in the frame of its state (stateOf: a button's index to its
// ButtonState); magenta pixels leave the title bar showing.
void DrawTitleButtons(Bitmap& title, const TSkinData& skin, const ChromeState& w, const TitleLayout& layout,
                      const std::function<std::int32_t(std::int32_t)>& stateOf);

// The window region, as rectangles in window coordinates: the whole window when none of Left,
// Right and Top is transparent (or for a caption-less popup); otherwise the client area within the
// borders plus each border as its rectangle (not transparent, or a bottom under 2 pixels) or as
// its painted pixels less magenta. The Top border's shape is taken from paintedTitle (the whole
// title bar as drawn, text and buttons included) when it is given at the window's width and title
// height; the bare border otherwise.
std::vector<Rect> WindowRegionRects(const TSkinData& skin, const ChromeState& w, const BorderSizes& b,
                                          const Bitmap* paintedTitle = nullptr);

}  // namespace pimblo
