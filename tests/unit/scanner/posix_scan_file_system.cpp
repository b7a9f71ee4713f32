// Directory searches over readdir, in name order so that the tests see one order on every machine.
#include "posix_scan_file_system.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace vurtest {

using vur::scanner::DirectoryEntry;

namespace {
class ListedSearch : public vur::scanner::DirectorySearch {
public:
    ListedSearch(std::vector<DirectoryEntry> entries, PosixScanFileSystem& fs) : entries_(std::move(entries)), fs_(fs) {
        fs_.maxSearchesOpen = std::max(fs_.maxSearchesOpen, ++fs_.searchesOpen);
    }
    ~ListedSearch() override { --fs_.searchesOpen; }
    bool Next(DirectoryEntry& entry) override {
        if (next_ >= entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }

private:
    std::vector<DirectoryEntry> entries_;
    std::size_t next_ = 0;
    PosixScanFileSystem& fs_;
};
} // namespace

namespace {
// Each component of a Windows path through `rename`, separators kept.
template <typename Rename>
std::string EachComponent(const std::string& path, Rename rename) {
    std::string result, part;
    for (char c : path + '\\') {
        if (c != '\\') {
            part += c;
            continue;
        }
        result += rename(part) + '\\';
        part.clear();
    }
    result.pop_back();
    return result;
}
} // namespace

std::string PosixScanFileSystem::LongPath(const std::string& path) {
    return EachComponent(path, [this](const std::string& part) {
        for (const auto& [real, alias] : shortNames)
            if (alias == part) return real;
        return part;
    });
}

std::string PosixScanFileSystem::ShortPath(const std::string& path) {
    return EachComponent(path, [this](const std::string& part) {
        const auto alias = shortNames.find(part);
        return alias == shortNames.end() ? part : alias->second;
    });
}

std::string PosixScanFileSystem::Local(const std::string& windowsPath) const {
    const std::string real = const_cast<PosixScanFileSystem*>(this)->LongPath(windowsPath);
    std::string local = root_ + "/" + real.substr(0, 1);
    for (char c : real.substr(2)) local += c == '\\' ? '/' : c;
    return local;
}

std::unique_ptr<vur::scanner::DirectorySearch> PosixScanFileSystem::Search(const std::string& pattern) {
    const std::string folder = Local(pattern.substr(0, pattern.size() - 3)); // without "*.*"
    DIR* dir = opendir(folder.c_str());
    if (!dir) return nullptr;
    std::vector<DirectoryEntry> entries;
    while (dirent* found = readdir(dir)) {
        const std::string real = found->d_name;
        DirectoryEntry entry{ansiNames.count(real) ? ansiNames[real] : real,
                             shortNames.count(real) ? shortNames[real] : "", 0x20};
        struct stat info {};
        const std::string local = folder + "/" + real;
        if (lstat(local.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            entry.attributes |= vur::scanner::kAttributeReparsePoint;
            stat(local.c_str(), &info);
        }
        if (S_ISDIR(info.st_mode)) entry.attributes = (entry.attributes & ~0x20u) | vur::scanner::kAttributeDirectory;
        entries.push_back(entry);
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return std::make_unique<ListedSearch>(std::move(entries), *this);
}

std::string PosixScanFileSystem::LogicalDriveStrings(unsigned capacity) {
    if (driveStringsFail) return std::string();
    std::string letters = extraDrives;
    if (DIR* dir = opendir(root_.c_str())) {
        while (dirent* found = readdir(dir))
            if (std::string(found->d_name).size() == 1 && found->d_name[0] != '.') letters += found->d_name;
        closedir(dir);
    }
    std::sort(letters.begin(), letters.end());
    std::string strings;
    for (char letter : letters) strings += std::string(1, letter) + ":\\" + '\0';
    return strings.size() > capacity ? std::string() : strings;
}

bool PosixScanFileSystem::DirectoryExists(const std::string& path) {
    struct stat info {};
    return stat(Local(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

unsigned PosixScanFileSystem::SilenceCriticalErrors() {
    ++silenced;
    const unsigned old = mode_;
    mode_ = 1;
    return old;
}

} // namespace vurtest
