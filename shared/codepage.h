#pragma once
// The characters of the text code page. In a double-byte code page (932, 936, 949, 950) a lead byte and the
// byte after it make one character, so a trail byte that happens to be "]" or "=" is never taken for one.
#include <cstddef>
#include <string_view>

namespace korval {

// Whether `byte` begins a double-byte character: in the system's ANSI code page on Windows, in a single-byte
// code page natively, or in the code page chosen by UseCodePage.
bool IsLeadByte(unsigned char byte);

// Makes IsLeadByte follow `codePage` in place of the system's (natively: 932, 936, 949 and 950 are
// double-byte, any other is single-byte); 0 goes back to the system's. For the tests.
void UseCodePage(unsigned codePage);

// The offset of the first character of `text` that is the single byte `c` (an ASCII character), or npos.
std::size_t FindCharacter(std::string_view text, char c);
// Whether the last character of `text` is the single byte `c`.
bool EndsWithCharacter(std::string_view text, char c);

}  // namespace korval
