// The skin component: our packed skin read into skin objects, the reading rules on small
// hand-made packages, and the calls the component makes on the skin manager.
#include <gtest/gtest.h>

#include <set>

#include "look/bmp_read.h"
#include "look/lzh.h"
#include "look/skin_read.h"
#include "look/win_skin_data.h"
#include "resources/embedded_assets.h"
#include "sprites/bytes.h"

namespace pimblo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BmpOf(std::int32_t w, std::int32_t h) {
  Bitmap b(w, h);
  for (std::size_t i = 0; i < b.pixels.size(); ++i) b.pixels[i] = static_cast<Pixel>(i);
  return WriteBmp24(b);
}

// A skin file of the description and the entries.
Bytes SkinFile(const std::string& ini, std::vector<SkinEntry> entries = {}) {
  entries.push_back({"skin.ini", Bytes(ini.begin(), ini.end())});
  return TLZH::PackFile(BuildSkinPackage(entries));
}

Bytes Stream(const Bytes& file) {
  ByteWriter out;
  out.U32(static_cast<std::uint32_t>(file.size()));
  out.Bytes(file);
  return out.Take();
}

struct FakeManager : SkinManagerLink {
  std::vector<std::string> calls;
  void AddSkin(TSkinData&) override { calls.push_back("add"); }
  void RemoveSkin(TSkinData&) override { calls.push_back("remove"); }
  void InstallHook() override { calls.push_back("hook"); }
  void Schedule(TSkinAction a, TSkinData&) override { calls.push_back("action " + std::to_string(a)); }
  void SwitchOn() override { calls.push_back("on"); }
  void SkinOwnerForm(TSkinData&) override { calls.push_back("owner"); }
  void SkinDataChanged(TSkinData&) override { ++changed; }
  int changed = 0;
};

