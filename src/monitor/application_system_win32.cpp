// Win32ApplicationSystem.
#include "application_system_win32.h"

#include "shared/crc.h"
#include "shared/long_path.h"
#include "shared/quarantine.h"
#include "shared/win32_handles.h"
#include "shared/winfuncs.h"
#include "toolhelp_win32.h"

#include <cstring>

namespace vurmon {

Win32ApplicationSystem::Win32ApplicationSystem(const MonitorEngines& engines, std::string programFolder,
                                               Question ask, std::function<void(const std::string&)> reportError)
    : engines_(engines), folder_(std::move(programFolder)), ask_(std::move(ask)), reportError_(std::move(reportError)),
      windowsNT_(vur::IsWindowsNT()) {}

bool Win32ApplicationSystem::Processes(std::vector<ProcessEntry>& processes) {
    const ToolHelp& th = BoundToolHelp();
    if (!th.Available()) return false;
    vur::ScopedFile snapshot(th.createSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    processes.clear();
    for (BOOL more = th.processFirst(snapshot.Get(), &entry); more; more = th.processNext(snapshot.Get(), &entry))
        processes.push_back({entry.th32ProcessID, entry.szExeFile});
    return true;
}

bool Win32ApplicationSystem::Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) {
    const ToolHelp& th = BoundToolHelp();
    if (!th.Available()) return false;
    vur::ScopedFile snapshot(th.createSnapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return false;
    MODULEENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    modules.clear();
    for (BOOL more = th.moduleFirst(snapshot.Get(), &entry); more; more = th.moduleNext(snapshot.Get(), &entry))
        modules.push_back({entry.szModule, entry.szExePath});
    return !modules.empty();
}

std::string Win32ApplicationSystem::ExpandLongPath(const std::string& path) { return vur::ExpandLongPath(path); }

std::uint32_t Win32ApplicationSystem::FileChecksum(const std::string& path) { return vur::FileCRC32(path); }

void Win32ApplicationSystem::Terminate(std::uint32_t processId) {
    vur::ScopedHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process) TerminateProcess(process.Get(), 0);
}

void Win32ApplicationSystem::Isolate(const std::string& path, const std::string& reason) {
    vur::IsolateFile(path, reason, folder_, vur::SystemQuarantine());
}

} // namespace vurmon
