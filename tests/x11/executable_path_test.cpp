// The program's own path, as start with the session writes it.
#include <gtest/gtest.h>

#include <filesystem>

#include "x11/executable_path.h"
#include "x11/text.h"

namespace pimblo::x11 {
namespace {

TEST(ExecutablePath, ThisTestProgram) {
  const std::wstring path = ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), L'/');
  EXPECT_TRUE(std::filesystem::equivalent(ToUtf8(path), "/proc/self/exe"));
}

TEST(LivePath, WithoutTheMarkOfAReplacedFile) {
  const std::pair<std::string, std::string> cases[] = {
      {"/usr/bin/pimblo", "/usr/bin/pimblo"},
      {"/usr/bin/pimblo (deleted)", "/usr/bin/pimblo"},
      {" (deleted)", " (deleted)"},
  };
  for (const auto& [link, path] : cases) EXPECT_EQ(LivePath(link), path);
}

}  // namespace
}  // namespace pimblo::x11