TEST(SkinData, LoadsOurSkin) {
  TSkinData skin;
  skin.ReadSkinStream(assets::SkinStream());
  ASSERT_FALSE(skin.Empty());
  EXPECT_EQ(skin.SkinName, "Pimblo Cloudlet");

  // The frame: title 29, sides 4, bottom 5; margins run along each border.
  const auto& b = skin.Borders;
  EXPECT_EQ(b[bsTop].Image.height / b[bsTop].FrameCount, 29);
  EXPECT_EQ(b[bsLeft].Image.width / b[bsLeft].FrameCount, 4);
  EXPECT_EQ(b[bsRight].Image.width / b[bsRight].FrameCount, 4);
  EXPECT_EQ(b[bsBottom].Image.height / b[bsBottom].FrameCount, 5);
  EXPECT_EQ((std::array{b[bsLeft].TopHeight, b[bsLeft].BottomHeight, b[bsLeft].LeftWidth}), (std::array{29, 5, 0}));
  EXPECT_EQ((std::array{b[bsTop].LeftWidth, b[bsTop].RightWidth, b[bsTop].TopHeight}), (std::array{8, 100, 0}));
  EXPECT_EQ((std::array{b[bsTop].Trans, b[bsBottom].Trans, b[bsBottom].Tile}), (std::array{1, 0, 1}));

  EXPECT_EQ(skin.Title.FrameCount, 2);
  EXPECT_EQ(skin.Title.TextRightClip, 80);
  EXPECT_EQ(skin.Title.ActiveTextColor, RgbColor(34, 51, 92));
  EXPECT_EQ(skin.Buttons.FrameCount, 5);
  EXPECT_EQ(skin.Buttons.Image.width, 250);
  EXPECT_EQ((std::array{skin.Buttons.CheckFrameCount, skin.Buttons.RadioFrameCount}), (std::array{12, 8}));
  EXPECT_TRUE(skin.Buttons.HasPressedColour2);

  EXPECT_EQ(skin.ButtonFaceColor(), RgbColor(213, 222, 242));
  EXPECT_EQ(skin.Colors[scMenubar], RgbColor(238, 242, 252));
  ASSERT_EQ(skin.ExtraColors.size(), 5u);
  EXPECT_EQ(skin.ExtraColors[1], RgbColor(28, 62, 160));
  EXPECT_EQ(skin.CustomColors[8], RgbColor(232, 100, 122));

  ASSERT_EQ(skin.SysButtons.size(), 8u);
  const char* names[] = {"BUTTON.CLOSE", "BUTTON.MAXIMIZE", "BUTTON.MINIMIZE", "BUTTON.RESTORE", "BUTTON.SYSTEMMENU"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(skin.SysButtons[i].Name, names[i]);
  EXPECT_EQ(skin.SysButtons[2].XCoord, 73);
  EXPECT_EQ(skin.SysButtons[3].Visibility1, 1);
  EXPECT_EQ(skin.SysButtons[0].Image.width / skin.SysButtons[0].FrameCount, 19);
  const auto& icon = skin.SysButtons[4];  // the window icon: no picture, six frames
  EXPECT_EQ(icon.Action, 3);
  EXPECT_TRUE(icon.Image.pixels.empty());
  EXPECT_EQ(icon.FrameCount, 6);

  // The child-window buttons cut their four frames out of the twelve of the picture.
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(assets::SkinStream().subspan(4)));
  Bytes mdiFile;
  ASSERT_TRUE(reader.GetFile("button-mdi.bmp", mdiFile));
  const Bitmap mdi = ReadBmp(mdiFile).value();
  const std::int32_t cell = mdi.width / 12;
  for (int i = 0; i < 3; ++i) {
    const auto& c = skin.SysButtons[5 + i];
    EXPECT_EQ((std::array{c.Action, c.Align, c.Visibility, c.Visibility1, c.FrameCount}),
              (std::array{7 + i, 100, 100, 100, 4}));
    EXPECT_EQ(c.XCoord, (cell + 4) * (3 - i));
    ASSERT_EQ(c.Image.width, 4 * cell);
    EXPECT_EQ(c.Image.At(4 * cell - 1, 5), mdi.At(4 * cell * (i + 1) - 1, 5));
  }

  // The object table: which exist, their frames, and that each got its own picture.
  const struct {
    TSkinObjectId id;
    std::int32_t frames, width;
  } objects[] = {{soProgress, 2, 32},        {soMenuBar, 2, 64},          {soGroupBoxEdge, 2, 32},
                 {soGroupBox, 1, 24},        {soToolbars, 5, 120},        {soTabs, 5, 200},
                 {soStatusBarEdges, 3, 60},  {soComboButton, 4, 68},      {soSunkEdge, 4, 64},
                 {soExtraImages, 5, 250},    {soHeaderbar, 5, 120},       {soMenuItem, 5, 120},
                 {soMenuBackground, 1, 32},  {soScrollbar, 23, 368},      {soHorzScroll, 4, 64},
                 {soVertScroll, 4, 64},      {soHorzScrollThumb, 3, 72},  {soVertScrollThumb, 3, 48},
                 {soUpDownHorz, 8, 128},     {soUpDownVert, 8, 128}};
  std::set<int> present;
  for (const auto& o : objects) {
    SCOPED_TRACE(o.id);
    present.insert(o.id);
    ASSERT_NE(skin.Object(o.id), nullptr);
    EXPECT_EQ(skin.Object(o.id)->FrameCount, o.frames);
    EXPECT_EQ(skin.Object(o.id)->Image.width, o.width);
  }
  for (int id = 0; id < kSkinObjectCount; ++id)  // the track-bar thumbs have no picture
    EXPECT_EQ(skin.Object(TSkinObjectId(id)) != nullptr, present.count(id) == 1) << id;
  const auto* menuBar = skin.Object(soMenuBar);
  EXPECT_EQ((std::array{menuBar->LeftWidth, menuBar->RightWidth, menuBar->Tile}), (std::array{2, 2, 0}));
  EXPECT_EQ(dynamic_cast<const TDataSkinBoxLabel&>(*skin.Object(soGroupBox)).BackgroundRightShift, 4);
  EXPECT_EQ(dynamic_cast<const TDataSkinBorder&>(*skin.Object(soTabs)).Image2.width, 16);
  EXPECT_TRUE(dynamic_cast<const TDataSkinBorder&>(*skin.Object(soUpDownVert)).Image2.pixels.empty());
  const auto& combo = dynamic_cast<const TDataSkinBorder&>(*skin.Object(soComboButton));
  ASSERT_EQ(combo.Image2.width, combo.Image.width);
  for (std::int32_t y = 0; y < combo.Image.height; ++y)
    for (std::int32_t x = 0; x < combo.Image.width; ++x)
      ASSERT_EQ(combo.Image2.At(x, y), combo.Image.At(combo.Image.width - 1 - x, y)) << x << "," << y;
}

