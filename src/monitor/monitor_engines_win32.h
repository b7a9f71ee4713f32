// The monitor's binding of the two engines: loaded by full path from the program folder, entry points taken
// by name. A missing library or entry point is never called; the check it serves is skipped and the monitor
// tells the user once (Windows builds only).
#pragma once

#include "shared/engine_api.h"
#include "shared/handles_win32.h"

#include <string>
#include <vector>

namespace vur::monitor {

class MonitorEngines {
public:
    MonitorEngines() = default;
    // Frees the signature engine, then the heuristic engine.
    ~MonitorEngines();
    MonitorEngines(const MonitorEngines&) = delete;
    MonitorEngines& operator=(const MonitorEngines&) = delete;

    void Load(const std::string& programFolder);
    // Every "signaturen\*.dat"; counts are not kept.
    void LoadSignatures(const std::string& programFolder);

    bool CanScan() const { return scan_ != nullptr; }
    bool CanCheckHeuristically() const { return heuristic_ != nullptr; }
    std::string ScanDialers(const std::string& path) const { return vur::CallEngine(scan_, path); }
    std::string CheckHeuristically(const std::string& path) const { return vur::CallEngine(heuristic_, path); }

    // "vurscan.dll", "vurscan.dll: InitDialersDatabase" ...: what could not be bound, in load order.
    const std::vector<std::string>& Missing() const { return missing_; }

private:
    vur::ScopedModule heuristicLibrary_;
    vur::ScopedModule scanLibrary_;
    vur::ScanDialersFn scan_ = nullptr;
    vur::InitDialersDatabaseFn init_ = nullptr;
    vur::CheckHeuristicallyFn heuristic_ = nullptr;
    std::vector<std::string> missing_;
};

} // namespace vur::monitor
