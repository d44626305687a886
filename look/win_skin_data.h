// TSkinData: the skin component. It holds a skin file (the packed skin package),
// unpacks it, reads the description and pulls the bitmaps out into skin objects,
// and tells the process-wide skin manager when to skin, re-skin or unskin the
// windows. Platform-free: the manager is reached through SkinManagerLink, files
// through a reader function; the window system's parts (the button-face brush,
// the menu glyph image list, the hook) live with the manager.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "look/skin_objects.h"
#include "look/win_skin_ini.h"

namespace pimblo {

// The Tag, taken modulo 100, that keeps a popup menu unskinned unless a skin says another.
constexpr std::int32_t kUnskinnedMenuTag = 99;

class TSkinReader;
class TSkinData;

// The kinds of window parts a skin can reach, in the order of the set.
enum TSkinControl : int {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar,
  xcTab, xcSystemMenu, xcFastReport,
  kSkinControlCount
};
using TSkinControls = std::bitset<kSkinControlCount>;
TSkinControls MakeSkinControls(std::initializer_list<TSkinControl> kinds);

enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// The [Colours] table, in its order.
enum TSkinColor : int {
  scWindowText, scButtonText, scButtonFace, scButtonHilight, scScrollbar, scButtonlight, scHilightText,
  scButtonShadow, scHilight, scButtonDkShadow, scMenubar, scMenuBarText, scMenu, scTitleTextActive,
  scMenuText, scTitleTextNoActive,
  kSkinColorCount
};

// The four frame borders, named "Left", "Right", "Top", "Bottom".
enum TBorderSide : int { bsLeft, bsRight, bsTop, bsBottom };

// The objects of the object table, in its order.
enum TSkinObjectId : int {
  soProgress, soMenuBar, soGroupBoxEdge, soGroupBox, soToolbars, soTabs, soStatusBarEdges, soComboButton,
  soSunkEdge, soExtraImages, soHeaderbar, soMenuItem, soMenuBackground, soScrollbar, soHorzScroll,
  soVertScroll, soHorzScrollThumb, soVertScrollThumb, soTrackbarThumbHorz, soTrackbarThumbVert,
  soTrackbarThumbLeft, soTrackbarThumbRight, soTrackbarThumbUp, soTrackbarThumbDown, soUpDownHorz,
  soUpDownVert,
  kSkinObjectCount
};

// The skin manager's scheduled actions.
enum TSkinAction : int {
  kSkinAll = 1,       // skin every top-level form (or only the owner form)
  kUnskinAll = 2,     // restore and release every skinned window
  kRefreshSkin = 3,   // refresh the windows skinned with this component
  kDropReleased = 6,  // free released windows
};

// What the component asks of the process-wide skin manager.
class SkinManagerLink {
 public:
  virtual ~SkinManagerLink() = default;
  virtual void AddSkin(TSkinData& skin) = 0;     // the first sfMainform one becomes the default
  virtual void RemoveSkin(TSkinData& skin) = 0;
  virtual void InstallHook() = 0;                // creation, activating and destruction of windows
  virtual void Schedule(TSkinAction action, TSkinData& skin) = 0;  // runs after 250 ms
  virtual void SwitchOn() = 0;
  virtual void SkinOwnerForm(TSkinData& skin) = 0;  // skins the owner form at once
  // The skin was read again (its buttons may be others, or fewer): the windows skinned with it take
  // the new data at once, before they paint or hit-test again.
  virtual void SkinDataChanged(TSkinData& skin) = 0;
};

class TSkinData {
 public:
  // Reads a whole file; nothing when it does not exist or cannot be read.
  using FileReader = std::function<std::optional<std::vector<std::uint8_t>>(const std::string& path)>;
  using FormSkinEvent = std::function<void(TSkinData& sender, const std::string& className, bool& doSkin)>;
  using SkinChangedEvent = std::function<void(TSkinData& sender)>;
  using SkinControlEvent = std::function<void(TSkinData& sender, const std::string& className, bool& doSkin)>;
  // Shows the user a message of the skin reader (a package of another version).
  using MessageShower = std::function<void(std::string_view text)>;

  explicit TSkinData(SkinManagerLink* manager = nullptr, FileReader readFile = {}, MessageShower showMessage = {});
  ~TSkinData();
  TSkinData(const TSkinData&) = delete;
  TSkinData& operator=(const TSkinData&) = delete;

