// The scan run's file system over real temporary folders: drive "X:\" is the folder <root>/X, and a
// symbolic link is what a junction is on Windows, a reparse point. Names may be given aliases and ANSI forms.
#pragma once

#include "scanner/scan_host.h"

#include <map>
#include <string>

namespace vurtest {

class PosixScanFileSystem : public vur::scanner::ScanFileSystem {
public:
    explicit PosixScanFileSystem(std::string root) : root_(std::move(root)) {}

    // "C:\a\b\" -> <root>/C/a/b/
    std::string Local(const std::string& windowsPath) const;

    std::unique_ptr<vur::scanner::DirectorySearch> Search(const std::string& pattern) override;
    // The drive letters are the one-letter folders of the root plus `extraDrives` (drives without medium).
    std::string LogicalDriveStrings(unsigned capacity) override;
    bool DirectoryExists(const std::string& path) override;
    // Every component with an alias in `shortNames` in that form; LongPath the reverse.
    std::string ShortPath(const std::string& path) override;
    std::string LongPath(const std::string& path) override;
    unsigned SilenceCriticalErrors() override;
    void RestoreErrorMode(unsigned mode) override { mode_ = mode; }

    // Real name -> 8.3 alias, which the search reports and every path may use in its place.
    std::map<std::string, std::string> shortNames;
    // Real name -> the name as the ANSI calls give it ("?" for characters the code page lacks).
    std::map<std::string, std::string> ansiNames;
    std::string extraDrives;
    bool driveStringsFail = false;
    unsigned mode_ = 0;     // the error mode as the run left it
    int silenced = 0;       // times the critical errors were silenced
    int searchesOpen = 0;   // searches not yet closed
    int maxSearchesOpen = 0;

private:
    std::string root_;
};

} // namespace vurtest
