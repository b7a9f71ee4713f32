// The scan run: drive list, depth-first walk with its skips and its short-name fallbacks, the per-file
// decision, the not-checked lines, the summary.
#include "scanner/scan_run.h"

#include <exception>

#include "scanner/scan_texts.h"
#include "shared/engine_api.h"
#include "shared/quarantine.h"
#include "shared/relative_path.h"
#include "shared/signatures.h"
#include "shared/text_case.h"

namespace vur::scanner {

namespace {
// Messages are processed after every this many files, so that "Abbrechen" reaches a run inside a folder
// without hits, without paying for a message check per file.
constexpr std::int32_t kFilesPerMessageCheck = 100;
constexpr unsigned kDriveStringsCapacity = 255;
// The ANSI calls take paths shorter than this; a folder's search adds "\*.*" to its path.
constexpr std::size_t kMaxPath = 260;
constexpr std::size_t kSearchSuffix = 4;

// The Windows error codes the engine's read error is told by.
constexpr std::uint32_t kErrorFileNotFound = 2, kErrorPathNotFound = 3, kErrorAccessDenied = 5,
                        kErrorSharingViolation = 32, kErrorLockViolation = 33, kErrorFilenameTooLong = 206,
                        kErrorBadDevice = 1200;

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

bool EndsWithDat(const std::string& name) {
    return name.size() >= 4 && LowerCp1252(name.substr(name.size() - 4)) == ".dat";
}

std::string ReadErrorReason(std::uint32_t error) {
    switch (error) {
    case kErrorSharingViolation:
    case kErrorLockViolation: return texts::kReasonLocked;
    case kErrorAccessDenied: return texts::kReasonDenied;
    case kErrorFileNotFound:
    case kErrorPathNotFound: return texts::kReasonGone;
    case kErrorFilenameTooLong: return texts::kReasonTooLong;
    case kErrorBadDevice: return texts::kReasonDevice;
    default: return texts::kReasonReadError + std::to_string(error);
    }
}

// Puts the controls back to idle however the run ends, an exception included.
class RunningState {
public:
    explicit RunningState(ScanHost& host) : host_(host) { host_.SetRunning(true); }
    ~RunningState() { host_.SetRunning(false); }
    RunningState(const RunningState&) = delete;
    RunningState& operator=(const RunningState&) = delete;

private:
    ScanHost& host_;
};

// No system dialog for a drive without medium while the drives are listed; the old mode comes back however
// the listing ends.
class SilentCriticalErrors {
public:
    explicit SilentCriticalErrors(ScanFileSystem& fs) : fs_(fs), oldMode_(fs.SilenceCriticalErrors()) {}
    ~SilentCriticalErrors() { fs_.RestoreErrorMode(oldMode_); }
    SilentCriticalErrors(const SilentCriticalErrors&) = delete;
    SilentCriticalErrors& operator=(const SilentCriticalErrors&) = delete;

private:
    ScanFileSystem& fs_;
    unsigned oldMode_;
};
} // namespace

void ScanRun::Start() {
    if (!host_.HasSelectedFolder()) return;
    {
        RunningState running(host_);
        options_ = host_.Options();
        counts_ = ScanCounts{};
        // Compared in long form: the program folder may come in its 8.3 form (Windows 9x) and the walk's paths
        // are made of the long names the searches give.
        ScanFileSystem& fs = host_.FileSystem();
        const std::string programFolder = host_.ProgramFolder();
        quarantine_ = LowerCp1252(WithBackslash(fs.LongPath(programFolder + kQuarantineFolder)));
        signatures_ = LowerCp1252(WithBackslash(fs.LongPath(programFolder + kSignatureFolder)));
        if (options_.allDrives) {
            host_.AddReportLine(texts::kScanAllDrives, kBlack);
            host_.AddReportLine("", kBlack);
            for (const std::string& root : ListDrives()) {
                if (!host_.MayContinue()) break;
                WalkFolder(root, root);
            }
        } else {
            // Taken once: changing the tree's selection during the run does not change what it scans.
            const std::string path = host_.SelectedFolderPath();
            host_.AddReportLine(texts::kScanFolder + path, kBlack);
            host_.AddReportLine("", kBlack);
            // A virtual folder has no path: its search finds nothing and the counts stay 0.
            if (!path.empty()) WalkFolder(path, fs.LongPath(path));
        }
        Summary();
    }
    host_.ClearStatus();
    host_.AddReportLine("", kBlack);
}

void ScanRun::Summary() {
    host_.AddReportLine("", kBlack);
    host_.AddReportLine(texts::kFilesScanned + std::to_string(counts_.files), kBlack);
    host_.AddReportLine(texts::kDialersFound + std::to_string(counts_.dialers), kBlack);
    host_.AddReportLine(texts::kSuspiciousFiles + std::to_string(counts_.suspicious), kBlack);
    host_.AddReportLine(texts::kUncheckedFiles + std::to_string(counts_.unchecked), kBlack);
    host_.AddReportLine(texts::kRunFinished, kBlack);
}

std::vector<std::string> ScanRun::ListDrives() {
    ScanFileSystem& fs = host_.FileSystem();
    SilentCriticalErrors silent(fs);
    std::vector<std::string> roots;
    const std::string strings = fs.LogicalDriveStrings(kDriveStringsCapacity);
    // Entries such as "C:\" each end with a zero; the root is the first three characters.
    for (std::size_t at = 0; at < strings.size();) {
        std::size_t end = strings.find('\0', at);
        if (end == std::string::npos) end = strings.size();
        const std::string root = strings.substr(at, end - at).substr(0, 3);
        if (!root.empty() && fs.DirectoryExists(root)) roots.push_back(root);
        at = end + 1;
    }
    return roots;
}

bool ScanRun::Skipped(const std::string& longFolder) {
    // The system restore folder directly below a drive root, and everything in it.
    if (longFolder.size() >= 12 && LowerCp1252(longFolder.substr(3, 9)) == "_restore\\") return true;
    // The scanner's own quarantine: its dialers are already isolated.
    return LowerCp1252(longFolder) == quarantine_;
}

// `path` is how the system calls reach the folder, `longPath` the same folder by its long names, which may
// hold "?" for characters the code page lacks. False when the folder could not be listed.
bool ScanRun::WalkFolder(std::string path, std::string longPath) {
    path = WithBackslash(std::move(path));
    longPath = WithBackslash(std::move(longPath));
    if (Skipped(longPath)) return true;
    host_.SetStatus(path);
    host_.ProcessMessages();

    std::unique_ptr<DirectorySearch> search = host_.FileSystem().Search(path + "*.*");
    if (!search) return false; // no access, or gone: contributes nothing
    // The signature files themselves are not scanned: a pattern may well match text in another of them.
    const bool signatureFolder = LowerCp1252(longPath) == signatures_;
    DirectoryEntry entry;
    while (search->Next(entry)) {
        if (!IsDotEntry(entry.name)) WalkEntry(path, longPath, entry, signatureFolder);
        if (!host_.MayContinue()) break;
    }
    return true;
}

void ScanRun::WalkEntry(const std::string& folder, const std::string& longFolder, const DirectoryEntry& entry,
                        bool signatureFolder) {
    const bool isFolder = (entry.attributes & kAttributeDirectory) != 0;
    // Junctions and other reparse points are not followed: one that points at an enclosing folder would
    // recurse without end.
    if (isFolder && (entry.attributes & kAttributeReparsePoint)) return;
    if (!isFolder && signatureFolder && (EndsWithDat(entry.name) || EndsWithDat(entry.shortName))) return;

    std::string path;
    const char* reason = nullptr;
    if (!ChildPath(folder, entry, isFolder ? kSearchSuffix : 0, path, reason)) {
        if (!isFolder) ++counts_.unchecked;
        NotChecked(isFolder ? texts::kFolderNotChecked : texts::kFileNotChecked, folder + entry.name, reason);
        return;
    }
    if (!isFolder) {
        CheckFile(path, folder, entry);
        return;
    }
    const std::string longPath = longFolder + entry.name;
    // A best-fit mapping of the code page can give a name without "?" that exists nowhere: then the alias.
    if (!WalkFolder(path, longPath) && !entry.shortName.empty() && path == folder + entry.name &&
        (folder + entry.shortName).size() + kSearchSuffix < kMaxPath)
        WalkFolder(folder + entry.shortName, longPath);
}

// The path of `entry` below `folder` as the ANSI calls take it: its own name when that is whole and the path
// fits, else its short name, else that below the short form of the folder. `reserve`: characters the path
// must leave room for.
bool ScanRun::ChildPath(const std::string& folder, const DirectoryEntry& entry, std::size_t reserve,
                        std::string& path, const char*& reason) {
    // No file name holds "?": each one stands for a character the ANSI code page cannot hold.
    const bool whole = entry.name.find('?') == std::string::npos;
    if (whole && folder.size() + entry.name.size() + reserve < kMaxPath) {
        path = folder + entry.name;
        return true;
    }
    const std::string& name = entry.shortName.empty() && whole ? entry.name : entry.shortName;
    if (name.empty()) {
        reason = texts::kReasonNameNotRepresentable;
        return false;
    }
    if (folder.size() + name.size() + reserve < kMaxPath) {
        path = folder + name;
        return true;
    }
    const std::string shortFolder = WithBackslash(host_.FileSystem().ShortPath(folder));
    if (shortFolder.size() > 1 && shortFolder.size() + name.size() + reserve < kMaxPath) {
        path = shortFolder + name;
        return true;
    }
    reason = texts::kReasonTooLong;
    return false;
}

void ScanRun::NotChecked(const char* what, const std::string& path, const std::string& reason) {
    host_.AddReportLine(what + path + " (" + reason + ")", kDarkYellow);
}

bool ScanRun::Isolate(const std::string& path, const std::string& reason) {
    try {
        return host_.IsolateFile(path, reason);
    } catch (const std::exception&) {
        // The quarantine folder is missing or not writable: reported as a failed isolation, the run goes on.
        return false;
    }
}

void ScanRun::CheckFile(std::string path, const std::string& folder, const DirectoryEntry& entry) {
    ++counts_.files;
    if (counts_.files % kFilesPerMessageCheck == 0) host_.ProcessMessages();

    std::uint32_t error = 0;
    std::string dialer;
    // A device name opens the device, and reading COM1 can block for ever; a long name that is one ("con.text")
    // may still be reached through its alias.
    if (IsDeviceName(path.substr(path.rfind('\\') + 1))) {
        if (entry.shortName.empty() || IsDeviceName(entry.shortName)) error = kErrorBadDevice;
        else path = folder + entry.shortName;
    }
    if (error == 0) dialer = host_.ScanDialers(path, error);
    if ((error == kErrorFileNotFound || error == kErrorPathNotFound) && !entry.shortName.empty() &&
        path == folder + entry.name) {
        // A best-fit mapping of the code page can give a name without "?" that exists nowhere.
        path = folder + entry.shortName;
        dialer = host_.ScanDialers(path, error);
    }
    if (error != 0) {
        --counts_.files;
        ++counts_.unchecked;
        NotChecked(texts::kFileNotChecked, path, ReadErrorReason(error));
        return;
    }

    if (dialer != kEngineClean) {
        ++counts_.dialers;
        host_.AddReportLine(path + texts::kFound + dialer, kRed);
        if (!options_.reportOnly) {
            const bool isolate =
                options_.isolate || host_.Ask(texts::kAskDialerStart + path + texts::kAskDialerEnd);
            if (isolate) {
                if (Isolate(path, kReasonDialer)) host_.AddReportLine(texts::kDialerIsolated, kGreen);
                else host_.AddReportLine(texts::kDialerNotIsolated, kRed);
            }
        }
        host_.ProcessMessages();
        return;
    }

    if (!options_.heuristic) return;
    const std::string analysis = host_.CheckHeuristically(path);
    if (analysis.compare(0, 2, kEngineClean) == 0) return;
    host_.AddReportLine(path + texts::kSuspicious + analysis, kDarkYellow);
    if (!options_.reportOnly &&
        host_.Ask(texts::kAskSuspiciousStart + path + texts::kAskSuspiciousMiddle + analysis + texts::kAskSuspiciousEnd)) {
        if (Isolate(path, kReasonSuspiciousPrefix + analysis)) host_.AddReportLine(texts::kFileIsolated, kGreen);
        else host_.AddReportLine(texts::kFileNotIsolated, kRed);
    }
    ++counts_.suspicious;
    host_.ProcessMessages();
}

} // namespace vur::scanner
