// Between the core's wide strings (UTF-32 on Linux) and the UTF-8 of the
// system's file names, environment and desktop files.
#pragma once

#include <string>
#include <string_view>

namespace pimblo::x11 {

// The UTF-8 of wide text; a value that is no character (a surrogate, beyond
// U+10FFFF) becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

// The wide text of UTF-8; every byte of a sequence that is not well formed
// (cut short, overlong, a surrogate, beyond U+10FFFF) becomes U+FFFD.
std::wstring FromUtf8(std::string_view text);

}  // namespace pimblo::x11
