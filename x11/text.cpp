#include "x11/text.h"

#include <utility>

namespace pimblo::x11 {

static_assert(sizeof(wchar_t) == 4, "the X11 layer takes wide strings for UTF-32");

namespace {
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLastCharacter = 0x10FFFF;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The character of the sequence at `at` and its length; the replacement and a
// length of one for a byte that starts no well-formed sequence.
std::pair<char32_t, std::size_t> DecodeOne(std::string_view s, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(s[at]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length;
  char32_t c;
  char32_t least;  // below it the sequence is overlong
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, least = 0x10000;
  } else {
    return {kReplacement, 1};
  }
  if (s.size() - at < length) return {kReplacement, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(s[at + i]);
    if (!IsContinuation(b)) return {kReplacement, 1};
    c = (c << 6) | (b & 0x3F);
  }
  if (c < least || c > kLastCharacter || IsSurrogate(c)) return {kReplacement, 1};
  return {c, length};
}
}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    char32_t c = static_cast<char32_t>(w);
    if (c > kLastCharacter || IsSurrogate(c)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto [c, length] = DecodeOne(text, at);
    out.push_back(static_cast<wchar_t>(c));
    at += length;
  }
  return out;
}

}  // namespace pimblo::x11
