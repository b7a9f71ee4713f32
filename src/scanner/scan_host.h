// What a scan run needs from its surroundings: the window (report, question, status line, message processing,
// the cancel button, the options), the engines, the quarantine and the file system. The scanner window is
// the one real host; tests give fakes, so every rule of a run is checked without a window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vur::scanner {

// Report colours (RGB).
struct Colour {
    std::uint8_t red, green, blue;
    bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 128, 0};
constexpr Colour kDarkYellow{159, 159, 0};

// The options as the run reads them from the window's check boxes.
struct ScanOptions {
    bool allDrives = false;  // "Alle Laufwerke scannen"
    bool reportOnly = false; // "Dialer nur melden"
    bool isolate = false;    // "Gefundene Dialer automatisch isolieren"
    bool heuristic = false;  // "Heuristik während des Scans aktivieren"
};

// One entry of a directory search.
struct DirectoryEntry {
    std::string name;             // in the ANSI code page: "?" for each character it cannot hold
    std::string shortName;        // the 8.3 alias, empty when the name is one already or there is none
    std::uint32_t attributes = 0; // FILE_ATTRIBUTE_* bits
};
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;

// An open directory search; closing it is the destructor's business.
class DirectorySearch {
public:
    virtual ~DirectorySearch() = default;
    // The next entry in the order the system returns them; false when there is none left.
    virtual bool Next(DirectoryEntry& entry) = 0;
};

class ScanFileSystem {
public:
    virtual ~ScanFileSystem() = default;
    // Searches `pattern` (folder + "*.*") with every attribute; null when the folder cannot be listed.
    virtual std::unique_ptr<DirectorySearch> Search(const std::string& pattern) = 0;
    // The logical drive strings ("C:\", zero, "D:\", zero ...) read with a buffer of `capacity` characters;
    // empty when the call fails or the answer does not fit.
    virtual std::string LogicalDriveStrings(unsigned capacity) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // The path with every existing component in its short (8.3) form; empty when that cannot be had.
    virtual std::string ShortPath(const std::string& path) = 0;
    // The path with every existing component in its long form (ExpandLongPath).
    virtual std::string LongPath(const std::string& path) = 0;
    // Makes critical errors (a drive without medium) fail silently; returns the mode to restore.
    virtual unsigned SilenceCriticalErrors() = 0;
    virtual void RestoreErrorMode(unsigned mode) = 0;
};

class ScanHost {
public:
    virtual ~ScanHost() = default;

    virtual void AddReportLine(const std::string& text, Colour colour) = 0;
    // The status line: "Scanne <folder> ...", empty between runs.
    virtual void SetStatus(const std::string& folder) = 0;
    virtual void ClearStatus() = 0;
    // A modal Yes/No question; true only for Yes.
    virtual bool Ask(const std::string& text) = 0;
    virtual void ProcessMessages() = 0;

    // The run's controls: "Scannen", "Abbrechen" and the four option boxes. Running: Scannen and the options
    // disabled, Abbrechen enabled; idle: the reverse, with the isolate box following "Dialer nur melden".
    virtual void SetRunning(bool running) = 0;
    // True while "Abbrechen" is enabled: the run may go on.
    virtual bool MayContinue() = 0;
    virtual ScanOptions Options() = 0;
    // The file-system path of the folder selected in the tree; empty for a virtual folder.
    virtual bool HasSelectedFolder() = 0;
    virtual std::string SelectedFolderPath() = 0;

    // `readError`: 0 when the engine read the file, else the system's error code of the open or read that
    // failed (ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED ...); the result is then "OK" and means nothing.
    virtual std::string ScanDialers(const std::string& path, std::uint32_t& readError) = 0;
    virtual std::string CheckHeuristically(const std::string& path) = 0;
    // Moves the file into the quarantine folder; false when the move failed. May raise EVurError when the
    // description file cannot be written.
    virtual bool IsolateFile(const std::string& path, const std::string& reason) = 0;
    // The program folder with its trailing backslash.
    virtual std::string ProgramFolder() = 0;

    virtual ScanFileSystem& FileSystem() = 0;
};

} // namespace vur::scanner
