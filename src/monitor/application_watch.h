// The application watch: on every tick each running process that is not yet settled is examined once more
// (up to 10 re-checks): known dialer, suspicious file, or a new program that loaded a library through which
// it can dial, and each verdict gets the reaction its setting chooses unless the program is allowed.
#pragma once

#include "monitor/decision_settings.h"
#include "shared/ini_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vur::monitor {

struct ProcessEntry {
    std::uint32_t id;
    std::string imageName; // as the process list reports it
};

struct ModuleEntry {
    std::string name; // "RASAPI32.dll"
    std::string path; // full path
};

// A process kept open from its examination to the reaction: a termination, even one the user orders minutes
// later, can only reach the process that was examined, whatever program the system has given its id since.
class HeldProcess {
public:
    explicit HeldProcess(std::uint32_t processId) : id(processId) {}
    virtual ~HeldProcess() = default;
    const std::uint32_t id;
};

// Seam: everything the watch asks of the system, the engines and the user.
class ApplicationSystem {
public:
    virtual ~ApplicationSystem() = default;
    // False when no snapshot could be taken.
    virtual bool Processes(std::vector<ProcessEntry>& processes) = 0;
    // The process's modules, first module first; false when they cannot be read.
    virtual bool Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) = 0;
    virtual bool IsWindowsNT() = 0;
    virtual std::uint32_t CurrentProcessId() = 0;
    virtual std::string ExpandLongPath(const std::string& path) = 0;
    virtual std::uint32_t FileChecksum(const std::string& path) = 0;
    // False when the engine or its entry point is missing: that check is then skipped.
    virtual bool CanScan() = 0;
    virtual std::string ScanDialers(const std::string& path) = 0;
    virtual bool CanCheckHeuristically() = 0;
    virtual std::string CheckHeuristically(const std::string& path) = 0;
    // A modal question with the buttons Yes and No; returns the button pressed.
    virtual int Ask(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // Opens the process before its modules are read; never null, also when the system refuses the handle.
    virtual std::unique_ptr<HeldProcess> Hold(std::uint32_t processId) = 0;
    // Ends the held process and returns once it has ended, or after a second at most; failures are ignored.
    virtual void Terminate(HeldProcess& process) = 0;
    // False while as many questions are open as the monitor shows at once (each open box nests the checks
    // that run meanwhile); a reaction that starts with a question then waits for a later tick.
    virtual bool CanAsk() = 0;
    virtual void Isolate(const std::string& path, const std::string& reason) = 0;
    // A failed isolation, a damaged settings entry; the watch goes on with the next process.
    virtual void ReportError(const std::string& message) = 0;
};

class ApplicationWatch {
public:
    static constexpr std::int32_t kRecheckCount = 10;

    ApplicationWatch(ApplicationSystem& system, vur::TCustomIniFile& settings);

    // CheckApplications: one pass over the process list.
    void CheckApplications();

    std::size_t RecordCount() const { return records_.size(); }

private:
    enum class Verdict { KnownDialer, Suspicious, NewApplication };

    struct RecordKey {
        std::uint32_t id;
        std::string imageName;
        bool operator==(const RecordKey& o) const { return id == o.id && imageName == o.imageName; }
    };
    struct RecordHash {
        std::size_t operator()(const RecordKey& k) const;
    };
    struct Record {
        std::int32_t recheckCount;
        std::uint64_t lastSeen;
        // Set while its reaction runs: a question is open, and the checks that run meanwhile (a box dispatches
        // the tick's timer) leave this process alone.
        bool reacting = false;
    };
    enum class Outcome { Unsettled, Settled, Deferred };

    Outcome Examine(const ProcessEntry& process, const RecordKey& key);
    bool ProgramPath(const ProcessEntry& process, const std::vector<ModuleEntry>& modules, bool modulesRead,
                     std::string& path);
    bool CanDial(const std::vector<ModuleEntry>& modules) const;
    bool IsAllowed(const std::string& path);
    void Allow(const std::string& path);
    // False when the reaction had to wait because no question can be opened now.
    bool React(Verdict verdict, HeldProcess& process, const std::string& path, const std::string& analysis);
    bool Asked(const std::string& text, const char* caption);
    void SetReacting(const RecordKey& key, bool reacting);

    ApplicationSystem& system_;
    vur::TCustomIniFile& settings_;
    DecisionSettings decisions_;
    std::unordered_map<RecordKey, Record, RecordHash> records_;
    std::uint64_t pass_ = 0;
};

} // namespace vur::monitor
