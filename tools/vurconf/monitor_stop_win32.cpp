// The monitor hosts of the running system: ToolHelp32 or PSAPI lists, and the process calls.
#include "monitor_stop.h"

#include <windows.h>

#include "monitor/process_lists_win32.h"
#include "shared/monitor_signals.h"
#include "shared/long_path.h"
#include "shared/handles_win32.h"

namespace vurconf {

namespace {

struct QuitRequest {
    DWORD processId;
    bool posted;
};

BOOL CALLBACK PostQuitToThread(HWND window, LPARAM data) {
    auto* request = reinterpret_cast<QuitRequest*>(data);
    DWORD processId = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &processId);
    if (processId == request->processId && PostThreadMessageA(thread, WM_QUIT, 0, 0)) request->posted = true;
    return TRUE;
}

class Win32MonitorHosts : public MonitorHosts {
public:
    vur::monitor::ProcessLists* Lists() override {
        if (!lists_) lists_ = vur::monitor::MakeProcessLists(vur::monitor::BoundToolHelp(), vur::monitor::BoundPsapi());
        return lists_.get();
    }

    std::uint32_t OwnProcessId() override { return GetCurrentProcessId(); }

    std::string LongPath(const std::string& path) override { return vur::ExpandLongPath(path); }

    void MarkDeliberateStop() override {
        // Kept open until this tool ends, so that the mark outlives the processes that are ended.
        if (!ended_) ended_.Reset(CreateEventA(nullptr, TRUE, FALSE, vur::kMonitorEndedEventName));
        if (ended_) SetEvent(ended_.Get());
    }

    bool AskToQuit(std::uint32_t processId) override {
        QuitRequest request{processId, false};
        EnumWindows(PostQuitToThread, reinterpret_cast<LPARAM>(&request));
        return request.posted;
    }

    bool WaitForEnd(std::uint32_t processId, unsigned milliseconds) override {
        vur::ScopedHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
        if (!process) return GetLastError() == ERROR_INVALID_PARAMETER; // no such process any more
        return WaitForSingleObject(process.Get(), milliseconds) == WAIT_OBJECT_0;
    }

    bool Terminate(std::uint32_t processId) override {
        vur::ScopedHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
        return process && TerminateProcess(process.Get(), 1);
    }

private:
    std::unique_ptr<vur::monitor::ProcessLists> lists_;
    vur::ScopedHandle ended_;
};

} // namespace

MonitorHosts& SystemMonitorHosts() {
    static Win32MonitorHosts hosts;
    return hosts;
}

} // namespace vurconf
