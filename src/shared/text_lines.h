// Text as lines, as the platform's line lists read and write it.
#pragma once

#include <string>
#include <vector>

namespace vur {

// Split at CR LF or LF; a final line break ends the last line, it starts no empty one.
std::vector<std::string> SplitLines(const std::string& text);

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace vur
