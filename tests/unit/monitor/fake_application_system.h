// A scripted system for the application watch: processes, modules, engine results, answers; every action
// the watch takes is logged in order ("ask D1", "terminate 42", "isolate 0190 Dialer", ...).
#pragma once

#include "application_watch.h"

#include <deque>
#include <functional>
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
    bool canAsk = true;
    // Runs inside every question, as the checks that a real box dispatches do.
    std::function<void()> onAsk;
    // The program each termination reached: the one held when it was examined.
    std::vector<std::string> terminatedPrograms;
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
        if (onAsk) onAsk();
        if (answers.empty()) return 7;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // A held process remembers the program that had its id when it was held.
    struct Held : vur::monitor::HeldProcess {
        Held(std::uint32_t processId, std::string file) : HeldProcess(processId), program(std::move(file)) {}
        std::string program;
    };
    std::unique_ptr<vur::monitor::HeldProcess> Hold(std::uint32_t id) override {
        const auto it = modules.find(id);
        return std::make_unique<Held>(id, it == modules.end() || it->second.empty() ? "" : it->second.front().path);
    }
    void Terminate(vur::monitor::HeldProcess& process) override {
        log.push_back("terminate " + std::to_string(process.id));
        terminatedPrograms.push_back(static_cast<Held&>(process).program);
    }
    bool CanAsk() override { return canAsk; }
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