TEST(SkinData, BitmapValuesNameEntriesByTheirFileName) {
  const std::vector<SkinEntry> entries = {{"FrameTop.bmp", BmpOf(3, 2)}, {"Broken.bmp", Bytes(60, 'B')}};
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenPackage(BuildSkinPackage(entries)));
  const struct {
    const char* value;
    bool loads;
  } cases[] = {{"FrameTop.bmp", true},  {"sub\\FrameTop.bmp", true}, {"C:FrameTop.bmp", true},
               {"frametop.bmp", true},  {"FrameTop.BMP", false},     {"FrameTop.png", false},
               {"FrameTop", false},     {"sub\\", false},            {"Missing.bmp", false},
               {"Broken.bmp", false},   {"", false}};
  for (const auto& c : cases) EXPECT_EQ(LoadSkinBitmap(reader, c.value).width, c.loads ? 3 : 0) << c.value;
}

TEST(SkinData, TitleBarButtonsAreFilteredAndTheirFramesGuessed) {
  // Pictures 57 x 19 (ratio 3), 76 x 20 (3.8), 77 x 20 and 114 x 19.
  const std::vector<SkinEntry> entries = {
      {"a.bmp", BmpOf(57, 19)}, {"b.bmp", BmpOf(76, 20)}, {"c.bmp", BmpOf(77, 20)}, {"d.bmp", BmpOf(114, 19)},
      {"mdi.bmp", BmpOf(26, 3)}};
  const std::string ini =
      "[Button]\n[Buttons]\n[Button.Radio]\n[button.checkbox]\n[MyButton]\n"
      "[Button.Gone]\nAction=-1\nVisibility=2\n[Button.AlsoGone]\nAction=-1\n"
      "[Button.a]\nButtonImage=a.bmp\n[Button.b]\nButtonImage=b.bmp\n[ButtonC]\nButtonImage=c.bmp\n"
      "[Button.d]\nButtonImage=d.bmp\n[Button.Neg]\nAction=-1\nVisibility=0\nButtonImage=a.bmp\n"
      "[Button.Icon]\nAction=11\nButtonImage=a.bmp\n[Button.Counted]\nAction=3\nframe=4\nButtonImage=a.bmp\n"
      "[Button.None]\n[MDICONTROLS]\nImage=mdi.bmp\n";
  TSkinData skin;
  skin.ReadSkinStream(Stream(SkinFile(ini, entries)));
  ASSERT_FALSE(skin.Empty());
  const struct {
    const char* name;
    std::int32_t frames, imageWidth, visibility1;
  } expected[] = {{"BUTTON.A", 3, 57, 0},    {"BUTTON.B", 3, 76, 0},    {"BUTTONC", 6, 77, 0},
                  {"BUTTON.D", 6, 114, 0},   {"BUTTON.NEG", 6, 57, -1}, {"BUTTON.ICON", 3, 0, 0},
                  {"BUTTON.COUNTED", 4, 57, 0}, {"BUTTON.NONE", 6, 0, 0}};
  ASSERT_EQ(skin.SysButtons.size(), std::size(expected) + 3);
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& b = skin.SysButtons[i];
    EXPECT_EQ(b.Name, expected[i].name);
    EXPECT_EQ(b.FrameCount, expected[i].frames) << b.Name;
    EXPECT_EQ(b.Image.width, expected[i].imageWidth) << b.Name;
    EXPECT_EQ(b.Visibility1, expected[i].visibility1) << b.Name;
  }
  // 26 pixels hold twelve frames of 2: the third button takes columns 16 to 23.
  const auto& close = skin.SysButtons.back();
  EXPECT_EQ(close.XCoord, 6);
  ASSERT_EQ(close.Image.width, 8);
  EXPECT_EQ(close.Image.At(0, 0), 16u);
}

