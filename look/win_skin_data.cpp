#include "look/win_skin_data.h"

#include <algorithm>
#include <utility>

#include "look/bmp_read.h"
#include "look/skin_read.h"
#include "look/text.h"
#include "sprites/bytes.h"

namespace pimblo {
namespace {

// The foreign control classes and the kinds they are skinned as. Two lists share most lines: the
// one a new component starts with and the one the main form stores (with three lines twice).
enum Skin3rdList : std::uint8_t { kBoth, kNewComponent, kMainForm };
struct Skin3rdLine {
  std::string_view line;
  Skin3rdList list;
};
constexpr Skin3rdLine kSkin3rd[] = {
    {"TComboboxex=combobox", kNewComponent}, {"TRxSpeedButton=speedbutton", kNewComponent},
    {"TControlBar=Panel", kNewComponent}, {"TAdvPageControl=nil", kNewComponent}, {"TAdvMemo=scrollbar", kNewComponent},
    {"TDBAdvMemo=scrollbar", kNewComponent}, {"TRzBitbtn=bitbtn", kNewComponent},
    {"TRzMenuButton=bitbtn", kNewComponent}, {"TcxButton=bitbtn", kNewComponent},
    {"TcxDBCheckBox=checkbox", kNewComponent}, {"TcxDBRadioGroup=radiogroup", kNewComponent},
    {"TcxRadioGroup=radiogroup", kNewComponent}, {"TcxCheckBox=checkbox", kNewComponent}, {"TTBDock=panel", kBoth},
    {"TTBToolbar=panel", kBoth}, {"TLMDGROUPBOX=panel", kBoth}, {"TLMDSIMPLEPANEL=panel", kBoth},
    {"TLMDDBCalendar=panel", kBoth}, {"TLMDButtonPanel=panel", kBoth}, {"TLMDLMDCalculator=panel", kBoth},
    {"TLMDHeaderPanel=panel", kBoth}, {"TLMDTechnicalLine=panel", kBoth}, {"TLMDLMDClock=panel", kBoth},
    {"TImageEnMView=scrollbar", kBoth}, {"TImageEnView=scrollbar", kBoth}, {"TRzButton=button", kBoth},
    {"TRzCheckGroup=checkgroup", kBoth}, {"TLMDCheckGroup=checkgroup", kBoth}, {"TLMDDBCheckGroup=checkgroup", kBoth},
    {"TRzRadioGroup=radiogroup", kBoth}, {"TRzDBRadioGroup=radiogroup", kBoth}, {"TLMDRADIOGROUP=radiogroup", kBoth},
    {"TLMDDBRADIOGROUP=radiogroup", kBoth}, {"TWWRADIOGROUP=radiogroup", kBoth}, {"TRzRadioButton=radiobutton", kBoth},
    {"TRzDBRadioButton=radiobutton", kBoth}, {"TLMDRadiobutton=radiobutton", kBoth}, {"TRzCheckBox=checkbox", kBoth},
    {"TRzDBCheckBox=checkbox", kBoth}, {"TDBCheckboxEh=checkbox", kMainForm}, {"TDBCheckboxEh=checkbox", kBoth},
    {"TLMDCHECKBOX=checkbox", kBoth}, {"TLMDDBCHECKBOX=checkbox", kBoth}, {"TLMDTrackbar=trackbar", kBoth},
    {"TRzButtonEdit=edit", kBoth}, {"TLMDEDIT=edit", kBoth}, {"TLMDMASKEDIT=edit", kBoth},
    {"TLMDBROWSEEDIT=edit", kBoth}, {"TLMDEXTSPINEDIT=edit", kBoth}, {"TLMDCALENDAREDIT=edit", kBoth},
    {"TLMDFILEOPENEDIT=edit", kBoth}, {"TLMDFILESAVEEDIT=edit", kBoth}, {"TLMDCOLOREDIT=edit", kBoth},
    {"TLMDDBEDIT=edit", kBoth}, {"TLMDDBMASKEDIT=edit", kBoth}, {"TLMDDBEXTSPINEDIT=edit", kBoth},
    {"TLMDDBSPINEDIT=edit", kBoth}, {"TLMDDBEDITDBLookup=edit", kBoth}, {"TLMDEDITDBLookup=edit", kBoth},
    {"TDXDBCURRENCYEDIT=edit", kBoth}, {"TDXDBEDIT=edit", kBoth}, {"TDXDBMASKEDIT=edit", kBoth},
    {"TDXDBHYPERLINKEDIT=edit", kBoth}, {"TDXEDIT=edit", kBoth}, {"TDXMASKEDIT=edit", kBoth}, {"TWWDBEDIT=edit", kBoth},
    {"TDXBUTTONEDIT=edit", kBoth}, {"TDXCURRENCYEDIT=edit", kBoth}, {"TDXHYPERLINKEDIT=edit", kBoth},
    {"TOVCPICTUREFIELD=edit", kMainForm}, {"TOVCDBPICTUREFIELD=edit", kMainForm}, {"TOVCSLIDEREDIT=edit", kMainForm},
    {"TOVCDBSLIDEREDIT=edit", kMainForm}, {"TOVCSIMPLEFIELD=edit", kMainForm}, {"TOVCDBSIMPLEFIELD=edit", kMainForm},
    {"TO32DBFLEXEDIT=edit", kMainForm}, {"TOVCNUMERICFIELD=edit", kBoth}, {"TOVCDBNUMERICFIELD=edit", kBoth},
    {"TLMDListCombobox=combobox", kBoth}, {"TLMDCheckListCombobox=combobox", kBoth},
    {"TLMDHeaderListCombobox=combobox", kBoth}, {"TLMDImageCombobox=combobox", kBoth},
    {"TLMDColorCombobox=combobox", kBoth}, {"TLMDFontCombobox=combobox", kBoth},
    {"TLMDFontSizeCombobox=combobox", kBoth}, {"TLMDFontSizeCombobox=combobox", kMainForm},
    {"TLMDPrinterCombobox=combobox", kBoth}, {"TLMDDriveCombobox=combobox", kBoth},
    {"TLMDCalculatorComboBox=combobox", kBoth}, {"TLMDTrackBarComboBox=combobox", kBoth},
    {"TLMDCalendarComboBox=combobox", kBoth}, {"TDBLookupCombobox=combobox", kBoth},
    {"TWWDBCombobox=combobox", kMainForm}, {"TWWDBCombobox=combobox", kBoth}, {"TWWDBLookupCombo=combobox", kBoth},
    {"TWWKeyCombo=combobox", kBoth}, {"TWWTempKeyCombo=combobox", kBoth}, {"TWWDBDateTimePicker=combobox", kBoth},
    {"TDXDBPICKEDIT=combobox", kBoth}, {"TDXDBCALCEDIT=combobox", kBoth}, {"TDXDBIMAGEEDIT=combobox", kBoth},
    {"TDXDBPOPUPEDIT=combobox", kBoth}, {"TDXDBEXTLOOKUPEDIT=combobox", kBoth}, {"TDXDBLOOKUPEDIT=combobox", kBoth},
    {"TDXDBDATEEDIT=combobox", kBoth}, {"TDXDATEEDIT=combobox", kBoth}, {"TDXPICKEDIT=combobox", kBoth},
    {"TDXPOPUPEDIT=combobox", kBoth},
};

// The lines of one list, in order.
std::vector<std::string> Skin3rdLines(Skin3rdList wanted) {
  std::vector<std::string> out;
  for (const auto& [line, list] : kSkin3rd)
    if (list == kBoth || list == wanted) out.emplace_back(line);
  return out;
}

// The colour table without a skin: the system's own colours (the menu bar in the face colour).
constexpr std::array<ColorRef, kSkinColorCount> kSystemColours = {
    clWindowText, clBtnText, clBtnFace, clBtnHighlight, clScrollBar, clBtnHighlight, clHighlightText, clBtnShadow,
    clHighlight, cl3DDkShadow, clBtnFace, clMenuText, clMenu, clCaptionText, clMenuText, clInactiveCaptionText};

constexpr std::string_view kVersion = "1.0";
constexpr std::size_t kMaxKindLength = 50;
// The section of the buttons of a maximised child window and their image's frames.
constexpr std::string_view kChildButtonsSection = "MDICONTROLS";
constexpr std::int32_t kChildButtonFrames = 12;

bool IsEmpty(const Bitmap& b) { return b.width <= 0 || b.height <= 0; }

// `width` columns of `source` from column `left` on (both inside it).
Bitmap Columns(const Bitmap& source, std::int32_t left, std::int32_t width) {
  if (width <= 0 || IsEmpty(source)) return {};
  Bitmap out(width, source.height);
  for (std::int32_t y = 0; y < source.height; ++y)
    for (std::int32_t x = 0; x < width; ++x) out.At(x, y) = source.At(left + x, y);
  return out;
}

// A 24-bit copy turned left to right.
Bitmap Mirrored(const Bitmap& source) {
  Bitmap out = source;
  for (std::int32_t y = 0; y < out.height; ++y)
    for (std::int32_t x = 0; x < out.width; ++x) out.At(x, y) = source.At(source.width - 1 - x, y) & 0x00FFFFFF;
  return out;
}

// Frame counts come from the description and divide picture sizes: never less than one.
std::int32_t AtLeastOne(std::int32_t frames) { return std::max(frames, std::int32_t{1}); }

// Cells of a check-box or radio-button strip: 13 pixels in small strips, else 16; at least 4.
std::int32_t StripFrames(const Bitmap& strip) {
  const std::int32_t cell = strip.height < 16 ? 13 : 16;
  return std::max(strip.width / cell, std::int32_t{4});
}

enum class ReaderKind { kPlain, kTwoImage, kMirrored, kChunked, kBoxLabel, kMenuBar };

struct ObjectRow {
  std::string_view section;
  ReaderKind kind;
  std::string_view secondImageKey;
  std::int32_t frames;  // kFramesFromKey: the section's FrameCount, default 3
};
constexpr std::int32_t kFramesFromKey = -1;

constexpr ObjectRow kObjectTable[kSkinObjectCount] = {
    {"Progress", ReaderKind::kChunked, "Chunk", 2},
    {"Personality", ReaderKind::kMenuBar, "", 2},
    {"GroupBoxEdge", ReaderKind::kPlain, "", 2},
    {"GroupBox", ReaderKind::kBoxLabel, "", 1},
    {"Toolbars", ReaderKind::kPlain, "", 5},
    {"Tabs", ReaderKind::kTwoImage, "Border", 5},
    {"StatusBarEdges", ReaderKind::kPlain, "", 3},
    {"ComboButton", ReaderKind::kMirrored, "", 4},
    {"SunkEdge", ReaderKind::kPlain, "", 4},
    {"ExtraImages", ReaderKind::kPlain, "", 5},
    {"Headerbar", ReaderKind::kPlain, "", 5},
    {"MenuItem", ReaderKind::kPlain, "", 5},
    {"MenuBackground", ReaderKind::kPlain, "", 1},
    {"Scrollbar", ReaderKind::kPlain, "", 23},
    {"HorzScroll", ReaderKind::kPlain, "", 4},
    {"VertScroll", ReaderKind::kPlain, "", 4},
    {"HorzScrollThumb", ReaderKind::kPlain, "", kFramesFromKey},
    {"VertScrollThumb", ReaderKind::kPlain, "", kFramesFromKey},
    {"Trackbar.ThumbHorz", ReaderKind::kPlain, "", 5},
    {"Trackbar.ThumbVert", ReaderKind::kPlain, "", 5},
    {"Trackbar.ThumbLeft", ReaderKind::kPlain, "", 5},
    {"Trackbar.ThumbRight", ReaderKind::kPlain, "", 5},
    {"Trackbar.ThumbUp", ReaderKind::kPlain, "", 5},
    {"Trackbar.ThumbDown", ReaderKind::kPlain, "", 5},
    {"UpDown.Horz", ReaderKind::kTwoImage, "GlyphImage", 8},
    {"UpDown.Vert", ReaderKind::kTwoImage, "GlyphImage", 8},
};

// The key holding an object's (first) image.
std::string_view ImageKey(ReaderKind kind) {
  switch (kind) {
    case ReaderKind::kChunked: return "Bitmap";
    case ReaderKind::kMenuBar: return "menuBar";
    default: return "Image";
  }
}

// The margins the picture is stretched or tiled between, and how.
void ReadMargins(const TQuickIni& ini, std::string_view section, TDataSkinObject& o) {
  o.LeftWidth = ini.ReadInteger(section, "LeftWidth", 0);
  o.RightWidth = ini.ReadInteger(section, "RightWidth", 0);
  o.TopHeight = ini.ReadInteger(section, "TopHeight", 0);
  o.BottomHeight = ini.ReadInteger(section, "BottomHeight", 0);
  o.Trans = ini.ReadInteger(section, "Trans", 0);
  o.Tile = ini.ReadInteger(section, "Tile", 0);
}

// The text colours: indices (-1 when absent), then RGB colours (the button text when absent).
void ReadColours(const TQuickIni& ini, std::string_view section, ColorRef buttonText, TDataSkinObject& o) {
  o.NormalColour = ini.ReadInteger(section, "NormalColour", -1);
  o.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", -1);
  o.PressedColour = ini.ReadInteger(section, "PressedColour", -1);
  o.NormalColour2 = ini.ReadColor(section, "NormalColour2", buttonText);
  o.MouseOverColour2 = ini.ReadColor(section, "MouseOverColour2", buttonText);
  o.PressedColour2 = ini.ReadColor(section, "PressedColour2", buttonText);
}

// One object of the table, or null when its image key has no value.
std::unique_ptr<TDataSkinObject> ReadObject(const TQuickIni& ini, const TSkinReader& reader, const ObjectRow& row,
                                            ColorRef buttonText) {
  const std::string image = ini.ReadString(row.section, ImageKey(row.kind), "");
  if (image.empty()) return nullptr;

  std::unique_ptr<TDataSkinObject> o;
  switch (row.kind) {
    case ReaderKind::kTwoImage:
    case ReaderKind::kMirrored:
    case ReaderKind::kChunked: o = std::make_unique<TDataSkinBorder>(); break;
    case ReaderKind::kBoxLabel: o = std::make_unique<TDataSkinBoxLabel>(); break;
    default: o = std::make_unique<TDataSkinObject>();
  }
  o->Name = std::string(row.section);
  o->Image = LoadSkinBitmap(reader, image);

  if (row.kind == ReaderKind::kMenuBar) {
    o->Tile = ini.ReadInteger(row.section, "TileMenu", 0);
    o->LeftWidth = ini.ReadInteger(row.section, "TileLeftMenu", 1);
    o->RightWidth = ini.ReadInteger(row.section, "TileRightMenu", 1);
    return o;
  }
  const auto readSecondImage = [&] {
    const std::string second = ini.ReadString(row.section, row.secondImageKey, "");
    static_cast<TDataSkinBorder&>(*o).Image2 = LoadSkinBitmap(reader, second);
  };
  if (row.kind == ReaderKind::kChunked) {
    readSecondImage();
    o->Style = ini.ReadInteger(row.section, "Style", 0);
    ReadMargins(ini, row.section, *o);
    return o;
  }

  if (row.kind == ReaderKind::kPlain || row.kind == ReaderKind::kBoxLabel)
    o->Style = ini.ReadInteger(row.section, "Style", 0);
  ReadMargins(ini, row.section, *o);
  if (o->Tile > 1) o->Tile = 0;
  ReadColours(ini, row.section, buttonText, *o);
  if (row.kind == ReaderKind::kTwoImage) {
    readSecondImage();
  } else if (row.kind == ReaderKind::kBoxLabel) {
    auto& box = static_cast<TDataSkinBoxLabel&>(*o);
    box.BackgroundAlignment = ini.ReadInteger(row.section, "BackgroundAlignment", 0);
    box.BackgroundLeftShift = ini.ReadInteger(row.section, "BackgroundLeftShift", 0);
    box.BackgroundRightShift = ini.ReadInteger(row.section, "BackgroundRightShift", 0);
  }
  return o;
}

// Sections that look like title-bar buttons but are not.
bool IsTitleBarButtonSection(std::string_view upperName) {
  return upperName.starts_with("BUTTON") && upperName != "BUTTON" && upperName != "BUTTONS" &&
         upperName != "BUTTON.RADIO" && upperName != "BUTTON.CHECKBOX";
}

TDataSkinSysButton ReadTitleBarButton(const TQuickIni& ini, const TSkinReader& reader, const std::string& section) {
  TDataSkinSysButton b;
  b.Name = ToUpper(section);
  b.Action = ini.ReadInteger(section, "Action", button_action::kClose);
  b.Align = ini.ReadInteger(section, "Align", button_align::kLeft);
  b.XCoord = ini.ReadInteger(section, "Xcoord", 0);
  b.YCoord = ini.ReadInteger(section, "Ycoord", 0);
  b.Visibility = ini.ReadInteger(section, "Visibility", button_visibility::kAlways);
  b.Visibility1 = ini.ReadInteger(section, "Visibility1", b.Action == button_action::kPicture
                                                              ? button_visibility::kHidden
                                                              : button_visibility::kAlways);
  b.CombineOp = ini.ReadInteger(section, "CombineOp", -1);
  b.FrameCount = ini.ReadInteger(section, "frame", 0);
  b.Image = LoadSkinBitmap(reader, ini.ReadString(section, "ButtonImage", ""));
  if (b.FrameCount == 0) {
    // No count given: guessed from the picture's shape. The window-icon buttons draw the icon.
    b.FrameCount = 6;
    if (!IsEmpty(b.Image))
      b.FrameCount = std::int64_t{b.Image.width} * 5 <= std::int64_t{b.Image.height} * 19 ? 3 : 6;  // w / h <= 3.8
    if (b.Action < 0) b.FrameCount = 6;
    if (IsIconAction(b.Action)) b.Image = Bitmap();
  }
  b.FrameCount = AtLeastOne(b.FrameCount);
  return b;
}

}  // namespace

TSkinControls MakeSkinControls(std::initializer_list<TSkinControl> kinds) {
  TSkinControls set;
  for (TSkinControl k : kinds) set.set(static_cast<std::size_t>(k));
  return set;
}

TSkinControls MainFormSkinControls() {
  return MakeSkinControls({xcMainMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
                           xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar,
                           xcTab, xcSystemMenu});
}

std::vector<std::string> MainFormSkin3rd() { return Skin3rdLines(kMainForm); }

std::vector<std::string> TSkinData::BuiltInSkin3rd() { return Skin3rdLines(kNewComponent); }

Bitmap LoadSkinBitmap(const TSkinReader& reader, std::string_view value) {
  const std::size_t cut = value.find_last_of("\\:");
  const std::string_view name = cut == std::string_view::npos ? value : value.substr(cut + 1);
  const std::size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return {};
  std::vector<std::uint8_t> bytes;
  if (!reader.GetFile(name, bytes) || bytes.empty()) return {};
  return ReadBmp(bytes).value_or(Bitmap());
}

std::vector<std::uint8_t> SkinStreamOf(std::span<const std::uint8_t> skinFile) {
  ByteWriter out;
  out.U32(static_cast<std::uint32_t>(skinFile.size()));
  out.Bytes(skinFile);
  return out.Take();
}

TSkinData::TSkinData(SkinManagerLink* manager, FileReader readFile, MessageShower showMessage)
    : SkinControls(~MakeSkinControls({xcMenuItem, xcFastReport})),
      Skin3rd(BuiltInSkin3rd()),
      manager_(manager),
      readFile_(std::move(readFile)),
      showMessage_(std::move(showMessage)),
      version_(kVersion) {
  ResetSkin();
}

TSkinData::~TSkinData() {
  if (loaded_ && manager_) manager_->RemoveSkin(*this);
}

void TSkinData::ResetSkin() {
  SkinName.clear();
  Colors = kSystemColours;
  ExtraColors.clear();
  CustomColors.fill(clWhite);
  constexpr std::string_view kBorderNames[] = {"Left", "Right", "Top", "Bottom"};
  for (int side = bsLeft; side <= bsBottom; ++side) {
    Borders[side] = TDataSkinBorder();
    Borders[side].Name = std::string(kBorderNames[side]);
  }
  Title = TDataSkinTitle();
  Title.Name = "Title";
  Buttons = TDataSkinButton();
  Buttons.Name = "Buttons";
  SysButtons.clear();
  for (auto& o : objects_) o.reset();
}

std::optional<std::string> TSkinData::Skin3rdKind(std::string_view className) const {
  const std::string wanted = ToLower(className);
  for (const std::string& line : Skin3rd) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || ToLower(Trim(std::string_view(line).substr(0, eq))) != wanted) continue;
    return ToLower(Trim(std::string_view(line).substr(eq + 1)).substr(0, kMaxKindLength));
  }
  return std::nullopt;
}

