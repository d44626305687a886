#include "app/main_form.h"

#include <span>

#include "app/census.h"
#include "app/census_answer.h"
#include "app/commands.h"
#include "app/unit2.h"
#include "app/user_skin.h"
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
  const std::span<const std::uint8_t> carried = Resource(L"SKINSTREAM");
  // The carried skin is decoded only when no user's skin stands in its place.
  if (!TakeFirstUserSkin(carried)) SkinData1.ReadSkinStream(carried);
  SkinData1.Reading = false;
  SkinData1.Loaded();
}

// A skin the user brings replaces the carried one; one that does not load leaves
// the carried skin, and the user is told once, naming the file and the reason.
// False when there is no user's skin file at all.
bool TMainForm::TakeFirstUserSkin(std::span<const std::uint8_t> carried) {
  for (const std::wstring& place : UserSkinPlaces(ExecutablePath(), AppDataFolder())) {
    if (!Files->Exists(place)) continue;
    const UserSkinFault fault = TakeUserSkin(SkinData1, ReadWholeFile(place, kUserSkinLimit), carried);
    if (fault != UserSkinFault::None)
      MessageBoxW(nullptr, UserSkinMessage(place, fault).c_str(), ui::Application->Title.c_str(),
                  MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    return true;
  }
  return false;
}

void TMainForm::BuildMenu() {
  struct Entry {
    ui::TMenuItem** field;
    const wchar_t* caption;
    const wchar_t* glyph;
    void (TMainForm::*click)();
  };
  const Entry entries[] = {
      {&N5, L"立正  !!!", L"GLYPH_STOP", &TMainForm::N5Click},
      {&N4, L"动起来!!!", L"GLYPH_GO", &TMainForm::N4Click},
      {&N11, L"现速度为:988", L"GLYPH_SPEED", nullptr},
      {&N9, L"加速运动", L"GLYPH_FASTER", &TMainForm::N9Click},
      {&N10, L"减速运动", L"GLYPH_SLOWER", &TMainForm::N10Click},
      {&N7, L"开机自动运行", L"GLYPH_BALL", &TMainForm::N7Click},
      {&N8, L"取消自动运行", L"GLYPH_BALL", &TMainForm::N8Click},
      {&N6, L"-", nullptr, nullptr},
      {&N12, L"使用帮助", L"GLYPH_HELP", &TMainForm::N12Click},
      {&N1, L"-", nullptr, nullptr},
      {&N2, L"访问Vantry软件", L"GLYPH_BALL", &TMainForm::N2Click},
      {&Quit1, L"退出桌面Pimblo", L"GLYPH_QUIT", &TMainForm::Quit1Click},
  };
  for (const Entry& e : entries) {
    ui::TMenuItem* item = PopupMenu1->Add(e.caption);
    if (e.glyph) item->Bitmap.Reset(Glyph(e.glyph));
    if (e.click) item->OnClick = [this, click = e.click] { (this->*click)(); };
    *e.field = item;
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
  RunFirstStart(*Files, StartKeys(), shell, ExecutablePath());
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
      [this](ScreenPoint at) { PopupMenu1->Popup(ui::TForm::Handle(), at.x, at.y); }, cursor);
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
  if (Form2) Form2->Show();
}

void TMainForm::N7Click() {
  MainShell shell(*this);
  if (auto error = SwitchAutostartOn(StartKeys(), shell, ExecutablePath())) throw ui::Exception(*error);
}

void TMainForm::N8Click() {
  MainShell shell(*this);
  SwitchAutostartOff(StartKeys(), shell);
}

void TMainForm::N12Click() {
  if (Form2) Form2->Show();
}

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
    case HotKeyAction::None: break;
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
