// Where a listed file goes.
#include "updater/update_names.h"

#include "shared/hex_text.h"
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
    return localPath + kTemporaryHead + LowerHex(sha512, 8) + kTemporaryTail;
}

namespace {

// Whether `lower` from `at` on is "update", hex digits (perhaps none) and ".tmp".
bool DownloadNameFrom(const std::string& lower, std::size_t at) {
    const std::size_t head = sizeof kTemporaryHead - 1, tail = sizeof kTemporaryTail - 1;
    if (at > lower.size() || lower.size() - at < head + tail || lower.compare(at, head, kTemporaryHead) != 0 ||
        lower.compare(lower.size() - tail, tail, kTemporaryTail) != 0)
        return false;
    for (std::size_t i = at + head; i < lower.size() - tail; ++i)
        if (HexDigitValue(lower[i]) < 0) return false;
    return true;
}

} // namespace

bool IsTemporaryName(const std::string& name) {
    // Hex digits hold no "u", "p" or "t", so only the last "update" can begin the download name.
    const std::string lower = LowerCp1252(name);
    const std::size_t at = lower.rfind(kTemporaryHead);
    return at != std::string::npos && DownloadNameFrom(lower, at);
}

bool IsTemporaryPathOf(const std::string& localPath, const std::string& path) {
    const std::string local = LowerCp1252(localPath), lower = LowerCp1252(path);
    return lower.compare(0, local.size(), local) == 0 && DownloadNameFrom(lower, local.size());
}

} // namespace vur::updater