TEST(SkinData, MissingSectionsGiveDefaults) {
  TSkinData skin;
  skin.ReadSkinStream(Stream(SkinFile("; nothing\n[Colours]\nButtonFace=1 2 3\nMenu=\n[Colour7]\n[colourful]\n"
                                      "color=4 5 6\n[Personality]\nActiveTextR=1\nActiveTextG=1\nLeftFrame=0\n")));
  ASSERT_FALSE(skin.Empty());
  EXPECT_EQ(skin.SkinName, "");
  const std::pair<TSkinColor, ColorRef> colours[] = {
      {scWindowText, clWindowText}, {scButtonFace, RgbColor(1, 2, 3)}, {scMenubar, RgbColor(1, 2, 3)},
      {scMenu, clMenu}, {scButtonDkShadow, cl3DDkShadow}, {scTitleTextNoActive, clInactiveCaptionText}};
  for (const auto& [c, v] : colours) EXPECT_EQ(skin.Colors[c], v) << c;
  EXPECT_EQ(skin.ExtraColors, (std::vector<ColorRef>{clWindowText, RgbColor(4, 5, 6)}));
  EXPECT_EQ(skin.CustomColors[0], clWhite);
  const auto& left = skin.Borders[bsLeft];
  EXPECT_EQ((std::array{left.FrameCount, left.Tile, left.Trans, left.TopHeight}), (std::array{1, 1, 1, 0}));
  EXPECT_EQ(skin.Title.ActiveTextColor, clNone);  // blue missing
  EXPECT_EQ(skin.Title.FontHeight, 14);
  EXPECT_EQ((std::array{skin.Buttons.CheckFrameCount, skin.Buttons.RadioFrameCount}), (std::array{4, 4}));
  EXPECT_FALSE(skin.Buttons.HasNormalColour2);
  EXPECT_EQ(skin.SysButtons.size(), 3u);
  EXPECT_TRUE(skin.SysButtons[0].Image.pixels.empty());
  for (int id = 0; id < kSkinObjectCount; ++id) EXPECT_EQ(skin.Object(TSkinObjectId(id)), nullptr);
  // Without the menu bar colour, that of the system's button face.
  skin.ReadSkinStream(Stream(SkinFile("[Colours]\nWindowText=1 1 1\n")));
  EXPECT_EQ(skin.Colors[scMenubar], clBtnFace);
}

TEST(SkinData, ObjectReadersFollowTheirKinds) {
  const std::vector<SkinEntry> entries = {
      {"p.bmp", BmpOf(8, 4)}, {"c.bmp", BmpOf(6, 4)}, {"k.bmp", BmpOf(65, 13)}, {"r.bmp", BmpOf(96, 16)}};
  TSkinData skin;
  skin.ReadSkinStream(Stream(SkinFile(
      "[Colours]\nButtonText=9 9 9\n[Buttons]\nCheckButton=k.bmp\nRadioButton=r.bmp\n"
      "[Progress]\nBitmap=p.bmp\nChunk=c.bmp\nTile=2\nNormalColour=5\n[Toolbars]\nImage=p.bmp\nTile=2\nStyle=3\n"
      "[HorzScrollThumb]\nImage=p.bmp\nFrameCount=7\n[ComboButton]\nImage=\n[Tabs]\nImage=nothing.bmp\n",
      entries)));
  const auto& progress = dynamic_cast<const TDataSkinBorder&>(*skin.Object(soProgress));
  EXPECT_EQ((std::array{progress.Image2.width, progress.Tile, progress.NormalColour}), (std::array{6, 2, -1}));
  const auto* toolbars = skin.Object(soToolbars);
  EXPECT_EQ((std::array{toolbars->Tile, toolbars->Style}), (std::array{0, 3}));
  EXPECT_EQ(toolbars->PressedColour2, RgbColor(9, 9, 9));
  EXPECT_EQ(skin.Object(soHorzScrollThumb)->FrameCount, 7);
  EXPECT_EQ(skin.Object(soComboButton), nullptr);
  ASSERT_NE(skin.Object(soTabs), nullptr);  // named, even though the picture is missing
  EXPECT_TRUE(skin.Object(soTabs)->Image.pixels.empty());
  EXPECT_EQ((std::array{skin.Buttons.CheckFrameCount, skin.Buttons.RadioFrameCount}), (std::array{5, 6}));
}