bool TSkinData::LoadSkin() {
  return LoadWith([this](TSkinReader& reader) { return reader.Open(skinFile_bytes_); });
}

bool TSkinData::LoadSkinPackage(std::vector<std::uint8_t> package) {
  return LoadWith([&package](TSkinReader& reader) { return reader.OpenPackage(std::move(package)); });
}

bool TSkinData::LoadWith(const std::function<bool(TSkinReader&)>& open) {
  if (Designing) return false;
  noSkin_ = true;
  ResetSkin();
  // A package of another version is refused, and the user told why.
  TSkinReader reader(showMessage_);
  if (open(reader)) {
    std::vector<std::uint8_t> description;
    std::string name;
    reader.FindFile(".ini", description, name);
    TQuickIni ini;
    ini.Load(description);
    ReadSkin(ini, reader);
    noSkin_ = false;
  }
  // The buttons were cleared and read again: the skinned windows must not go on with the old list.
  if (manager_) manager_->SkinDataChanged(*this);
  return !noSkin_;
}

void TSkinData::ReadSkin(const TQuickIni& ini, const TSkinReader& reader) {
  SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");

  // The window frame. The margin pair runs along each border: top and bottom heights of the side
  // borders, left and right widths of the top and bottom ones.
  constexpr std::string_view kPersonality = "Personality";
  for (int side = bsLeft; side <= bsBottom; ++side) {
    TDataSkinBorder& border = Borders[side];
    const std::string& n = border.Name;
    border.Image = LoadSkinBitmap(reader, ini.ReadString(kPersonality, n, ""));
    const std::int32_t first = ini.ReadInteger(kPersonality, n + "TopHeight", 0);
    const std::int32_t second = ini.ReadInteger(kPersonality, n + "BotHeight", 0);
    if (side == bsLeft || side == bsRight) {
      border.TopHeight = first;
      border.BottomHeight = second;
    } else {
      border.LeftWidth = first;
      border.RightWidth = second;
    }
    border.FrameCount = AtLeastOne(ini.ReadInteger(kPersonality, n + "Frame", 1));
    border.Tile = ini.ReadInteger(kPersonality, n + "Stretch", 1);
    border.Trans = ini.ReadInteger(kPersonality, n + "Trans", 1);
  }

  // Colours: where the skin gives none the system's own stay, and the menu bar takes the face.
  constexpr std::string_view kColours = "Colours";
  constexpr std::string_view kColourKeys[kSkinColorCount] = {
      "WindowText", "ButtonText", "ButtonFace", "ButtonHilight", "Scrollbar", "Buttonlight", "HilightText",
      "ButtonShadow", "Hilight", "ButtonDkShadow", "Menubar", "MenuBarText", "Menu", "TitleTextActive",
      "MenuText", "TitleTextNoActive"};
  for (int c = 0; c < kSkinColorCount; ++c) {
    const ColorRef fallback = c == scMenubar ? Colors[scButtonFace] : kSystemColours[c];
    Colors[c] = ini.ReadColor(kColours, kColourKeys[c], fallback);
  }
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  for (const std::string& section : sections) {
    const std::string upper = ToUpper(section);
    if (upper.starts_with("COLOUR") && upper != "COLOURS")
      ExtraColors.push_back(ini.ReadColor(section, "color", clWindowText));
  }
  for (std::size_t i = 0; i < CustomColors.size(); ++i)
    CustomColors[i] = ini.ReadColor("Customcolors", "Color" + std::to_string(i), clWhite);
  const ColorRef buttonText = Colors[scButtonText];

  // Title-bar buttons, then the three of a maximised child window (minimise, restore, close),
  // which share one picture of twelve frames, four each.
  for (const std::string& section : sections) {
    if (!IsTitleBarButtonSection(ToUpper(section))) continue;
    // A picture-only button is there only when its Visibility says always.
    if (ini.ReadInteger(section, "Action", button_action::kClose) == button_action::kPicture &&
        ini.ReadInteger(section, "Visibility", button_visibility::kHidden) != button_visibility::kAlways)
      continue;
    SysButtons.push_back(ReadTitleBarButton(ini, reader, section));
  }
  const Bitmap childButtons = LoadSkinBitmap(reader, ini.ReadString(kChildButtonsSection, "Image", ""));
  const std::int32_t cell = childButtons.width / kChildButtonFrames;
  static_assert(button_action::kChildRestore == button_action::kChildMinimise + 1 &&
                    button_action::kChildClose == button_action::kChildMinimise + 2,
                "the child window's button codes follow their order");
  for (std::int32_t i = 0; i < 3; ++i) {
    TDataSkinSysButton b;
    b.Name = std::string(kChildButtonsSection);
    b.Action = button_action::kChildMinimise + i;  // minimise, restore, close
    b.Align = button_align::kMenuBar;
    b.Visibility = button_visibility::kMenuBar;
    b.Visibility1 = button_visibility::kMenuBar;
    b.FrameCount = 4;
    if (!IsEmpty(childButtons)) {
      b.Image = Columns(childButtons, 4 * i * cell, 4 * cell);
      b.XCoord = (cell + 4) * (3 - i);
    }
    SysButtons.push_back(std::move(b));
  }

  // Push buttons, with the check-box and radio-button strips.
  constexpr std::string_view kButtons = "Buttons";
  ReadMargins(ini, kButtons, Buttons);
  ReadColours(ini, kButtons, buttonText, Buttons);
  Buttons.Image = LoadSkinBitmap(reader, ini.ReadString(kButtons, "Bitmap", ""));
  Buttons.CheckImage = LoadSkinBitmap(reader, ini.ReadString(kButtons, "CheckButton", ""));
  Buttons.RadioImage = LoadSkinBitmap(reader, ini.ReadString(kButtons, "RadioButton", ""));
  Buttons.RadioFrameCount = ini.ReadInteger(kButtons, "RadioButtonFrame", 0);
  Buttons.CheckFrameCount = ini.ReadInteger(kButtons, "CheckButtonFrame", 0);
  Buttons.HasNormalColour2 = !ini.ReadString(kButtons, "NormalColour2", "").empty();
  Buttons.HasMouseOverColour2 = !ini.ReadString(kButtons, "MouseOverColour2", "").empty();
  Buttons.HasPressedColour2 = !ini.ReadString(kButtons, "PressedColour2", "").empty();

  // The title: its text placement, font height and text colours.
  Title.Image = LoadSkinBitmap(reader, ini.ReadString(kPersonality, "TextBack", ""));
  Title.TextShift = ini.ReadInteger(kPersonality, "TextShift", 0);
  Title.TextShiftVert = ini.ReadInteger(kPersonality, "TextShiftVert", 0);
  Title.TextRightClip = ini.ReadInteger(kPersonality, "TextRightClip", 0);
  Title.TextAlignment = ini.ReadInteger(kPersonality, "TextAlignment", 0);
  Title.TextBackground = ini.ReadInteger(kPersonality, "Textbackground", 0);
  Title.BackLeft = ini.ReadInteger(kPersonality, "TXTBackleft", 0);
  Title.BackRight = ini.ReadInteger(kPersonality, "TXTBackRight", 0);
  Title.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
  const auto textColour = [&](std::string_view prefix) {
    const std::string p(prefix);
    const std::int32_t r = ini.ReadInteger(kPersonality, p + "R", -1);
    const std::int32_t g = ini.ReadInteger(kPersonality, p + "G", -1);
    const std::int32_t b = ini.ReadInteger(kPersonality, p + "B", -1);
    return r >= 0 && g >= 0 && b >= 0 ? MakeColor(r, g, b) : clNone;
  };
  Title.ActiveTextColor = textColour("ActiveText");
  Title.InactiveTextColor = textColour("InActiveText");

  // The control pictures, in table order; the combo button's second picture faces the other way.
  for (int id = 0; id < kSkinObjectCount; ++id) objects_[id] = ReadObject(ini, reader, kObjectTable[id], buttonText);
  if (auto* combo = static_cast<TDataSkinBorder*>(objects_[soComboButton].get()))
    combo->Image2 = Mirrored(combo->Image);

  // Frame counts.
  Title.FrameCount = 2;
  Buttons.FrameCount = 5;
  if (Buttons.RadioFrameCount == 0) Buttons.RadioFrameCount = StripFrames(Buttons.RadioImage);
  if (Buttons.CheckFrameCount == 0) Buttons.CheckFrameCount = StripFrames(Buttons.CheckImage);
  for (int id = 0; id < kSkinObjectCount; ++id) {
    if (!objects_[id]) continue;
    const ObjectRow& row = kObjectTable[id];
    objects_[id]->FrameCount =
        row.frames == kFramesFromKey ? AtLeastOne(ini.ReadInteger(row.section, "FrameCount", 3)) : row.frames;
  }
}

