// The application watch's view of the running system: the process and module lists, the engines, message boxes
// owned by the main window, terminating processes and the quarantine store (Windows builds only).
#pragma once

#include "monitor/application_watch.h"
#include "monitor/monitor_engines_win32.h"
#include "monitor/process_lists.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace vur::monitor {

class Win32ApplicationSystem : public ApplicationSystem {
public:
    using Question = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;

    // Questions go to `ask` (the monitor's main window owns them and says through `canAsk` whether one more
    // may open), errors to `reportError`.
    Win32ApplicationSystem(const MonitorEngines& engines, std::string programFolder, Question ask,
                           std::function<bool()> canAsk, std::function<void(const std::string&)> reportError);

    // False when the system has neither ToolHelp32 nor PSAPI: the watch then sees no process.
    bool CanListProcesses() const { return lists_ != nullptr; }
    bool Processes(std::vector<ProcessEntry>& processes) override;
    bool Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) override;
    bool IsWindowsNT() override { return windowsNT_; }
    std::uint32_t CurrentProcessId() override { return GetCurrentProcessId(); }
    std::string ExpandLongPath(const std::string& path) override;
    std::uint32_t FileChecksum(const std::string& path) override;
    bool CanScan() override { return engines_.CanScan(); }
    std::string ScanDialers(const std::string& path) override { return engines_.ScanDialers(path); }
    bool CanCheckHeuristically() override { return engines_.CanCheckHeuristically(); }
    std::string CheckHeuristically(const std::string& path) override { return engines_.CheckHeuristically(path); }
    int Ask(const std::string& text, const std::string& caption, unsigned flags) override {
        return ask_(text, caption, flags);
    }
    std::unique_ptr<HeldProcess> Hold(std::uint32_t processId) override;
    void Terminate(HeldProcess& process) override;
    bool CanAsk() override { return canAsk_(); }
    void Isolate(const std::string& path, const std::string& reason) override;
    void ReportError(const std::string& message) override { reportError_(message); }

private:
    const MonitorEngines& engines_;
    std::string folder_;
    Question ask_;
    std::function<bool()> canAsk_;
    std::function<void(const std::string&)> reportError_;
    bool windowsNT_;
    std::unique_ptr<ProcessLists> lists_;
};

} // namespace vur::monitor