  // ---- published properties, in their order
  bool Active() const { return active_; }
  void SetActive(bool active);
  std::int32_t DisableTag = kUnskinnedMenuTag;  // popup menus whose Tag modulo 100 is this are not skinned
  TSkinControls SkinControls;          // every kind except xcMenuItem and xcFastReport
  std::vector<std::string> Skin3rd;    // "class=kind" lines; the built-in list at creation
  const std::string& SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::string& path);
  std::string SkinStore() const;       // "(Good)" at design time with a skin held, else "(none)"
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = TSkinFormType::sfMainform;
  const std::string& Version() const { return version_; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate = true;
  bool MenuMerge = false;
  FormSkinEvent OnFormSkin;
  SkinChangedEvent OnSkinChanged;
  SkinControlEvent OnSkinControl;

  // ---- the component's life
  bool Designing = false;  // at design time nothing is loaded
  bool Reading = false;    // while the form's stored values are read
  // The stored SkinStream value: a 32-bit little-endian length, then the skin file. A length
  // beyond the value's bytes takes what is there. At run time the skin is loaded at once.
  void ReadSkinStream(std::span<const std::uint8_t> value);
  std::vector<std::uint8_t> WriteSkinStream() const;
  // The form has been read: register with the manager and start skinning.
  void Loaded();
  // Loads the held skin file into the skin objects; false (and Empty()) when it does not load.
  bool LoadSkin();
  // The same from a skin package that is already unpacked; the held skin file stays as it is.
  bool LoadSkinPackage(std::vector<std::uint8_t> package);
  bool Empty() const { return noSkin_; }  // the no-skin flag
  const std::vector<std::uint8_t>& SkinData() const { return skinFile_bytes_; }
  // The default built-in Skin3rd list.
  static std::vector<std::string> BuiltInSkin3rd();
  // The kind a foreign control class is skinned as ("nil": not at all), from Skin3rd; nothing
  // when the class is not listed.
  std::optional<std::string> Skin3rdKind(std::string_view className) const;

  // ---- the skin, once loaded
  std::string SkinName;
  std::array<ColorRef, kSkinColorCount> Colors{};
  std::vector<ColorRef> ExtraColors;
  std::array<ColorRef, 10> CustomColors{};
  std::array<TDataSkinBorder, 4> Borders;  // bsLeft, bsRight, bsTop, bsBottom
  TDataSkinTitle Title;
  TDataSkinButton Buttons;
  std::vector<TDataSkinSysButton> SysButtons;  // title-bar buttons, then the three child-window buttons
  // An object of the table, or null when the skin has none.
  const TDataSkinObject* Object(TSkinObjectId id) const { return objects_[id].get(); }
  // The 16 x 16 menu glyphs (restore, maximise, minimise, close) in one strip, white transparent.
  Bitmap MenuGlyphs;
  ColorRef ButtonFaceColor() const { return Colors[scButtonFace]; }

 private:
  // Resets the skin, opens the reader with `open` and reads the skin from it; tells the manager.
  bool LoadWith(const std::function<bool(TSkinReader&)>& open);
  void ReadSkin(const TQuickIni& ini, const TSkinReader& reader);
  void ResetSkin();  // back to no skin: default colours, empty objects
  SkinManagerLink* manager_;
  FileReader readFile_;
  MessageShower showMessage_;
  bool active_ = false;
  bool noSkin_ = true;
  bool loaded_ = false;
  std::string skinFile_;
  std::string version_;
  std::vector<std::uint8_t> skinFile_bytes_;  // the held skin file
  std::array<std::unique_ptr<TDataSkinObject>, kSkinObjectCount> objects_;
};

// The settings the main form stores for its skin component: SkinControls (xcMainMenu, xcToolbar,
// xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton,
// xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu) and its own
// 95-line Skin3rd list.
TSkinControls MainFormSkinControls();
std::vector<std::string> MainFormSkin3rd();

// The stored SkinStream value of a skin file: its 32-bit little-endian length, then the file.
std::vector<std::uint8_t> SkinStreamOf(std::span<const std::uint8_t> skinFile);

// The bitmap named by a description value: the file-name part after the last "\" or ":" must end
// in exactly ".bmp"; then the package entry of that name is read as a BMP. Anything else, a missing
// entry or bytes that are no BMP give an empty bitmap.
Bitmap LoadSkinBitmap(const TSkinReader& reader, std::string_view value);

}  // namespace pimblo
