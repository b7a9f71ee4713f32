// Text as lines.
#include "shared/text_lines.h"

namespace vur {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t cut = end;
        if (cut > start && text[cut - 1] == '\r') --cut;
        lines.push_back(text.substr(start, cut - start));
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

} // namespace vur
