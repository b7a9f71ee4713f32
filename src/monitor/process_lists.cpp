// The PSAPI process and module records.
#include "monitor/process_lists.h"

namespace vur::monitor {

namespace {

// System processes report native paths ("\??\C:\WINNT\system32\csrss.exe"); the watch needs DOS paths.
std::string DosPath(const std::string& path) {
    static const std::string kNativePrefix = "\\??\\";
    return path.compare(0, kNativePrefix.size(), kNativePrefix) == 0 ? path.substr(kNativePrefix.size()) : path;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

} // namespace

bool PsapiLists::Processes(std::vector<ProcessEntry>& processes) {
    std::vector<std::uint32_t> ids;
    std::uint32_t count = 0;
    for (std::uint32_t capacity = kFirstCapacity;; capacity *= 2) {
        ids.assign(capacity, 0);
        if (!calls_.ProcessIds(ids.data(), capacity, count)) return false;
        // A list that still fills the largest room is taken as it is.
        if (count < capacity || capacity >= kMostCapacity) break;
    }
    processes.clear();
    std::vector<std::string> first;
    for (std::uint32_t i = 0; i < count && i < ids.size(); ++i) {
        first.clear();
        const bool read = calls_.ModulePaths(ids[i], 1, first) && !first.empty();
        processes.push_back({ids[i], read ? FileName(DosPath(first.front())) : std::string()});
    }
    return true;
}

bool PsapiLists::Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) {
    std::vector<std::string> paths;
    if (!calls_.ModulePaths(processId, static_cast<std::size_t>(-1), paths) || paths.empty()) return false;
    modules.clear();
    for (const std::string& raw : paths) {
        const std::string path = DosPath(raw);
        modules.push_back({FileName(path), path});
    }
    return true;
}

} // namespace vur::monitor