// ---- the component's life

void TSkinData::ReadSkinStream(std::span<const std::uint8_t> value) {
  skinFile_bytes_.clear();
  ByteReader stream(value);
  const std::int32_t length = stream.I32();
  if (stream.Ok() && length > 0) {
    const auto file = stream.Bytes(std::min(static_cast<std::size_t>(length), stream.Remaining()));
    skinFile_bytes_.assign(file.begin(), file.end());
  }
  if (!Designing) LoadSkin();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() const { return SkinStreamOf(skinFile_bytes_); }

void TSkinData::Loaded() {
  if (Designing) return;
  if (manager_ && !loaded_) manager_->AddSkin(*this);
  loaded_ = true;
  if (SkinFormtype == TSkinFormType::sfMainform) {
    if (manager_) manager_->InstallHook();
    if (active_) {
      if (Empty())
        active_ = false;
      else if (manager_)
        manager_->Schedule(kSkinAll, *this);
    }
    // The menu items are skinned with the main menu; the system menu only without it.
    if (SkinControls.test(xcMainMenu))
      SkinControls.reset(xcMenuItem);
    else
      SkinControls.reset(xcSystemMenu);
  } else if (manager_) {
    manager_->SwitchOn();
    manager_->SkinOwnerForm(*this);
  }
}

void TSkinData::SetActive(bool active) {
  if (Designing || Reading) {
    active_ = active;
    return;
  }
  if (active == active_) return;
  switch (SkinFormtype) {
    case TSkinFormType::sfMainform:
    case TSkinFormType::sfOnlyThisForm:
      // Without a skin there is nothing to switch on: Active stays off.
      if (active && Empty()) return;
      active_ = active;
      if (manager_) manager_->Schedule(active ? kSkinAll : kUnskinAll, *this);
      break;
    case TSkinFormType::sfDialog: active_ = active; break;
  }
}

void TSkinData::SetSkinFile(const std::string& path) {
  noSkin_ = true;
  skinFile_ = path;
  if (Designing) {
    if (!path.empty()) skinFile_bytes_.clear();
    return;
  }
  if (!readFile_) return;
  std::optional<std::vector<std::uint8_t>> bytes = readFile_(path);
  if (!bytes) return;
  skinFile_bytes_ = std::move(*bytes);
  LoadSkin();
  if (SkinFormtype == TSkinFormType::sfMainform && manager_) manager_->Schedule(kRefreshSkin, *this);
}

std::string TSkinData::SkinStore() const { return Designing && !skinFile_bytes_.empty() ? "(Good)" : "(none)"; }

}  // namespace pimblo
