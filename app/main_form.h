// The hidden main form: owner of the pets, the motion timer, the sprite sheets,
// the context menu, the notification icon and the hot keys.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <span>
#include <vector>

#include "app/autostart.h"
#include "app/user_skin.h"
#include "app/zibbet_window.h"
#include "look/win_skin_data.h"
#include "pet/random.h"
#include "win32/desktop.h"
#include "win32/form.h"
#include "win32/image_list.h"
#include "win32/menu.h"
#include "win32/skin_manage.h"
#include "win32/system.h"
#include "win32/timer.h"
#include "win32/xp_menu_glue.h"

namespace pimblo {

extern double SpeedFactor;
extern NOTIFYICONDATAW TrayIconData;

class TMainForm : public ui::TForm {
 public:
  explicit TMainForm(ui::TComponent* owner);

  ui::TTimer* Timer1;
  ui::TTimer* Timer3;
  ui::TImageList* Heads;
  ui::TImageList* Legs;
  ui::TImageList* FHeads;
  ui::TImageList* FLegs;
  ui::TPopupMenu* PopupMenu1;
  ui::TMenuItem *N5, *N4, *N11, *N9, *N10, *N7, *N8, *N6, *N12, *N1, *N2, *Quit1;
  // The menu drawing component; its owner model outlives it.
  Win32MenuOwner XPMenuOwner;
  TXPMenu XPMenu1{XPMenuOwner};
  // The window skin: the user's, else the one carried in the program; loaded when the form is
  // made, and again when the user's skin file changed by the time the help window is shown.
  TSkinData SkinData1{&TSkinManage::Link(), [](const std::string& path) { return ReadWholeFile(path); },
                      &ShowSkinMessage};

  void FormCreate();
  void Timer1Timer();
  void Timer3Timer();
  void N7Click();
  void N8Click();
  void N12Click();
  void N4Click();
  void N5Click();
  void N9Click();
  void N10Click();
  void N2Click();
  void Quit1Click();
  void WMHotKey(ui::TMessage& message);
  void WMTrayNotify(ui::TMessage& message);

  // The pets among the components, in the order they were added.
  std::vector<TZibbetWindow*> Pets() const;
  Win32Desktop& Desktop() { return desktop_; }

  // Where start with the system and the first start reach the registry, the
  // files and the user; replaceable for tests.
  RunKey* MachineRunKey = nullptr;
  RunKey* UserRunKey = nullptr;
  FileSystem* Files = nullptr;

 protected:
  void FormCloseQuery(bool& canClose) override;

 private:
  void BuildMenu();
  void LoadSheets();
  void LoadSkin();
  void FollowUserSkin();
  void ShowHelp();
  void AddTrayIcon();
  void CreatePet();
  RunKeys StartKeys() const { return {*MachineRunKey, *UserRunKey}; }

  Win32Desktop desktop_;
  LinearRandom random_;
  UserSkinFollower userSkin_;
  bool pumping_ = false;  // inside the tick's message handling
  bool moving_ = false;   // inside the pets' ticks: never entered twice
};

extern TMainForm* MainForm;


}  // namespace pimblo
