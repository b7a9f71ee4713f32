// Path shortening for the status line.
#include "scanner/minimize_name.h"

#include <vector>

namespace vur::scanner {

std::string MinimizeName(const std::string& path, int maxWidth, const std::function<int(const std::string&)>& width) {
    if (width(path) <= maxWidth) return path;
    // Split into the drive ("C:", or "\\server\share" for a network path), the folders, and the last part,
    // which keeps a trailing backslash of its own.
    std::size_t driveEnd = 0;
    if (path.size() >= 2 && path[1] == ':') {
        driveEnd = 2;
    } else if (path.compare(0, 2, "\\\\") == 0) {
        const std::size_t share = path.find('\\', 2);
        driveEnd = share == std::string::npos ? path.size() : path.find('\\', share + 1);
        if (driveEnd == std::string::npos) driveEnd = path.size();
    }
    const std::string drive = path.substr(0, driveEnd);
    std::string rest = path.substr(driveEnd);
    const bool trailing = !rest.empty() && rest.back() == '\\';
    if (trailing) rest.pop_back();
    std::vector<std::string> parts;
    for (std::size_t at = 0; at <= rest.size();) {
        std::size_t next = rest.find('\\', at);
        if (next == std::string::npos) next = rest.size();
        if (next > at) parts.push_back(rest.substr(at, next - at));
        at = next + 1;
    }
    if (parts.empty()) return path;
    const std::string last = parts.back() + (trailing ? "\\" : "");
    parts.pop_back();
    if (parts.empty()) return path; // nothing between the drive and the last part to give way

    // Drop leading folders one at a time; then the drive.
    for (std::size_t dropped = 1; dropped <= parts.size(); ++dropped) {
        std::string candidate = drive + "\\...\\";
        for (std::size_t i = dropped; i < parts.size(); ++i) candidate += parts[i] + "\\";
        candidate += last;
        if (width(candidate) <= maxWidth) return candidate;
    }
    return "...\\" + last;
}

} // namespace vur::scanner
