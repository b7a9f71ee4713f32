// ToolHelp32 snapshots, and the choice of the source.
#include "monitor/process_lists_win32.h"

#include "shared/handles_win32.h"

#include <cstring>

namespace vur::monitor {

namespace {

class Win32PsapiLists : public ProcessLists {
public:
    explicit Win32PsapiLists(const Psapi& psapi) : calls_(psapi), lists_(calls_) {}

    bool Processes(std::vector<ProcessEntry>& processes) override { return lists_.Processes(processes); }
    bool Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) override {
        return lists_.Modules(processId, modules);
    }

private:
    Win32PsapiCalls calls_;
    PsapiLists lists_;
};

// Every entry of a ToolHelp32 snapshot, in the snapshot's order; false when no snapshot was taken.
template <typename Entry, typename Record, typename Make>
bool Walk(HANDLE taken, BOOL(WINAPI* first)(HANDLE, Entry*), BOOL(WINAPI* next)(HANDLE, Entry*),
          std::vector<Record>& records, Make make) {
    vur::ScopedFile snapshot(taken);
    if (!snapshot) return false;
    Entry entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    records.clear();
    for (BOOL more = first(snapshot.Get(), &entry); more; more = next(snapshot.Get(), &entry))
        records.push_back(make(entry));
    return true;
}

} // namespace

bool ToolHelpLists::Processes(std::vector<ProcessEntry>& processes) {
    return Walk(toolHelp_.createSnapshot(TH32CS_SNAPPROCESS, 0), toolHelp_.processFirst, toolHelp_.processNext,
                processes, [](const PROCESSENTRY32& e) { return ProcessEntry{e.th32ProcessID, e.szExeFile}; });
}

bool ToolHelpLists::Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) {
    return Walk(toolHelp_.createSnapshot(TH32CS_SNAPMODULE, processId), toolHelp_.moduleFirst, toolHelp_.moduleNext,
                modules, [](const MODULEENTRY32& e) { return ModuleEntry{e.szModule, e.szExePath}; }) &&
           !modules.empty();
}

std::unique_ptr<ProcessLists> MakeProcessLists(const ToolHelp& toolHelp, const Psapi& psapi) {
    if (toolHelp.Available()) return std::make_unique<ToolHelpLists>(toolHelp);
    if (psapi.Available()) return std::make_unique<Win32PsapiLists>(psapi);
    return nullptr;
}

} // namespace vur::monitor
