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
                                               Question ask, std::function<bool()> canAsk,
                                               std::function<void(const std::string&)> reportError)
    : engines_(engines), folder_(std::move(programFolder)), ask_(std::move(ask)), canAsk_(std::move(canAsk)),
      reportError_(std::move(reportError)),
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

namespace {

class Win32HeldProcess : public HeldProcess {
public:
    Win32HeldProcess(std::uint32_t processId, HANDLE process, bool waitable)
        : HeldProcess(processId), handle(process), canWait(waitable) {}
    vur::ScopedHandle handle;
    const bool canWait;
};

} // namespace

std::unique_ptr<HeldProcess> Win32ApplicationSystem::Hold(std::uint32_t processId) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process) return std::make_unique<Win32HeldProcess>(processId, process, true);
    // Without the right to wait it can still be ended.
    return std::make_unique<Win32HeldProcess>(processId, OpenProcess(PROCESS_TERMINATE, FALSE, processId), false);
}

void Win32ApplicationSystem::Terminate(HeldProcess& process) {
    auto& held = static_cast<Win32HeldProcess&>(process);
    if (held.handle && TerminateProcess(held.handle.Get(), 0) && held.canWait)
        WaitForSingleObject(held.handle.Get(), kTerminateWaitMs);
}

void Win32ApplicationSystem::Isolate(const std::string& path, const std::string& reason) {
    vur::IsolateFile(path, reason, folder_, vur::SystemQuarantine());
}

} // namespace vur::monitor
