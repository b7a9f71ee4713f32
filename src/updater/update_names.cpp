// Where a listed file goes.
#include "updater/update_names.h"

#include <cctype>

#include "shared/text_case.h"

namespace vur::updater {

std::string UpdateNameRefusalReason(const std::string& file) {
    const std::string reason = RefusalReason(file);
    if (!reason.empty()) return reason;
    if (file.find_first_of("=;[]") != std::string::npos)
        return "Der Dateiname enthält eines der Zeichen = ; [ ].";
    return std::string();
}

std::string LocalPath(const std::string& programFolder, const std::string& file) {
    std::string path = programFolder + file;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string TemporaryPath(const std::string& localPath, const unsigned char* sha512) {
    static const char kHex[] = "0123456789abcdef";
    std::string path = localPath + kTemporaryHead;
    for (int i = 0; i < 8; ++i) {
        path += kHex[sha512[i] >> 4];
        path += kHex[sha512[i] & 15];
    }
    return path + kTemporaryTail;
}

bool IsTemporaryName(const std::string& name) {
    const std::string lower = LowerCp1252(name);
    const std::size_t head = sizeof kTemporaryHead - 1, tail = sizeof kTemporaryTail - 1;
    if (lower.size() < head + tail || lower.compare(lower.size() - tail, tail, kTemporaryTail) != 0) return false;
    std::size_t end = lower.size() - tail;
    while (end > 0 && std::isxdigit(static_cast<unsigned char>(lower[end - 1]))) --end;
    // "update" ends in hex digits of its own ("...ate" has 'a' and 'e'): it must end where the hex run began
    // or inside it.
    for (std::size_t start = end; start <= lower.size() - tail; ++start)
        if (start >= head && lower.compare(start - head, head, kTemporaryHead) == 0) return true;
    return false;
}

bool IsTemporaryPathOf(const std::string& localPath, const std::string& path) {
    const std::string head = LowerCp1252(localPath + kTemporaryHead), lower = LowerCp1252(path);
    const std::size_t tail = sizeof kTemporaryTail - 1;
    if (lower.size() < head.size() + tail || lower.compare(0, head.size(), head) != 0 ||
        lower.compare(lower.size() - tail, tail, kTemporaryTail) != 0)
        return false;
    for (std::size_t i = head.size(); i < lower.size() - tail; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(lower[i]))) return false;
    return true;
}

} // namespace vur::updater
