// A scripted system for the application watch: processes, modules, engine results, answers; every action
// the watch takes is logged in order ("ask D1", "terminate 42", "isolate 0190 Dialer", ...).
#pragma once

#include "application_watch.h"

#include <deque>
#include <map>
#include <stdexcept>

namespace vurtest {

class FakeApplicationSystem : public vur::monitor::ApplicationSystem {
public:
    std::vector<vur::monitor::ProcessEntry> processes;
    std::map<std::uint32_t, std::vector<vur::monitor::ModuleEntry>> modules;
    std::map<std::string, std::string> scanResults, heuristicResults, longPaths;
    std::map<std::string, std::uint32_t> checksums;
    bool nt = true, canScan = true, canHeuristic = true, isolationFails = false, isolationFailsOddly = false;
    std::uint32_t ownId = 1000;
    std::deque<int> answers; // IDYES 6 / IDNO 7; an empty queue answers No
    std::vector<std::string> log;
    int scans = 0;

    // A process whose first module is its program file, with the given further modules.
    void AddProcess(std::uint32_t id, const std::string& path, std::vector<std::string> extraModules = {}) {
        const std::string name = path.substr(path.rfind('\\') + 1);
        processes.push_back({id, nt ? name : path});
        auto& list = modules[id];
        list.push_back({name, path});
        for (const auto& m : extraModules) list.push_back({m, "C:\\WINDOWS\\SYSTEM\\" + m});
    }

    bool Processes(std::vector<vur::monitor::ProcessEntry>& out) override {
        out = processes;
        return true;
    }
    bool Modules(std::uint32_t id, std::vector<vur::monitor::ModuleEntry>& out) override {
        const auto it = modules.find(id);
        if (it == modules.end()) return false;
        out = it->second;
        return true;
    }
    bool IsWindowsNT() override { return nt; }
    std::uint32_t CurrentProcessId() override { return ownId; }
    std::string ExpandLongPath(const std::string& path) override {
        const auto it = longPaths.find(path);
        return it == longPaths.end() ? path : it->second;
    }
    std::uint32_t FileChecksum(const std::string& path) override {
        const auto it = checksums.find(path);
        return it == checksums.end() ? 0xFFFFFFFFu : it->second;
    }
    bool CanScan() override { return canScan; }
    std::string ScanDialers(const std::string& path) override {
        ++scans;
        const auto it = scanResults.find(path);
        return it == scanResults.end() ? "OK" : it->second;
    }
    bool CanCheckHeuristically() override { return canHeuristic; }
    std::string CheckHeuristically(const std::string& path) override {
        const auto it = heuristicResults.find(path);
        return it == heuristicResults.end() ? "OK" : it->second;
    }
    int Ask(const std::string& text, const std::string& caption, unsigned flags) override {
        lastText = text;
        lastFlags = flags;
        log.push_back("ask " + caption);
        if (answers.empty()) return 7;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Terminate(std::uint32_t id) override { log.push_back("terminate " + std::to_string(id)); }
    void Isolate(const std::string& path, const std::string& reason) override {
        if (isolationFails) throw std::runtime_error("Quarantine: cannot create x");
        if (isolationFailsOddly) throw 42; // not a std::exception
        log.push_back("isolate " + path + " " + reason);
    }
    void ReportError(const std::string& message) override { log.push_back("error " + message); }

    std::string lastText;
    unsigned lastFlags = 0;
};

} // namespace vurtest
