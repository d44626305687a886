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
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring&, std::size_t) override { return std::nullopt; }
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

// The two Run keys, each able to refuse.
struct FakeKeys {
  FakeRunKey machine, user;
  RunKeys keys() { return {machine, user}; }
};

const std::wstring kValue = L"\"C:\\Program Files\\Pimblo\\Pimblo.exe\"";
using Log = std::vector<std::wstring>;
using Values = std::map<std::wstring, std::wstring>;
const Values kHeld = {{L"pimblorun", kValue}};
// What the user sees around the registry work: the motion stops and starts again,
// with or without a message between.
const Log kQuiet = {L"motion off", L"motion on"};
const Log kSaidOn = {L"motion off", L"inform: 开机自动运行设置成功!", L"motion on"};
const Log kSaidOff = {L"motion off", L"inform: 开机自动运行已取消!", L"motion on"};

TEST(SwitchAutostartOn, TheMachineKeyFirstThenTheUsersAndTheErrorOnlyWhenBothRefuse) {
  enum class Refuses { Nothing, Open, Write };
  struct Case {
    const char* what;
    Refuses machine, user;
    bool inMachine, inUser;
  };
  const Case cases[] = {
      {"machine writable: there only", Refuses::Nothing, Refuses::Nothing, true, false},
      {"machine closed: the user's key", Refuses::Open, Refuses::Nothing, false, true},
      {"machine refuses the value: the user's key", Refuses::Write, Refuses::Nothing, false, true},
      {"both closed", Refuses::Open, Refuses::Open, false, false},
      {"both refuse the value", Refuses::Write, Refuses::Write, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeKeys keys;
    keys.machine.canOpen = c.machine != Refuses::Open;
    keys.machine.canWrite = c.machine != Refuses::Write;
    keys.user.canOpen = c.user != Refuses::Open;
    keys.user.canWrite = c.user != Refuses::Write;
    FakeShell shell;
    shell.motion = false;  // the user had stopped the pets: they move again all the same
    const auto error = SwitchAutostartOn(keys.keys(), shell, kExe);
    const bool written = c.inMachine || c.inUser;
    EXPECT_EQ(error, written ? std::nullopt : std::optional<std::wstring>(L"Failed to set data for 'pimblorun'"));
    EXPECT_EQ(shell.log, written ? kSaidOn : kQuiet);
    EXPECT_EQ(keys.machine.values, c.inMachine ? kHeld : Values{});
    EXPECT_EQ(keys.user.values, c.inUser ? kHeld : Values{});
    // Every key opened is closed again, before the message.
    EXPECT_EQ(keys.machine.closes, keys.machine.opens);
    EXPECT_EQ(keys.user.closes, keys.user.opens);
    EXPECT_EQ(keys.user.opens, c.inMachine ? 0 : 1);
  }
}

TEST(SwitchAutostartOff, RemovesTheValueFromEveryKeyAndSaysSoOnce) {
  struct Case {
    const char* what;
    bool inMachine, inUser, machineOpens;
    bool said;
  };
  const Case cases[] = {
      {"in the machine's key", true, false, true, true},
      {"in the user's key", false, true, true, true},
      {"in both", true, true, true, true},
      {"in the user's key, the machine's closed", false, true, false, true},
      {"in neither", false, false, true, false},
      {"in neither, the machine's closed", false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeKeys keys;
    for (auto [key, holds] : {std::pair{&keys.machine, c.inMachine}, std::pair{&keys.user, c.inUser}}) {
      if (holds) key->values[L"pimblorun"] = kValue;
      key->values[L"other"] = L"y";
    }
    keys.machine.canOpen = c.machineOpens;
    FakeShell shell;
    shell.motion = false;
    SwitchAutostartOff(keys.keys(), shell);
    EXPECT_EQ(keys.machine.values.count(L"pimblorun"), 0u);
    EXPECT_EQ(keys.user.values.count(L"pimblorun"), 0u);
    EXPECT_EQ(keys.machine.values.count(L"other") + keys.user.values.count(L"other"), 2u);
    EXPECT_EQ(shell.log, c.said ? kSaidOff : kQuiet);
    EXPECT_EQ(keys.machine.closes, 1);
    EXPECT_EQ(keys.user.closes, 1);
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
    FakeKeys keys;
    FakeShell shell;
    shell.answerYes = yes;
    EXPECT_TRUE(RunFirstStart(files, keys.keys(), shell, kExe, kMarkerPath));
    EXPECT_EQ(files.files[kMarkerPath], "Me\r\nmo\r\n1\r\n");
    EXPECT_EQ(files.files.size(), 1u);
    EXPECT_EQ(shell.log, (Log{L"usage", L"ask: 是否设置为开机自动运行?", L"help timer"}));
    EXPECT_EQ(keys.machine.values, yes ? kHeld : Values{});  // written without confirmation
    EXPECT_TRUE(keys.user.values.empty());
  }
}

TEST(FirstStart, NotAFirstStartWhenEitherMarkerExists) {
  for (bool inRoot : {true, false}) {
    FakeFiles files;
    files.files[inRoot ? std::wstring(kMarkerPath) : *files.FallbackMarkerPath()] = "anything";
    FakeKeys keys;
    FakeShell shell;
    EXPECT_FALSE(RunFirstStart(files, keys.keys(), shell, kExe, kMarkerPath));
    EXPECT_TRUE(shell.log.empty());
    EXPECT_EQ(files.files.size(), 1u);
  }
}

TEST(FirstStart, AClosedRootPutsTheMarkerInTheUsersFolderSilently) {
  FakeFiles files;
  files.rootWritable = false;
  FakeKeys keys;
  FakeShell shell;
  EXPECT_TRUE(RunFirstStart(files, keys.keys(), shell, kExe, kMarkerPath));
  EXPECT_EQ(files.files.count(*files.FallbackMarkerPath()), 1u);
  EXPECT_EQ(shell.log.front(), L"usage");
  // And the next start is not a first start.
  FakeShell again;
  EXPECT_FALSE(RunFirstStart(files, keys.keys(), again, kExe, kMarkerPath));
}

TEST(FirstStart, NoMarkerAnywhereShowsTheFileErrorAndGoesOn) {
  for (bool known : {true, false}) {
    FakeFiles files;
    files.rootWritable = false;
    files.appDataWritable = false;
    files.appDataKnown = known;
    FakeKeys keys;
    FakeShell shell;
    EXPECT_TRUE(RunFirstStart(files, keys.keys(), shell, kExe, kMarkerPath));
    EXPECT_EQ(shell.log, (Log{L"error: Cannot create file c:\\a.bat", L"usage", L"ask: 是否设置为开机自动运行?",
                              L"help timer"}));
  }
}

TEST(FirstStart, YesTakesTheUsersKeyWhenTheMachinesRefusesAndReportsOnlyWhenBothDo) {
  struct Case {
    const char* what;
    bool machineWritable, userWritable;
    Log log;
  };
  const Log asked = {L"usage", L"ask: 是否设置为开机自动运行?", L"help timer"};
  const Case cases[] = {
      {"machine closed: the user's key, no message", false, true, asked},
      {"both closed: the error, and the help window still comes", false, false,
       {L"usage", L"ask: 是否设置为开机自动运行?", L"error: Failed to set data for 'pimblorun'", L"help timer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFiles files;
    FakeKeys keys;
    keys.machine.canOpen = c.machineWritable;
    keys.user.canOpen = c.userWritable;
    FakeShell shell;
    EXPECT_TRUE(RunFirstStart(files, keys.keys(), shell, kExe, kMarkerPath));
    EXPECT_EQ(shell.log, c.log);
    EXPECT_TRUE(keys.machine.values.empty());
    EXPECT_EQ(keys.user.values, c.userWritable ? kHeld : Values{});
    EXPECT_EQ(keys.machine.closes, 1);
    EXPECT_EQ(keys.user.closes, 1);
  }
}

}  // namespace
}  // namespace pimblo
