// Win32ApplicationSystem.
#include "monitor/application_system_win32.h"

#include "monitor/process_lists_win32.h"
#include "shared/crc.h"
#include "shared/long_path.h"
#include "shared/quarantine.h"
#include "shared/handles_win32.h"
#include "shared/winfuncs.h"

namespace vur::monitor {

Win32ApplicationSystem::Win32ApplicationSystem(const MonitorEngines& engines, std::string programFolder,
                                               Question ask, std::function<void(const std::string&)> reportError)
    : engines_(engines), folder_(std::move(programFolder)), ask_(std::move(ask)), reportError_(std::move(reportError)),
      windowsNT_(vur::IsWindowsNT()), lists_(MakeProcessLists(BoundToolHelp(), BoundPsapi())) {}

bool Win32ApplicationSystem::Processes(std::vector<ProcessEntry>& processes) {
    return lists_ && lists_->Processes(processes);
}

bool Win32ApplicationSystem::Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) {
    return lists_ && lists_->Modules(processId, modules);
}

std::string Win32ApplicationSystem::ExpandLongPath(const std::string& path) { return vur::ExpandLongPath(path); }

std::uint32_t Win32ApplicationSystem::FileChecksum(const std::string& path) { return vur::FileCRC32(path); }

// TerminateProcess only starts a process's end. The questions that follow say it has ended, and an isolation
// needs the program file closed, so the watch waits for the end, up to this long.
constexpr DWORD kTerminateWaitMs = 1000;

void Win32ApplicationSystem::Terminate(std::uint32_t processId) {
    vur::ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) process.Reset(OpenProcess(PROCESS_TERMINATE, FALSE, processId)); // cannot wait, still ends it
    if (process && TerminateProcess(process.Get(), 0)) WaitForSingleObject(process.Get(), kTerminateWaitMs);
}

void Win32ApplicationSystem::Isolate(const std::string& path, const std::string& reason) {
    vur::IsolateFile(path, reason, folder_, vur::SystemQuarantine());
}

} // namespace vur::monitor
