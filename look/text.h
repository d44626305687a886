// ASCII case and blanks, as the skin's names and its description have them:
// only A to Z and a to z change case, and every character up to the space is
// blank. Bytes beyond ASCII are left as they are.
#pragma once

#include <string>
#include <string_view>

namespace pimblo {

char ToLower(char c);
char ToUpper(char c);
std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);

// Without the blanks at either end.
std::string_view Trim(std::string_view s);

// Equal but for case.
bool SameText(std::string_view a, std::string_view b);

}  // namespace pimblo
