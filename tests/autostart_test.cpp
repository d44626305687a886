// Start with the system and the first start, against a fake registry, file
// system and user that record what happened and can fail on demand.
#include <gtest/gtest.h>

#include <map>

#include "app/autostart.h"

namespace pimblo {
namespace {

struct FakeRunKey : RunKey {
  bool canOpen = true, canWrite = true;
  bool open = false;
  int opens = 0, closes = 0;
  std::map<std::wstring, std::wstring> values;
  bool Open() override {
    ++opens;
    return open = canOpen;
  }
  bool WriteString(const std::wstring& n, const std::wstring& d) override {
    if (!open || !canWrite) return false;
    values[n] = d;
    return true;
  }
  bool ValueExists(const std::wstring& n) override { return open && values.count(n) > 0; }
  bool DeleteValue(const std::wstring& n) override { return open && values.erase(n) > 0; }
  void Close() override {
    ++closes;
    open = false;
  }
};

struct FakeFiles : FileSystem {
  std::map<std::wstring, std::string> files;
  bool rootWritable = true, appDataWritable = true, appDataKnown = true;
  bool Exists(const std::wstring& p) override { return files.count(p) > 0; }
  bool CreateNewFile(const std::wstring& p, std::string_view c) override {
    const bool writable = p == kMarkerPath ? rootWritable : appDataWritable;
    if (!writable || files.count(p)) return false;
    files[p] = std::string(c);
    return true;
  }
  std::optional<std::wstring> FallbackMarkerPath() override {
    if (!appDataKnown) return std::nullopt;
    return L"C:\\Users\\u\\AppData\\Roaming\\Pimblo\\a.bat";
  }
};

// Records every step in order, so the tests can check the sequence.
struct FakeShell : Shell {
  std::vector<std::wstring> log;
  bool motion = true;
  bool answerYes = true;
  void SetMotion(bool e) override {
    motion = e;
    log.push_back(e ? L"motion on" : L"motion off");
  }
  void Inform(const std::wstring& t) override { log.push_back(L"inform: " + t); }
  void ShowUsage(const std::wstring&) override { log.push_back(L"usage"); }
  bool AskYesNo(const std::wstring& t) override {
    log.push_back(L"ask: " + t);
    return answerYes;
  }
  void ShowError(const std::wstring& m) override { log.push_back(L"error: " + m); }
  void ArmHelpTimer() override { log.push_back(L"help timer"); }
};

const std::wstring kExe = L"C:\\Program Files\\Pimblo\\Pimblo.exe";

TEST(RunValueData, TheFullPathInQuotes) {
  EXPECT_EQ(RunValueData(kExe), L"\"C:\\Program Files\\Pimblo\\Pimblo.exe\"");
}

TEST(SwitchAutostartOn, WritesTheValueSaysSoAndStartsTheMotionAgain) {
  FakeRunKey key;
  FakeShell shell;
  shell.motion = false;  // the user had stopped the pets
  EXPECT_FALSE(SwitchAutostartOn(key, shell, kExe));
  EXPECT_EQ(key.values[L"pimblorun"], L"\"" + kExe + L"\"");
  EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"motion off", L"inform: 开机自动运行设置成功!", L"motion on"}));
  EXPECT_EQ(key.closes, 1);
  // Twice: the same value, the message again.
  EXPECT_FALSE(SwitchAutostartOn(key, shell, kExe));
  EXPECT_EQ(key.values.size(), 1u);
  EXPECT_EQ(shell.log.size(), 6u);
}

TEST(SwitchAutostartOn, AFailedWriteReportsTheRegistryErrorAfterTheMotionStartsAgain) {
  for (bool openFails : {true, false}) {
    FakeRunKey key;
    key.canOpen = !openFails;
    key.canWrite = false;
    FakeShell shell;
    const auto error = SwitchAutostartOn(key, shell, kExe);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, L"Failed to set data for 'pimblorun'");
    EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"motion off", L"motion on"}));
    EXPECT_TRUE(shell.motion);
    EXPECT_EQ(key.closes, 1);
    EXPECT_TRUE(key.values.empty());
  }
}

