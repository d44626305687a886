// Wide text to UTF-8 and back, and what becomes of text that is not well formed.
#include <gtest/gtest.h>

#include "x11/text.h"

namespace pimblo::x11 {
namespace {

TEST(Utf8, RoundTripsEveryLength) {
  const std::pair<std::wstring, std::string> cases[] = {
      {L"", ""},
      {L"/usr/bin/pimblo", "/usr/bin/pimblo"},
      {L"caf\u00e9", "caf\xc3\xa9"},
      {L"/home/u/桌面宠物", "/home/u/\xe6\xa1\x8c\xe9\x9d\xa2\xe5\xae\xa0\xe7\x89\xa9"},
      {L"\U0001F431", "\xf0\x9f\x90\xb1"},
      {L"\u007f\u0080\u07ff\u0800\uffff\U00010000\U0010FFFF",
       "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},
  };
  for (const auto& [wide, utf8] : cases) {
    EXPECT_EQ(ToUtf8(wide), utf8);
    EXPECT_EQ(FromUtf8(utf8), wide);
  }
}

TEST(Utf8, IllFormedBytesBecomeTheReplacementEach) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"a\xff" "b", L"a\ufffdb"},                       // no lead byte
      {"\x80", L"\ufffd"},                              // a lone continuation
      {"\xe6\xa1", L"\ufffd\ufffd"},                    // cut short at the end
      {"\xe6\xa1x", L"\ufffd\ufffdx"},                  // cut short before another character
      {"\xc0\xaf", L"\ufffd\ufffd"},                    // overlong '/'
      {"\xed\xa0\x80", L"\ufffd\ufffd\ufffd"},          // a surrogate
      {"\xf4\x90\x80\x80", L"\ufffd\ufffd\ufffd\ufffd"},  // beyond U+10FFFF
  };
  for (const auto& [utf8, wide] : cases) EXPECT_EQ(FromUtf8(utf8), wide) << ::testing::PrintToString(utf8);
  EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)}),
            "\xef\xbf\xbd\xef\xbf\xbd");
}

}  // namespace
}  // namespace pimblo::x11
