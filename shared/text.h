#pragma once
// Text helpers shared by the settings and language file readers.
#include <string_view>
#include <vector>

namespace korval {

// Equal without regard to the case of the letters A to Z; other bytes compare as they are.
bool SameText(std::string_view a, std::string_view b);

// The lines of a text: CR LF, a lone CR and a lone LF each end a line; a final line end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace korval
