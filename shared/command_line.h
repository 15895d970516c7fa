#pragma once
// Command lines handed to the system to start a program.
#include <cstddef>
#include <string>

namespace korval {

// `line` with its first `programLength` characters (the program's path) put in quotes when they hold a blank
// or a tab: bare, "C:\Program Files\x.exe" would start C:\Program.exe when there is one. The rest of the
// line, the arguments, stays as it is; so does a line whose program part holds no blank.
std::string QuoteProgramPart(const std::string& line, std::size_t programLength);

}  // namespace korval
