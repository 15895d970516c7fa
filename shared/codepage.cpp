#include "codepage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korval {

namespace {

unsigned g_codePage = 0;  // 0: the system's

#ifndef _WIN32
// The lead bytes of the double-byte code pages.
bool IsLeadByteOf(unsigned codePage, unsigned char byte) {
  switch (codePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}
#endif

// Calls `at` with the offset of each character of `text` in turn until it returns true; gives that offset,
// or npos. A lead byte at the end of the text is a character of its own.
template <typename At>
std::size_t WalkCharacters(std::string_view text, At at) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    if (at(i, length)) return i;
    i += length;
  }
  return std::string_view::npos;
}

}  // namespace

bool IsLeadByte(unsigned char byte) {
#ifdef _WIN32
  return IsDBCSLeadByteEx(g_codePage ? g_codePage : CP_ACP, byte) != FALSE;
#else
  return IsLeadByteOf(g_codePage, byte);
#endif
}

void UseCodePage(unsigned codePage) { g_codePage = codePage; }

std::size_t FindCharacter(std::string_view text, char c) {
  return WalkCharacters(text, [&](std::size_t i, std::size_t length) { return length == 1 && text[i] == c; });
}

bool EndsWithCharacter(std::string_view text, char c) {
  const std::size_t last =
      WalkCharacters(text, [&](std::size_t i, std::size_t length) { return i + length == text.size(); });
  return last != std::string_view::npos && text.size() - last == 1 && text[last] == c;
}

}  // namespace korval