TEST(SkinData, AStreamWithoutASkinLeavesNoneAndSwitchesOff) {
  FakeManager manager;
  {
    TSkinData skin(&manager);
    skin.ReadSkinStream(assets::SkinStream());
    ASSERT_FALSE(skin.Empty());
    for (const Bytes& value : {Bytes{0, 0, 0, 0}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1}, Bytes{1, 2}, Stream({1, 2, 3})}) {
      skin.ReadSkinStream(value);
      EXPECT_TRUE(skin.Empty());
      EXPECT_TRUE(skin.SysButtons.empty());
      EXPECT_EQ(skin.Object(soScrollbar), nullptr);
      EXPECT_EQ(skin.ButtonFaceColor(), clBtnFace);
    }
    skin.Reading = true;
    skin.SetActive(true);
    skin.Reading = false;
    skin.Loaded();
    EXPECT_FALSE(skin.Active());
    skin.SetActive(true);  // nothing to switch on
    EXPECT_FALSE(skin.Active());
  }
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"add", "hook", "remove"}));

  // A length beyond the bytes takes what is there, and is written back as it was kept.
  TSkinData skin;
  Bytes value = Stream(SkinFile("[TitlebarSkin]\nSkinName=x\n"));
  const Bytes kept(value.begin(), value.end());
  value[2] = 1;  // 64 KiB more than there is
  skin.ReadSkinStream(value);
  EXPECT_EQ(skin.SkinName, "x");
  EXPECT_EQ(skin.WriteSkinStream(), kept);
}

TEST(SkinData, TellsTheManagerWhatToDo) {
  const Bytes file = SkinFile("[TitlebarSkin]\nSkinName=x\n");
  FakeManager manager;
  std::vector<std::string> asked;
  TSkinData skin(&manager, [&](const std::string& path) -> std::optional<Bytes> {
    asked.push_back(path);
    if (path == "good.skin") return file;
    return std::nullopt;
  });
  skin.SkinControls.set();
  skin.Reading = true;
  skin.SetActive(true);
  skin.ReadSkinStream(Stream(file));
  skin.Reading = false;
  skin.Loaded();
  EXPECT_TRUE(skin.Active());
  EXPECT_FALSE(skin.SkinControls.test(xcMenuItem));
  EXPECT_TRUE(skin.SkinControls.test(xcSystemMenu));
  skin.SetActive(false);
  skin.SetActive(true);
  skin.SetSkinFile("good.skin");
  EXPECT_FALSE(skin.Empty());
  skin.SetSkinFile("missing.skin");
  EXPECT_TRUE(skin.Empty());
  EXPECT_EQ(skin.SkinFile(), "missing.skin");
  EXPECT_EQ(asked, (std::vector<std::string>{"good.skin", "missing.skin"}));
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"add", "hook", "action 1", "action 2", "action 1", "action 3"}));

  // Without the main menu the system menu goes; other scopes skin their owner form at once.
  FakeManager other;
  TSkinData form(&other);
  form.SkinFormtype = TSkinFormType::sfOnlyThisForm;
  form.Loaded();
  TSkinData dialog(&other);
  dialog.SkinControls.set().reset(xcMainMenu);
  dialog.Loaded();
  EXPECT_FALSE(dialog.SkinControls.test(xcSystemMenu));
  EXPECT_TRUE(dialog.SkinControls.test(xcMenuItem));
  dialog.SkinFormtype = TSkinFormType::sfDialog;
  dialog.SetActive(true);
  EXPECT_TRUE(dialog.Active());
  EXPECT_EQ(other.calls, (std::vector<std::string>{"add", "on", "owner", "add", "hook"}));
}

// A package of another version is refused and the user is told so, once; ours loads silently.
TEST(SkinData, APackageOfAnotherVersionIsRefusedWithAMessage) {
  const std::string older = "This is Older Skin File\rPlease update to new version !";
  struct Case {
    std::uint32_t version;
    bool loads;
  } cases[] = {{20000, true}, {19999, false}, {20001, false}, {0, false}};
  for (const Case& c : cases) {
    const std::string ini = "[TitlebarSkin]\nSkinName=Versioned\n";
    const std::vector<SkinEntry> entries = {{"skin.ini", Bytes(ini.begin(), ini.end())}};
    Bytes package = BuildSkinPackage(entries);
    for (int i = 0; i < 4; ++i) package[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.version >> (8 * i));
    std::vector<std::string> shown;
    TSkinData skin(nullptr, {}, [&](std::string_view text) { shown.emplace_back(text); });
    skin.ReadSkinStream(Stream(TLZH::PackFile(package)));
    EXPECT_EQ(skin.Empty(), !c.loads) << c.version;
    EXPECT_EQ(shown, c.loads ? std::vector<std::string>{} : std::vector<std::string>{older}) << c.version;
  }
}

