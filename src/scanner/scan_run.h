// One scan run: walks a folder tree or every drive, hands each file to the engines, reports and isolates the
// hits as the options say, names every file it could not check, and ends with the four counts. Runs inside
// the "Scannen" click handler; the host keeps the window alive at the points named below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scanner/scan_host.h"

namespace vur::scanner {

struct ScanCounts {
    std::int32_t files = 0; // read by the engines
    std::int32_t dialers = 0;
    std::int32_t suspicious = 0;
    std::int32_t unchecked = 0; // files that could not be read, each with its report line
};

class ScanRun {
public:
    explicit ScanRun(ScanHost& host) : host_(host) {}

    // The whole run, from the controls' running state back to idle with the summary. Does nothing when no
    // folder is selected. The controls are idle again however the run ends.
    void Start();
    const ScanCounts& Counts() const { return counts_; }

    // Every drive root ("C:\") that exists as a directory, in the system's order, without any system dialog
    // for a drive that is not ready.
    std::vector<std::string> ListDrives();

private:
    bool WalkFolder(std::string path, std::string longPath);
    void WalkEntry(const std::string& folder, const std::string& longFolder, const DirectoryEntry& entry,
                   bool signatureFolder);
    void CheckFile(std::string path, const std::string& folder, const DirectoryEntry& entry);
    bool ChildPath(const std::string& folder, const DirectoryEntry& entry, std::size_t reserve, std::string& path,
                   const char*& reason);
    void NotChecked(const char* what, const std::string& path, const std::string& reason);
    bool Skipped(const std::string& longFolder);
    bool Isolate(const std::string& path, const std::string& reason);
    void Summary();

    ScanHost& host_;
    ScanCounts counts_;
    ScanOptions options_;
    // The program's quarantine and signature folders, long form and lower case, taken at the start of the run.
    std::string quarantine_;
    std::string signatures_;
};

} // namespace vur::scanner
