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
// Stops the motion for the registry work and starts it again however the work ends.
class MotionPause {
 public:
  explicit MotionPause(Shell& shell) : shell_(shell) { shell_.SetMotion(false); }
  ~MotionPause() { shell_.SetMotion(true); }
  MotionPause(const MotionPause&) = delete;
  MotionPause& operator=(const MotionPause&) = delete;

 private:
  Shell& shell_;
};

// A key opened for the length of a scope and closed however it ends.
class OpenKey {
 public:
  explicit OpenKey(RunKey& key) : key_(key), open_(key.Open()) {}
  ~OpenKey() { key_.Close(); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  explicit operator bool() const { return open_; }

 private:
  RunKey& key_;
  bool open_;
};

bool WriteTo(RunKey& key, const std::wstring& data) {
  const OpenKey open(key);
  return open && key.WriteString(kRunValueName, data);
}

// The machine's key, and the user's only when the machine's did not take it.
bool WriteRunValue(RunKeys keys, const std::wstring& exePath) {
  const std::wstring data = RunValueData(exePath);
  return WriteTo(keys.machine, data) || WriteTo(keys.user, data);
}

bool RemoveFrom(RunKey& key) {
  const OpenKey open(key);
  return open && key.ValueExists(kRunValueName) && key.DeleteValue(kRunValueName);
}
}  // namespace

std::optional<std::wstring> SwitchAutostartOn(RunKeys keys, Shell& shell, const std::wstring& exePath) {
  const MotionPause pause(shell);
  if (!WriteRunValue(keys, exePath)) return RegistryWriteError();
  shell.Inform(L"开机自动运行设置成功!");
  return std::nullopt;
}

void SwitchAutostartOff(RunKeys keys, Shell& shell) {
  const MotionPause pause(shell);
  // Both keys, always: a value may be left in each by earlier runs with and without rights.
  const bool fromMachine = RemoveFrom(keys.machine);
  const bool fromUser = RemoveFrom(keys.user);
  if (fromMachine || fromUser) shell.Inform(L"开机自动运行已取消!");
}

bool RunFirstStart(FileSystem& files, RunKeys keys, Shell& shell, const std::wstring& exePath,
                   const std::wstring& markerPath) {
  const std::optional<std::wstring> fallback = files.FallbackMarkerPath();
  if (files.Exists(markerPath) || (fallback && files.Exists(*fallback))) return false;
  // The root of C: is closed to standard users on current Windows: the marker
  // then goes to the user's own folder, silently. Only when neither can be
  // written is the file error shown.
  if (!files.CreateNewFile(markerPath, kMarkerContents) &&
      !(fallback && files.CreateNewFile(*fallback, kMarkerContents)))
    shell.ShowError(std::wstring(L"Cannot create file ") + markerPath);
  shell.ShowUsage(UsageText());
  if (shell.AskYesNo(L"是否设置为开机自动运行?") && !WriteRunValue(keys, exePath)) shell.ShowError(RegistryWriteError());
  shell.ArmHelpTimer();
  return true;
}

}  // namespace pimblo