// Each load, good or not, tells the manager that the skin's data (its buttons) are new.
TEST(SkinData, EveryLoadTellsTheManagerTheDataChanged) {
  FakeManager manager;
  TSkinData skin(&manager);
  skin.ReadSkinStream(assets::SkinStream());
  EXPECT_EQ(manager.changed, 1);
  const std::uint8_t broken[] = {4, 0, 0, 0, 1, 2, 3, 4};
  skin.ReadSkinStream(broken);
  EXPECT_TRUE(skin.Empty());
  EXPECT_EQ(manager.changed, 2);
}

// An unpacked package loads as its skin file would, and the held skin file stays as it was.
TEST(SkinData, LoadsAnUnpackedPackage) {
  FakeManager manager;
  TSkinData skin(&manager);
  skin.ReadSkinStream(Stream(SkinFile("[TitlebarSkin]\nSkinName=held\n")));
  const Bytes held = skin.SkinData();
  const std::string ini = "[TitlebarSkin]\nSkinName=unpacked\n[Personality]\nTop=top.bmp\n";
  const std::vector<SkinEntry> entries = {{"top.bmp", BmpOf(3, 2)}, {"skin.ini", Bytes(ini.begin(), ini.end())}};
  EXPECT_TRUE(skin.LoadSkinPackage(BuildSkinPackage(entries)));
  EXPECT_EQ(skin.SkinName, "unpacked");
  EXPECT_EQ(skin.Borders[bsTop].Image.width, 3);
  EXPECT_EQ(skin.SkinData(), held);
  EXPECT_FALSE(skin.LoadSkinPackage({1, 2, 3}));
  EXPECT_TRUE(skin.Empty());
  EXPECT_EQ(skin.SkinName, "");
  EXPECT_EQ(manager.changed, 3);
}

TEST(SkinData, DesignTimeLoadsNothing) {
  FakeManager manager;
  TSkinData skin(&manager);
  skin.Designing = true;
  skin.ReadSkinStream(assets::SkinStream());
  EXPECT_TRUE(skin.Empty());
  EXPECT_EQ(skin.SkinStore(), "(Good)");
  skin.SetActive(true);
  skin.Loaded();
  EXPECT_TRUE(manager.calls.empty());
  skin.SetSkinFile("other.skin");
  EXPECT_EQ(skin.SkinStore(), "(none)");
  EXPECT_EQ(skin.WriteSkinStream(), Bytes(4, 0));
}

TEST(SkinData, ForeignControlsMapToKinds) {
  TSkinData skin;
  EXPECT_EQ(skin.Skin3rd.size(), 98u);
  EXPECT_EQ(MainFormSkin3rd().size(), 95u);
  const std::set<std::string> kinds = {"combobox", "edit",     "radiobutton", "panel",      "trackbar", "button",
                                       "bitbtn",   "speedbutton", "tab",      "progress",   "scrollbar", "groupbox",
                                       "radiogroup", "checkgroup", "checkbox", "nil"};
  for (const auto& list : {MainFormSkin3rd(), TSkinData::BuiltInSkin3rd()}) {
    skin.Skin3rd = list;
    for (const std::string& line : list) {
      const auto kind = skin.Skin3rdKind(line.substr(0, line.find('=')));
      ASSERT_TRUE(kind) << line;
      EXPECT_TRUE(kinds.count(*kind)) << line;
    }
  }
  EXPECT_EQ(skin.Skin3rdKind("tcontrolbar"), "panel");
  EXPECT_EQ(skin.Skin3rdKind("TADVPAGECONTROL"), "nil");
  EXPECT_EQ(skin.Skin3rdKind("TEdit"), std::nullopt);
  skin.Skin3rd = {"TLong=" + std::string(60, 'X')};
  EXPECT_EQ(skin.Skin3rdKind("TLong"), std::string(50, 'x'));
  EXPECT_EQ(MainFormSkinControls().count(), 17u);
  EXPECT_FALSE(MainFormSkinControls().test(xcPopupMenu));
}

}  // namespace
}  // namespace pimblo::test
