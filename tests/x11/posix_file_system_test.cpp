// The first start's marker and the reading of a user's file, on the real file
// system in a temporary home.
#include <gtest/gtest.h>

#include "app/autostart.h"
#include "tests/x11/temp_home.h"
#include "x11/config_home.h"
#include "x11/posix_file_system.h"
#include "x11/text.h"
#include "x11/xdg_autostart.h"

namespace pimblo::x11 {
namespace {

using PosixFiles = TempHome;

TEST_F(PosixFiles, CreateNewFileMakesItsFoldersAndNeverOverwrites) {
  PosixFileSystem files;
  const std::wstring path = FromUtf8(home_ + "/a/b 宠物/file");
  EXPECT_FALSE(files.Exists(path));
  EXPECT_TRUE(files.CreateNewFile(path, "first"));
  EXPECT_TRUE(files.Exists(path));
  EXPECT_FALSE(files.CreateNewFile(path, "second"));
  EXPECT_EQ(FileText(home_ + "/a/b 宠物/file"), "first");
  // A file in the way of a folder.
  EXPECT_FALSE(files.CreateNewFile(FromUtf8(home_ + "/a/b 宠物/file/under"), "x"));
}

TEST_F(PosixFiles, ReadRefusesWhatIsLargerThanTheLimitOrNoFile) {
  WriteText(home_ + "/five", "12345");
  std::filesystem::create_directory(home_ + "/folder");
  PosixFileSystem files;
  struct Case {
    std::string name;
    std::size_t limit;
    bool read;
  };
  const Case cases[] = {
      {"five", 6, true}, {"five", 5, true}, {"five", 4, false}, {"missing", 9, false}, {"folder", 9, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " " + std::to_string(c.limit));
    const auto bytes = files.Read(FromUtf8(home_ + "/" + c.name), c.limit);
    EXPECT_EQ(bytes.has_value(), c.read);
    if (bytes) {
      EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "12345");
    }
  }
  // Larger than one read.
  const std::string big(200000, 'x');
  WriteText(home_ + "/big", big);
  EXPECT_EQ(files.Read(FromUtf8(home_ + "/big"), big.size())->size(), big.size());
}

struct Answers : Shell {
  std::vector<std::wstring> log;
  void SetMotion(bool) override {}
  void Inform(const std::wstring& t) override { log.push_back(L"inform: " + t); }
  void ShowUsage(const std::wstring&) override { log.push_back(L"usage"); }
  bool AskYesNo(const std::wstring&) override { return false; }
  void ShowError(const std::wstring& m) override { log.push_back(L"error: " + m); }
  void ArmHelpTimer() override { log.push_back(L"help timer"); }
};

TEST_F(PosixFiles, TheFirstStartsMarkerInTheConfigurationFolder) {
  PosixFileSystem files;
  NoMachineKey machine;
  XdgAutostartKey user(AutostartEntryPath(*ConfigHome()));
  const std::wstring marker = FromUtf8(FirstStartMarkerPath(*ConfigHome()));
  Answers first, second;
  EXPECT_TRUE(RunFirstStart(files, {machine, user}, first, L"/usr/bin/pimblo", marker));
  EXPECT_EQ(first.log, (std::vector<std::wstring>{L"usage", L"help timer"}));
  EXPECT_EQ(FileText(home_ + "/.config/pimblo/first-start"), std::string(kMarkerContents));
  EXPECT_FALSE(RunFirstStart(files, {machine, user}, second, L"/usr/bin/pimblo", marker));
  EXPECT_TRUE(second.log.empty());
}

TEST_F(PosixFiles, AMarkerThatCannotBeMadeIsTheFileError) {
  WriteText(home_ + "/.config/pimblo", "a file where the folder goes");
  PosixFileSystem files;
  NoMachineKey machine;
  XdgAutostartKey user(std::nullopt);
  const std::wstring marker = FromUtf8(FirstStartMarkerPath(home_ + "/.config"));
  Answers shell;
  EXPECT_TRUE(RunFirstStart(files, {machine, user}, shell, L"/usr/bin/pimblo", marker));
  EXPECT_EQ(shell.log.front(), L"error: Cannot create file " + marker);
}

}  // namespace
}  // namespace pimblo::x11
