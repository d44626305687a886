#include "app/main_form.h"

#include <cassert>
#include <iterator>
#include <span>

#include "app/census.h"
#include "app/census_answer.h"
#include "app/commands.h"
#include "app/context_menu_entries.h"
#include "app/unit2.h"
#include "sprites/mirror.h"
#include "win32/application.h"
#include "win32/exception.h"
#include "win32/system.h"

namespace pimblo {

double SpeedFactor = kStartSpeedFactor;
NOTIFYICONDATAW TrayIconData{};
TMainForm* MainForm = nullptr;

namespace {

std::span<const std::uint8_t> Resource(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return {};
  return {static_cast<const std::uint8_t*>(LockResource(loaded)), SizeofResource(module, found)};
}

// The user-facing side of start with the system and the first start.
class MainShell : public Shell {
 public:
  explicit MainShell(TMainForm& form) : form_(form) {}
  void SetMotion(bool enabled) override { form_.Timer1->SetEnabled(enabled); }
  void Inform(const std::wstring& text) override {
    MessageBoxW(form_.ui::TForm::Handle(), text.c_str(), L"提示", MB_OK | MB_ICONINFORMATION);
  }
  void ShowUsage(const std::wstring& text) override {
    MessageBoxW(nullptr, text.c_str(), ui::Application->Title.c_str(), MB_OK | MB_TASKMODAL);
  }
  bool AskYesNo(const std::wstring& text) override {
    return MessageBoxW(form_.ui::TForm::Handle(), text.c_str(), L"提示", MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void ShowError(const std::wstring& message) override { ui::Application->ShowException(message); }
  void ArmHelpTimer() override { form_.Timer3->SetEnabled(true); }

 private:
  TMainForm& form_;
};

Win32RunKey& DefaultMachineRunKey() {
  static Win32RunKey key(HKEY_LOCAL_MACHINE);
  return key;
}
Win32RunKey& DefaultUserRunKey() {
  static Win32RunKey key(HKEY_CURRENT_USER);
  return key;
}
Win32FileSystem& DefaultFiles() {
  static Win32FileSystem files(kFallbackMarker);
  return files;
}

// The name of a menu glyph among the program's bitmap resources; none for none.
const wchar_t* GlyphResource(MenuGlyph glyph) {
  switch (glyph) {
    case MenuGlyph::Stop: return L"GLYPH_STOP";
    case MenuGlyph::Go: return L"GLYPH_GO";
    case MenuGlyph::Speed: return L"GLYPH_SPEED";
    case MenuGlyph::Faster: return L"GLYPH_FASTER";
    case MenuGlyph::Slower: return L"GLYPH_SLOWER";
    case MenuGlyph::Ball: return L"GLYPH_BALL";
    case MenuGlyph::Help: return L"GLYPH_HELP";
    case MenuGlyph::Quit: return L"GLYPH_QUIT";
    case MenuGlyph::NoGlyph: break;
  }
  return nullptr;
}

HBITMAP Glyph(const wchar_t* name) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

TMainForm::TMainForm(ui::TComponent* owner) : ui::TForm(owner) {
  MainForm = this;
  ui::FormStyle style;
  style.style = WS_POPUP;
  style.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  style.caption = L"u";
  // Hidden, at the middle of the screen, so that its message boxes come up there.
  style.left = GetSystemMetrics(SM_CXSCREEN) / 2;
  style.top = GetSystemMetrics(SM_CYSCREEN) / 2;
  style.width = 0;
  style.height = 0;
  CreateHandle(style);
  MachineRunKey = &DefaultMachineRunKey();
  UserRunKey = &DefaultUserRunKey();
  Files = &DefaultFiles();

  Timer1 = new ui::TTimer(this, 10, true);
  Timer1->OnTimer = [this] { Timer1Timer(); };
  Timer3 = new ui::TTimer(this, 10, false);
  Timer3->OnTimer = [this] { Timer3Timer(); };
  Heads = new ui::TImageList(this);
  Legs = new ui::TImageList(this);
  FHeads = new ui::TImageList(this);
  FLegs = new ui::TImageList(this);
  PopupMenu1 = new ui::TPopupMenu(this);
  BuildMenu();
  XPMenuOwner.Form = ui::TForm::Handle();
  SetMainFormProperties(XPMenu1);
  AttachXPMenu(*PopupMenu1, XPMenu1);
  LoadSheets();
  LoadSkin();

  OnMessage(WM_HOTKEY, [this](ui::TMessage& m) { WMHotKey(m); });
  // The screen metrics the pets read are kept, and read again when the system says they changed;
  // the messages come before the next tick, which takes them first.
  for (UINT msg : {WM_DISPLAYCHANGE, WM_SETTINGCHANGE, WM_DPICHANGED})
    OnMessage(msg, [this](ui::TMessage& m) {
      desktop_.ReadMetrics();
      m.Result = DefWindowProcW(ui::TForm::Handle(), m.Msg, m.WParam, m.LParam);
    });
  OnMessage(RegisterWindowMessageW(kCensusMessage),
            [this](ui::TMessage& m) { m.Result = AnswerCensus(m.WParam, desktop_, Pets()); });
  OnMessage(kTrayCallbackMessage, [this](ui::TMessage& m) { WMTrayNotify(m); });
  // The shell made its notification area again (it was restarted): the icon
  // would be gone for good, so it goes back in.
  if (const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated"))
    OnMessage(taskbarCreated, [](ui::TMessage&) { Shell_NotifyIconW(NIM_ADD, &TrayIconData); });
  for (UINT msg : {WM_MEASUREITEM, WM_DRAWITEM})
    OnMessage(msg, [this](ui::TMessage& m) {
      m.Result = PopupMenu1->HandleMenuMessage(m.Msg, m.WParam, m.LParam) ? TRUE : DefWindowProcW(ui::TForm::Handle(), m.Msg, m.WParam, m.LParam);
    });
  FormCreate();
}

void TMainForm::LoadSkin() {
  SkinData1.Reading = true;
  SkinData1.SetActive(true);
  SkinData1.DisableTag = kUnskinnedMenuTag;
  SkinData1.SkinControls = MainFormSkinControls();
  SkinData1.Skin3rd = MainFormSkin3rd();
  SkinData1.SkinFormtype = TSkinFormType::sfMainform;
  SkinData1.MenuUpdate = true;
  FollowUserSkin();
  SkinData1.Reading = false;
  SkinData1.Loaded();
}

// A skin the user brings replaces the carried one; one that does not load leaves
// the carried skin, and the user is told once, naming the file and the reason.
// Looked at on start and whenever the help window is shown.
void TMainForm::FollowUserSkin() {
  const std::optional<UserSkinChange> change =
      userSkin_.Follow(SkinData1, *Files, UserSkinPlaces(ExecutablePath(), AppDataFolder()), Resource(L"SKINSTREAM"));
  if (change && change->fault != UserSkinFault::Nothing)
    MessageBoxW(nullptr, UserSkinMessage(*change->place, change->fault).c_str(), ui::Application->Title.c_str(),
                MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

void TMainForm::ShowHelp() {
  FollowUserSkin();
  if (Form2) Form2->Show();
}

void TMainForm::BuildMenu() {
  // What each entry of the shared table is on this form, in the table's order.
  struct Action {
    MenuCommand command;
    ui::TMenuItem** field;
    void (TMainForm::*click)();
  };
  const Action actions[] = {
      {MenuCommand::Stop, &N5, &TMainForm::N5Click},
      {MenuCommand::Go, &N4, &TMainForm::N4Click},
      {MenuCommand::ShowSpeed, &N11, nullptr},
      {MenuCommand::SpeedUp, &N9, &TMainForm::N9Click},
      {MenuCommand::SlowDown, &N10, &TMainForm::N10Click},
      {MenuCommand::AutostartOn, &N7, &TMainForm::N7Click},
      {MenuCommand::AutostartOff, &N8, &TMainForm::N8Click},
      {MenuCommand::Separator, &N6, nullptr},
      {MenuCommand::Help, &N12, &TMainForm::N12Click},
      {MenuCommand::Separator, &N1, nullptr},
      {MenuCommand::Visit, &N2, &TMainForm::N2Click},
      {MenuCommand::Quit, &Quit1, &TMainForm::Quit1Click},
  };
  static_assert(std::size(actions) == kContextMenuEntries.size(), "one action for each entry of the menu");
  for (std::size_t i = 0; i < kContextMenuEntries.size(); ++i) {
    const ContextMenuEntry& e = kContextMenuEntries[i];
    const Action& a = actions[i];
    assert(a.command == e.command && "the actions follow the table's order");
    ui::TMenuItem* item = PopupMenu1->Add(e.caption);
    if (const wchar_t* glyph = GlyphResource(e.glyph)) item->Bitmap.Reset(Glyph(glyph));
    if (a.click) item->OnClick = [this, click = a.click] { (this->*click)(); };
    *a.field = item;
  }
}

void TMainForm::LoadSheets() {
  if (!Heads->ReadStream(Resource(L"HEADS")) || !Legs->ReadStream(Resource(L"LEGS")))
    throw ui::Exception(L"The pet's pictures could not be loaded");
}

void TMainForm::FormCreate() {
  SpeedFactor = kStartSpeedFactor;
  // The two hot keys; a key another program holds already simply never arrives.
  const ATOM stopAtom = GlobalAddAtomW(L"UserDefineHotKey");
  RegisterHotKey(ui::TForm::Handle(), static_cast<int>(static_cast<std::uint16_t>(stopAtom) - 0xC000), MOD_ALT | MOD_CONTROL, VK_F12);
  const ATOM startAtom = GlobalAddAtomW(L"UserDefdfifgneHotKey");
  RegisterHotKey(ui::TForm::Handle(), static_cast<int>(static_cast<std::uint16_t>(startAtom) - 0xC000), MOD_ALT | MOD_CONTROL, VK_F11);
  MainShell shell(*this);
  RunFirstStart(*Files, StartKeys(), shell, ExecutablePath(), kMarkerPath);
  AddTrayIcon();
  BuildMirroredSheets(*Legs, *Heads, *FLegs, *FHeads);
  SYSTEMTIME now;
  GetSystemTime(&now);
  random_.Seed(TimeOfDaySeed(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
  CreatePet();
}

void TMainForm::AddTrayIcon() {
  TrayIconData = NOTIFYICONDATAW{};
  TrayIconData.cbSize = NOTIFYICONDATAW_V1_SIZE;
  TrayIconData.hWnd = ui::TForm::Handle();
  TrayIconData.uID = 1;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kTrayCallbackMessage;
  // The small picture drawn for the notification area, not the large one scaled down.
  TrayIconData.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  static_assert(sizeof kTrayTip <= sizeof TrayIconData.szTip, "the tip fits the first layout's 64 characters");
  static_assert(sizeof(void*) != 4 || NOTIFYICONDATAW_V1_SIZE == 152, "the first wide layout on 32-bit Windows");
  std::copy(std::begin(kTrayTip), std::end(kTrayTip), TrayIconData.szTip);
  Shell_NotifyIconW(NIM_ADD, &TrayIconData);
}

void TMainForm::CreatePet() {
  const ScreenPoint cursor = desktop_.GetCursorPos();
  auto* pet = new TZibbetWindow(
      this, desktop_, random_, SpeedFactor, {Heads, Legs, FHeads, FLegs},
      [this](ScreenPoint at) { PopupMenu1->Popup(ui::TForm::Handle(), at.x, at.y); },
      [this] { desktop_.ReadMetrics(); }, cursor);
  pet->Pet().PosX = static_cast<float>(cursor.x);
  pet->Pet().PosY = static_cast<float>(cursor.y);
  pet->Pet().LegFrame = 0;
  pet->Pet().ShownLeg = 1;
  ShowWindow(pet->ui::TForm::Handle(), SW_SHOWNOACTIVATE);
}

std::vector<TZibbetWindow*> TMainForm::Pets() const {
  std::vector<TZibbetWindow*> pets;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* pet = dynamic_cast<TZibbetWindow*>(Components(i))) pets.push_back(pet);
  return pets;
}

void TMainForm::Timer1Timer() {
  if (moving_) return;  // a tick never runs inside another
  // Waiting messages first: input to the pets, menu commands. A timer event that
  // arrives meanwhile (the context menu's own loop delivers them) ticks the pets
  // without handling the messages a second time.
  if (!pumping_) {
    pumping_ = true;
    ui::Application->ProcessMessages();
    pumping_ = false;
    if (ui::Application->Terminated()) return;
  }
  moving_ = true;
  const int count = ComponentCount();
  for (int i = 0; i < count && i < ComponentCount(); ++i) {
    auto* pet = dynamic_cast<TZibbetWindow*>(Components(i));
    if (pet && pet->Visible()) pet->Pet().MoveZibbet();
  }
  moving_ = false;
}

void TMainForm::Timer3Timer() {
  Timer3->SetEnabled(false);
  ShowHelp();
}

void TMainForm::N7Click() {
  MainShell shell(*this);
  if (auto error = SwitchAutostartOn(StartKeys(), shell, ExecutablePath())) throw ui::Exception(*error);
}

void TMainForm::N8Click() {
  MainShell shell(*this);
  SwitchAutostartOff(StartKeys(), shell);
}

void TMainForm::N12Click() { ShowHelp(); }

void TMainForm::N4Click() { Timer1->SetEnabled(true); }
void TMainForm::N5Click() { Timer1->SetEnabled(false); }

void TMainForm::N9Click() {
  if (SpeedUp(SpeedFactor)) N11->Caption = SpeedCaption(SpeedFactor);
}

void TMainForm::N10Click() {
  if (SlowDown(SpeedFactor)) N11->Caption = SpeedCaption(SpeedFactor);
}

void TMainForm::N2Click() { ShellExecuteW(ui::TForm::Handle(), L"open", kMakerSite, nullptr, nullptr, SW_SHOWMAXIMIZED); }

void TMainForm::Quit1Click() { Close(); }

void TMainForm::WMHotKey(ui::TMessage& message) {
  switch (HotKeyFor(LOWORD(message.LParam), HIWORD(message.LParam))) {
    case HotKeyAction::Start:
      message.Result = 1;
      Timer1->SetEnabled(true);
      break;
    case HotKeyAction::Stop:
      message.Result = 1;
      Timer1->SetEnabled(false);
      break;
    case HotKeyAction::Nothing: break;
  }
}

void TMainForm::WMTrayNotify(ui::TMessage& message) {
  if (!TrayOpensMenu(static_cast<std::uint32_t>(message.LParam))) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  PopupMenu1->Popup(ui::TForm::Handle(), cursor.x, cursor.y);
}

void TMainForm::FormCloseQuery(bool&) {
  TrayIconData.cbSize = NOTIFYICONDATAW_V1_SIZE;
  TrayIconData.uID = 1;
  TrayIconData.hWnd = ui::TForm::Handle();
  Shell_NotifyIconW(NIM_DELETE, &TrayIconData);
}

}  // namespace pimblo
