// The scan run: drive list, depth-first walk with its skips, the per-file decision, the summary.
#include "scanner/scan_run.h"

#include <exception>

#include "scanner/scan_texts.h"
#include "shared/engine_api.h"
#include "shared/quarantine.h"
#include "shared/text_case.h"

namespace vur::scanner {

namespace {
// Messages are processed after every this many files, so that "Abbrechen" reaches a run inside a folder
// without hits, without paying for a message check per file.
constexpr std::int32_t kFilesPerMessageCheck = 100;
constexpr unsigned kDriveStringsCapacity = 255;

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

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
        quarantine_ = LowerCp1252(host_.ProgramFolder() + kQuarantineFolder);
        if (options_.allDrives) {
            host_.AddReportLine(texts::kScanAllDrives, kBlack);
            host_.AddReportLine("", kBlack);
            for (const std::string& root : ListDrives()) {
                if (!host_.MayContinue()) break;
                WalkFolder(root);
            }
        } else {
            // Taken once: changing the tree's selection during the run does not change what it scans.
            const std::string path = host_.SelectedFolderPath();
            host_.AddReportLine(texts::kScanFolder + path, kBlack);
            host_.AddReportLine("", kBlack);
            // A virtual folder has no path: its search finds nothing and the counts stay 0.
            if (!path.empty()) WalkFolder(path);
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

bool ScanRun::Skipped(const std::string& folder) {
    // The system restore folder directly below a drive root, and everything in it.
    if (folder.size() >= 12 && LowerCp1252(folder.substr(3, 9)) == "_restore\\") return true;
    // The scanner's own quarantine: its dialers are already isolated.
    return LowerCp1252(folder) == quarantine_;
}

void ScanRun::WalkFolder(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    if (Skipped(path)) return;
    host_.SetStatus(path);
    host_.ProcessMessages();

    std::unique_ptr<DirectorySearch> search = host_.FileSystem().Search(path + "*.*");
    if (!search) return; // no access, or gone: contributes nothing
    DirectoryEntry entry;
    while (search->Next(entry)) {
        if (!IsDotEntry(entry.name)) {
            if (entry.attributes & kAttributeDirectory) {
                // Junctions and other reparse points are not followed: one that points at an enclosing folder
                // would recurse without end.
                if (!(entry.attributes & kAttributeReparsePoint)) WalkFolder(path + entry.name);
            } else {
                CheckFile(path + entry.name);
            }
        }
        if (!host_.MayContinue()) break;
    }
}

bool ScanRun::Isolate(const std::string& path, const std::string& reason) {
    try {
        return host_.IsolateFile(path, reason);
    } catch (const std::exception&) {
        // The quarantine folder is missing or not writable: reported as a failed isolation, the run goes on.
        return false;
    }
}

void ScanRun::CheckFile(const std::string& path) {
    ++counts_.files;
    if (counts_.files % kFilesPerMessageCheck == 0) host_.ProcessMessages();

    const std::string dialer = host_.ScanDialers(path);
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
