// Start with the session through the user's autostart entry: the entry the
// menu's commands write and remove, read back as a session would read it.
#include <gtest/gtest.h>

#include "app/autostart.h"
#include "tests/x11/temp_home.h"
#include "x11/config_home.h"
#include "x11/text.h"
#include "x11/xdg_autostart.h"

namespace pimblo::x11 {
namespace {

// A string value without its escapes; none when it has one that is no escape.
std::optional<std::string> ReadString(std::string_view value) {
  std::string unescaped;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      unescaped += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    const std::string_view from = "sntr\\", to = " \n\t\r\\";
    const auto at = from.find(value[i]);
    if (at == std::string_view::npos) return std::nullopt;
    unescaped += to[at];
  }
  return unescaped;
}

// The program's arguments in an Exec value, read by the desktop entry rules
// on their own: the string escapes first, then the quoting, then %%. None
// when the value breaks a rule.
std::optional<std::vector<std::string>> ReadExec(std::string_view value) {
  const std::optional<std::string> string = ReadString(value);
  if (!string) return std::nullopt;
  const std::string& unescaped = *string;
  std::vector<std::string> args;
  for (std::size_t i = 0; i < unescaped.size();) {
    if (unescaped[i] == ' ') {
      ++i;
      continue;
    }
    std::string arg;
    if (unescaped[i] == '"') {
      for (++i;; ++i) {
        if (i == unescaped.size()) return std::nullopt;
        if (unescaped[i] == '"') break;
        if (unescaped[i] == '\\') {
          if (++i == unescaped.size() || std::string_view("\"`$\\").find(unescaped[i]) == std::string_view::npos)
            return std::nullopt;
        } else if (std::string_view("`$").find(unescaped[i]) != std::string_view::npos) {
          return std::nullopt;  // must be escaped inside quotes
        }
        arg += unescaped[i];
      }
      ++i;
    } else {
      for (; i < unescaped.size() && unescaped[i] != ' '; ++i) arg += unescaped[i];
    }
    std::string literal;
    for (std::size_t j = 0; j < arg.size(); ++j) {
      if (arg[j] == '%' && (++j == arg.size() || arg[j] != '%')) return std::nullopt;  // a field code
      literal += arg[j];
    }
    args.push_back(literal);
  }
  return args;
}

// The value of `key` in the [Desktop Entry] group of an entry's text.
std::optional<std::string> KeyOf(const std::string& entry, const std::string& key) {
  const std::string header = "[Desktop Entry]\n";
  if (entry.rfind(header, 0) != 0) return std::nullopt;
  const auto at = entry.find("\n" + key + "=");
  if (at == std::string::npos) return std::nullopt;
  const auto start = at + key.size() + 2;
  return entry.substr(start, entry.find('\n', start) - start);
}

TEST(ExecValue, QuotesAndEscapesByTheRules) {
  const std::pair<std::string, std::string> cases[] = {
      {"/usr/bin/pimblo", R"("/usr/bin/pimblo")"},
      {"/opt/my pets/pimblo", R"("/opt/my pets/pimblo")"},
      {R"(/a"b)", R"("/a\\"b")"},
      {"/a`b", R"("/a\\`b")"},
      {"/a$HOME", R"("/a\\$HOME")"},
      {R"(/a\b)", R"("/a\\\\b")"},
      {"/100%/p", R"("/100%%/p")"},
      {"/a\nb", R"("/a\nb")"},
      {"/home/u/桌面/pimblo", "\"/home/u/桌面/pimblo\""},
  };
  for (const auto& [path, exec] : cases) EXPECT_EQ(ExecValue(path), exec) << path;
}

using XdgAutostart = TempHome;

// The keys as the Linux program gives them to the logic.
struct LinuxKeys {
  NoMachineKey machine;
  XdgAutostartKey user{AutostartEntryPath(*ConfigHome())};
  RunKeys keys() { return {machine, user}; }
};

struct QuietShell : Shell {
  std::vector<std::wstring> said;
  void SetMotion(bool) override {}
  void Inform(const std::wstring& t) override { said.push_back(t); }
  void ShowUsage(const std::wstring&) override {}
  bool AskYesNo(const std::wstring&) override { return true; }
  void ShowError(const std::wstring& m) override { said.push_back(m); }
  void ArmHelpTimer() override {}
};

TEST_F(XdgAutostart, TheMenuWritesAnEntryThatStartsThisVeryPath) {
  const std::string paths[] = {
      "/usr/bin/pimblo", "/opt/my pets/pimblo", R"(/tmp/it's "quoted"/pimblo)", "/tmp/$HOME`id`/pimblo",
      R"(/tmp/back\slash\\/pimblo)", "/tmp/100%/%f/pimblo", "/home/u/桌面宠物/pimblo", "/tmp/tab\there/pimblo",
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    LinuxKeys keys;
    QuietShell shell;
    EXPECT_EQ(SwitchAutostartOn(keys.keys(), shell, FromUtf8(path)), std::nullopt);
    const std::optional<std::string> entry = FileText(home_ + "/.config/autostart/pimblo.desktop");
    ASSERT_TRUE(entry);
    EXPECT_EQ(KeyOf(*entry, "Type"), "Application");
    EXPECT_EQ(KeyOf(*entry, "Name"), "Pimblo");
    const std::optional<std::string> exec = KeyOf(*entry, "Exec");
    ASSERT_TRUE(exec);
    EXPECT_EQ(ReadExec(*exec), std::vector<std::string>{path}) << *exec;
    const std::optional<std::string> tryExec = KeyOf(*entry, "TryExec");
    ASSERT_TRUE(tryExec);
    EXPECT_EQ(ReadString(*tryExec), path) << *tryExec;
    EXPECT_EQ(shell.said, std::vector<std::wstring>{L"开机自动运行设置成功!"});
  }
}

TEST_F(XdgAutostart, TheWholeEntry) {
  LinuxKeys keys;
  QuietShell shell;
  SwitchAutostartOn(keys.keys(), shell, L"/usr/bin/pimblo");
  EXPECT_EQ(FileText(home_ + "/.config/autostart/pimblo.desktop"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Pimblo\n"
            "Comment=A little pet that walks on the tops of your windows\n"
            "TryExec=/usr/bin/pimblo\n"
            "Exec=\"/usr/bin/pimblo\"\n"
            "Icon=pimblo\n"
            "Terminal=false\n");
}

TEST_F(XdgAutostart, OnAndOffTouchOnlyOurEntry) {
  const std::string folder = home_ + "/.config/autostart";
  WriteText(folder + "/other.desktop", "theirs");
  WriteText(folder + "/pimblo.desktop.bak", "theirs too");
  LinuxKeys keys;
  QuietShell shell;
  // Twice on: the second replaces the first whole, leaving no temporary file.
  SwitchAutostartOn(keys.keys(), shell, L"/old/pimblo");
  SwitchAutostartOn(keys.keys(), shell, L"/usr/bin/pimblo");
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"other.desktop", "pimblo.desktop", "pimblo.desktop.bak"}));
  EXPECT_EQ(KeyOf(*FileText(folder + "/pimblo.desktop"), "Exec"), "\"/usr/bin/pimblo\"");
  EXPECT_EQ(std::filesystem::status(folder + "/pimblo.desktop").permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0644));
  SwitchAutostartOff(keys.keys(), shell);
  SwitchAutostartOff(keys.keys(), shell);  // nothing left to remove: nothing said
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"other.desktop", "pimblo.desktop.bak"}));
  EXPECT_EQ(FileText(folder + "/other.desktop"), "theirs");
  EXPECT_EQ(shell.said, (std::vector<std::wstring>{L"开机自动运行设置成功!", L"开机自动运行设置成功!",
                                                    L"开机自动运行已取消!"}));
}

TEST_F(XdgAutostart, GoesUnderXdgConfigHomeMakingItsFolders) {
  const std::string config = home_ + "/deep/conf";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  LinuxKeys keys;
  QuietShell shell;
  SwitchAutostartOn(keys.keys(), shell, L"/usr/bin/pimblo");
  EXPECT_TRUE(FileText(config + "/autostart/pimblo.desktop"));
  EXPECT_FALSE(std::filesystem::exists(home_ + "/.config"));
  EXPECT_EQ(std::filesystem::status(config + "/autostart").permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0700));
}

TEST_F(XdgAutostart, NoFolderToWriteIsTheWriteError) {
  for (bool known : {true, false}) {
    // The configuration folder unknown, or a file where the autostart folder should be.
    WriteText(home_ + "/.config/autostart", "a file");
    NoMachineKey machine;
    XdgAutostartKey user(known ? std::optional(AutostartEntryPath(home_ + "/.config")) : std::nullopt);
    QuietShell shell;
    EXPECT_EQ(SwitchAutostartOn({machine, user}, shell, L"/usr/bin/pimblo"), RegistryWriteError());
    EXPECT_EQ(Names(home_ + "/.config"), std::vector<std::string>{"autostart"});
  }
}

}  // namespace
}  // namespace pimblo::x11
