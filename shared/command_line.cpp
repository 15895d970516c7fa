#include "command_line.h"

#include <algorithm>

namespace korval {

std::string QuoteProgramPart(const std::string& line, std::size_t programLength) {
  const std::size_t end = std::min(programLength, line.size());
  if (line.find_first_of(" \t") >= end) return line;
  return "\"" + line.substr(0, end) + "\"" + line.substr(end);
}

}  // namespace korval
