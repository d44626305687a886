#include "app/autostart.h"

#include "app/commands.h"

namespace pimblo {

std::wstring RunValueData(const std::wstring& exePath) { return L"\"" + exePath + L"\""; }

std::wstring UsageText() {
  return JoinLines({
      L"使用方法:",
      L"1. 右键点击Pimblo后,会弹出一个对话框.",
      L"立正:Pimblo停止运动;",
      L"动起来:Pimblo开始运动;",
      L"现速度:显示当前Pimblo的运动速度.",
      L"加速运动:Pimblo的运动速度加快.",
      L"减速运动:Pimblo的运动速度变慢.",
      L"",
      L"说明:",
      L"按CTRL+ALT+F11可使Pimblo动起来.",
      L"按CTRL+ALT+F12可使Pimblo停止运动.",
  }, L"\r");
}

std::wstring RegistryWriteError() { return std::wstring(L"Failed to set data for '") + kRunValueName + L"'"; }

namespace {
// Stops the motion for the registry work and closes the key and starts the
// motion again however the work ends.
class RegistryWork {
 public:
  RegistryWork(RunKey& key, Shell& shell) : key_(key), shell_(shell) { shell_.SetMotion(false); }
  ~RegistryWork() {
    key_.Close();
    shell_.SetMotion(true);
  }
  RegistryWork(const RegistryWork&) = delete;
  RegistryWork& operator=(const RegistryWork&) = delete;

 private:
  RunKey& key_;
  Shell& shell_;
};
}  // namespace

std::optional<std::wstring> SwitchAutostartOn(RunKey& key, Shell& shell, const std::wstring& exePath) {
  {
    RegistryWork work(key, shell);
    if (key.Open() && key.WriteString(kRunValueName, RunValueData(exePath))) {
      shell.Inform(L"开机自动运行设置成功!");
      return std::nullopt;
    }
  }
  return RegistryWriteError();
}

void SwitchAutostartOff(RunKey& key, Shell& shell) {
  RegistryWork work(key, shell);
  if (key.Open() && key.ValueExists(kRunValueName) && key.DeleteValue(kRunValueName))
    shell.Inform(L"开机自动运行已取消!");
}

bool RunFirstStart(FileSystem& files, RunKey& key, Shell& shell, const std::wstring& exePath) {
  const std::optional<std::wstring> fallback = files.FallbackMarkerPath();
  if (files.Exists(kMarkerPath) || (fallback && files.Exists(*fallback))) return false;
  // The root of C: is closed to standard users on current Windows: the marker
  // then goes to the user's own folder, silently. Only when neither can be
  // written is the file error shown.
  if (!files.CreateNewFile(kMarkerPath, kMarkerContents) &&
      !(fallback && files.CreateNewFile(*fallback, kMarkerContents)))
    shell.ShowError(std::wstring(L"Cannot create file ") + kMarkerPath);
  shell.ShowUsage(UsageText());
  if (shell.AskYesNo(L"是否设置为开机自动运行?")) {
    const bool written = key.Open() && key.WriteString(kRunValueName, RunValueData(exePath));
    key.Close();
    if (!written) shell.ShowError(RegistryWriteError());
  }
  shell.ArmHelpTimer();
  return true;
}

}  // namespace pimblo