TEST(SwitchAutostartOff, RemovesTheValueAndSaysSo) {
  FakeRunKey key;
  key.values[L"pimblorun"] = L"x";
  key.values[L"other"] = L"y";
  FakeShell shell;
  SwitchAutostartOff(key, shell);
  EXPECT_EQ(key.values.count(L"pimblorun"), 0u);
  EXPECT_EQ(key.values.count(L"other"), 1u);
  EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"motion off", L"inform: 开机自动运行已取消!", L"motion on"}));
}

TEST(SwitchAutostartOff, ShowsNothingWhenThereIsNoValueOrNoKey) {
  for (bool canOpen : {true, false}) {
    FakeRunKey key;
    key.canOpen = canOpen;
    FakeShell shell;
    shell.motion = false;
    SwitchAutostartOff(key, shell);
    EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"motion off", L"motion on"}));
    EXPECT_EQ(key.closes, 1);
  }
}

TEST(UsageText, ElevenLinesJoinedBySingleCarriageReturns) {
  const std::wstring text = UsageText();
  EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), 10);
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
  EXPECT_EQ(text.substr(0, 6), L"使用方法:\r");
  EXPECT_NE(text.find(L"变慢.\r\r说明:"), std::wstring::npos);
  EXPECT_EQ(text.back(), L'.');
}

TEST(FirstStart, WritesTheMarkerShowsTheUsageAsksAndArmsTheHelpWindow) {
  for (bool yes : {true, false}) {
    FakeFiles files;
    FakeRunKey key;
    FakeShell shell;
    shell.answerYes = yes;
    EXPECT_TRUE(RunFirstStart(files, key, shell, kExe));
    EXPECT_EQ(files.files[kMarkerPath], "Me\r\nmo\r\n1\r\n");
    EXPECT_EQ(files.files.size(), 1u);
    EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"usage", L"ask: 是否设置为开机自动运行?", L"help timer"}));
    EXPECT_EQ(key.values.count(L"pimblorun"), yes ? 1u : 0u);  // written without confirmation
    if (yes) {
      EXPECT_EQ(key.values[L"pimblorun"], RunValueData(kExe));
    }
  }
}

TEST(FirstStart, NotAFirstStartWhenEitherMarkerExists) {
  for (bool inRoot : {true, false}) {
    FakeFiles files;
    files.files[inRoot ? std::wstring(kMarkerPath) : *files.FallbackMarkerPath()] = "anything";
    FakeRunKey key;
    FakeShell shell;
    EXPECT_FALSE(RunFirstStart(files, key, shell, kExe));
    EXPECT_TRUE(shell.log.empty());
    EXPECT_EQ(files.files.size(), 1u);
  }
}

TEST(FirstStart, AClosedRootPutsTheMarkerInTheUsersFolderSilently) {
  FakeFiles files;
  files.rootWritable = false;
  FakeRunKey key;
  FakeShell shell;
  EXPECT_TRUE(RunFirstStart(files, key, shell, kExe));
  EXPECT_EQ(files.files.count(*files.FallbackMarkerPath()), 1u);
  EXPECT_EQ(shell.log.front(), L"usage");
  // And the next start is not a first start.
  FakeShell again;
  EXPECT_FALSE(RunFirstStart(files, key, again, kExe));
}

TEST(FirstStart, NoMarkerAnywhereShowsTheFileErrorAndGoesOn) {
  for (bool known : {true, false}) {
    FakeFiles files;
    files.rootWritable = false;
    files.appDataWritable = false;
    files.appDataKnown = known;
    FakeRunKey key;
    FakeShell shell;
    EXPECT_TRUE(RunFirstStart(files, key, shell, kExe));
    EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"error: Cannot create file c:\\a.bat", L"usage",
                                                    L"ask: 是否设置为开机自动运行?", L"help timer"}));
  }
}

TEST(FirstStart, AFailedRegistryWriteIsReportedAndTheHelpWindowStillComes) {
  FakeFiles files;
  FakeRunKey key;
  key.canWrite = false;
  FakeShell shell;
  EXPECT_TRUE(RunFirstStart(files, key, shell, kExe));
  EXPECT_EQ(shell.log, (std::vector<std::wstring>{L"usage", L"ask: 是否设置为开机自动运行?",
                                                  L"error: Failed to set data for 'pimblorun'", L"help timer"}));
  EXPECT_EQ(key.closes, 1);
}

}  // namespace
}  // namespace pimblo
