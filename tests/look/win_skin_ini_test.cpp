// The skin description parser: lines, sections, keys and the three kinds of values.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "look/win_skin_ini.h"

namespace pimblo::test {
namespace {

// Every kind of line end, blanks, comments, a lower-case header, a repeated section and key.
const std::string kDescription =
    "; written by hand\r\n  [colours]  \r\nMenuBar = 59 97 131\nButtonFace=213 222 242\r\r\n  ;ButtonText=1 2 3\r\n"
    "Empty=\r\nTwice=first\r\nTwice=second\r\nNoEquals\r\nUrl = a=b \r\n[ Spaced ]\r\nKey=spaced\r\n"
    "[Colours]\r\nLater=never read\r\n[Last]\r\nEmpty2=\r\nEmpty2=second\r\nTail=End";

// "K7" and the like; built by appending, which g++ 12 checks without false alarms.
std::string Key(const char* prefix, std::size_t i) { return std::string(prefix).append(std::to_string(i)); }

TQuickIni Loaded(const std::string& text) {
  TQuickIni ini;
  ini.Load(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  return ini;
}

TEST(QuickIni, ReadsStringsByCaseRules) {
  const TQuickIni ini = Loaded(std::string(kDescription).append(1, '\0').append("\r\n[Hidden]\r\nKey=x\r\n"));
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Colours", "menuBar", "59 97 131"},  // header in lower case, key in another case
      {"COLOURS", "buttonface", "213 222 242"},
      {"Colours", "ButtonText", "def"},  // commented out
      {"Colours", "Empty", "def"},       // empty value
      {"Colours", "Twice", "first"},
      {"Colours", "Url", "a=b"},  // split at the first "=", trimmed
      {"Colours", "NoEquals", "def"},
      {"Colours", "Later", "def"},  // only the first [Colours] is searched
      {"Colours", "Key", "def"},    // the next section ends the search
      {"Spaced", "Key", "def"},     // "[ Spaced ]" is not "[Spaced]"
      {" Spaced ", "key", "spaced"},
      {"Last", "Empty2", "def"},  // the first line of a key decides, even when empty
      {"Last", "Tail", "End"},
      {"Hidden", "Key", "def"},  // after the NUL
      {"Missing", "Key", "def"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "def"), c.expected) << c.section << "/" << c.key;
  }
}

// One section [Values] holding K0, K1, ... with the values of `cases`.
template <typename Cases>
TQuickIni ValuesSection(const Cases& cases) {
  std::string text = "[Values]\r\n";
  for (std::size_t i = 0; i < std::size(cases); ++i)
    text.append(Key("K", i)).append("=").append(cases[i].value).append("\n");
  return Loaded(text);
}

TEST(QuickIni, ReadsIntegersInDecimalAndHex) {
  const struct {
    const char* value;
    std::int32_t expected;
  } cases[] = {
      {"31", 31},      {"0x1F", 31},    {"0X1f", 31}, {"$1F", 31},    {"-$1F", -31},         {"+7", 7},
      {"-5", -5},      {"007", 7},      {"0x", -99},  {"$", -99},     {"-", -99},            {"12abc", -99},
      {"0x1G", -99},   {"1 2", -99},    {"", -99},    {"-0x1F", -99}, {"$FFFFFFFF", -1},     {"$100000000", -99},
      {"2147483647", 2147483647},       {"2147483648", -99},          {"-2147483648", -2147483647 - 1},
      {"0x80000000", -2147483647 - 1},
  };
  const TQuickIni ini = ValuesSection(cases);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ini.ReadInteger("values", Key("k", i), -99), cases[i].expected) << cases[i].value;
  }
}

TEST(QuickIni, ReadsColourTriples) {
  const std::uint32_t kDefault = 0x8000000F;  // a system colour, passed through
  const struct {
    const char* value;
    std::uint32_t expected;
  } cases[] = {
      {"59 97 131", RgbColor(59, 97, 131)}, {"213,222;242", RgbColor(213, 222, 242)}, {"r=1 g=2", RgbColor(1, 2, 0)},
      {"300 256 -1", RgbColor(44, 0, 1)},   {"1 2 3 4", RgbColor(1, 2, 3)},           {"none", RgbColor(0, 0, 0)},
      {"1000000000000000000000 9", RgbColor(0, 9, 0)},  // modulo 256, not clamped
      {"", kDefault},
  };
  const TQuickIni ini = ValuesSection(cases);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ini.ReadColor("Values", Key("K", i), kDefault), cases[i].expected) << cases[i].value;
  }
  EXPECT_EQ(ini.ReadColor("Values", "Missing", kDefault), kDefault);
}

TEST(QuickIni, ListsSectionsAndInsistsOnAList) {
  TQuickIni ini = Loaded(kDescription);
  std::vector<std::string> sections = {"stale"};
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"colours", "Spaced", "Colours", "Last"}));

  try {
    ini.ReadSections(nullptr);
    ADD_FAILURE() << "no error for a missing list";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "The parameter Strings is unassigned!");
  }

  // Loading again replaces everything.
  ini.Load(std::string_view("[Only]\nA=1"));
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, std::vector<std::string>{"Only"});
  EXPECT_EQ(ini.ReadString("Colours", "MenuBar", "gone"), "gone");
}

}  // namespace
}  // namespace pimblo::test
