// Where the user's configuration folder is, and the program's files under it.
#include <gtest/gtest.h>

#include "tests/x11/temp_home.h"
#include "x11/config_home.h"

namespace pimblo::x11 {
namespace {

TEST(ConfigHomeFrom, AnAbsoluteXdgConfigHomeElseHomesConfig) {
  struct Case {
    const char *xdg, *home;
    std::optional<std::string> folder;
  };
  const Case cases[] = {
      {"/x/conf", "/home/u", "/x/conf"},
      {nullptr, "/home/u", "/home/u/.config"},
      {"", "/home/u", "/home/u/.config"},
      {"conf", "/home/u", "/home/u/.config"},  // relative: ignored
      {nullptr, "/home/u/", "/home/u/.config"},
      {nullptr, "/", "/.config"},
      {"/x/conf", nullptr, "/x/conf"},
      {nullptr, nullptr, std::nullopt},
      {nullptr, "", std::nullopt},
      {"conf", "home", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + " " + (c.home ? c.home : "(unset)"));
    EXPECT_EQ(ConfigHomeFrom(c.xdg, c.home), c.folder);
  }
}

using ConfigHomeTest = TempHome;

TEST_F(ConfigHomeTest, FromTheEnvironment) {
  EXPECT_EQ(ConfigHome(), home_ + "/.config");
  setenv("XDG_CONFIG_HOME", "/elsewhere", 1);
  EXPECT_EQ(ConfigHome(), "/elsewhere");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(ConfigHome(), home_ + "/.config");
  // No HOME: the user database's home folder, which is absolute.
  unsetenv("HOME");
  const std::optional<std::string> fromDatabase = ConfigHome();
  if (fromDatabase) {
    EXPECT_EQ(fromDatabase->front(), '/');
  }
}

TEST(ConfigHome, TheProgramsFiles) {
  EXPECT_EQ(AutostartEntryPath("/c"), "/c/autostart/pimblo.desktop");
  EXPECT_EQ(FirstStartMarkerPath("/c"), "/c/pimblo/first-start");
}

}  // namespace
}  // namespace pimblo::x11
