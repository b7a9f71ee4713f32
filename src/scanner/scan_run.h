// One scan run: walks a folder tree or every drive, hands each file to the engines, reports and isolates the
// hits as the options say, and ends with the three counts. Runs inside the "Scannen" click handler; the host
// keeps the window alive at the points named below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scanner/scan_host.h"

namespace vur::scanner {

struct ScanCounts {
    std::int32_t files = 0;
    std::int32_t dialers = 0;
    std::int32_t suspicious = 0;
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
    void WalkFolder(std::string path);
    void CheckFile(const std::string& path);
    bool Skipped(const std::string& folder);
    bool Isolate(const std::string& path, const std::string& reason);
    void Summary();

    ScanHost& host_;
    ScanCounts counts_;
    ScanOptions options_;
    std::string quarantine_; // the quarantine folder, lower case, taken at the start of the run
};

} // namespace vur::scanner
