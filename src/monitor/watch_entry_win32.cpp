// watch.dll: the load-time code that lets exactly one process at a time run the monitor, and HookProc.
#include "monitor/main_form_win32.h"
#include "shared/caught_error.h"
#include "shared/module_path_win32.h"
#include "shared/monitor_signals.h"
#include "shared/text_case.h"
#include "shared/ui/application.h"
#include "monitor/texts.h"
#include "monitor/tray_form_win32.h"

#include <windows.h>

#include <string>

namespace {

// Process-wide state of the library, one set per process it is loaded into.
HMODULE g_library = nullptr;
UINT_PTR g_startupTimer = 0;
bool g_startupTimerStopped = false;
// Every process with the library holds a handle to the instance mutex; the one whose thread owns it runs the
// monitor. Ownership ends with the owning thread, however it ends: a monitor whose thread ends in a host that
// lives on leaves the mutex abandoned, and the next process that waits for it takes over.
HANDLE g_instanceMutex = nullptr;
vur::monitor::TForm1* g_trayForm = nullptr;
vur::monitor::TfMain* g_mainForm = nullptr;

// Set while the starter has been ended on purpose (see monitor_signals.h); held open for the life of the
// process, so that the state outlives the starter.
HANDLE g_monitorEnded = nullptr;

// A starter takes a free monitor over at its next tick. A program the hook brought the library into waits
// until the monitor has been free for a second, so that a waiting starter, which the user does not close,
// wins the race; it still takes over when none is left.
bool g_isStarter = false;
const int kHookedHostFreeTicks = 10;
int g_freeTicks = 0;
// Held by a process that has told the user of a failed start, so that the next one to fail stays silent.
const char kStartFailureTold[] = "VUR_START_FAILURE_TOLD";
HANDLE g_failureTold = nullptr;

void StartMonitor() {
    vur::ui::InitApplication(vur::monitor::texts::kCaption); // the caption of the general error box
    g_trayForm = new vur::monitor::TForm1(g_library);
    g_mainForm = new vur::monitor::TfMain(g_library);
}

void StopMonitor() {
    delete g_mainForm;
    g_mainForm = nullptr;
    delete g_trayForm; // takes its icon away
    g_trayForm = nullptr;
}

// Set by the copy of the library that runs the monitor in this process. The hook can bring the libraries of
// two program folders into one program, where they fetch messages on the same thread: as a mutex can be
// taken again by the thread that owns it, the second copy would start a second monitor without this mark.
const char kProcessMarkPrefix[] = "VUR_MONITOR_IN_PROCESS_";
HANDLE g_processMark = nullptr;

std::string ProcessMarkName() { return kProcessMarkPrefix + std::to_string(GetCurrentProcessId()); }

bool MonitorRunsInThisProcess() {
    // Creating the mark tells whether it was there (CreateEventA is in every system the suite supports);
    // one made here just to look goes again with its only handle.
    SetLastError(0);
    const HANDLE mark = CreateEventA(nullptr, TRUE, FALSE, ProcessMarkName().c_str());
    const bool there = GetLastError() == ERROR_ALREADY_EXISTS;
    if (mark) CloseHandle(mark);
    return there;
}

// A monitor that could not start gives up the instance mutex at once, so that another process with the
// library loaded takes over, and the user hears of it once, not from every process that fails alike.
void GiveUpAfterFailedStart(const std::string& error) {
    try {
        StopMonitor();
    } catch (...) {
        // Whatever the half-made forms leave behind, the mutex must still go.
    }
    ReleaseMutex(g_instanceMutex);
    CloseHandle(g_instanceMutex);
    g_instanceMutex = nullptr;
    if (g_processMark) CloseHandle(g_processMark);
    g_processMark = nullptr;

    SetLastError(0);
    g_failureTold = CreateMutexA(nullptr, FALSE, kStartFailureTold);
    if (g_failureTold && GetLastError() == ERROR_ALREADY_EXISTS) return;
    const std::string text = std::string(vur::monitor::texts::kStartFailed) + "\r\n\r\n" + error + "\r\n\r\n" +
                             vur::monitor::texts::kStartFailedAdvice;
    MessageBoxA(nullptr, text.c_str(), vur::monitor::texts::kCaption, MB_OK | MB_ICONERROR | MB_TOPMOST);
}

// True when this thread now owns the instance mutex: nobody ran the monitor, or its thread has ended.
bool OwnInstance() {
    if (!g_instanceMutex) g_instanceMutex = CreateMutexA(nullptr, FALSE, vur::kInstanceMutexName);
    if (!g_instanceMutex) return false;
    const DWORD wait = WaitForSingleObject(g_instanceMutex, 0);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

// Every 100 ms on the loading thread until this process runs the monitor.
void CALLBACK StartupCallback(HWND, UINT, UINT_PTR, DWORD) {
    // A deliberate stop (see monitor_signals.h): nobody takes over while it is marked.
    if (g_monitorEnded && WaitForSingleObject(g_monitorEnded, 0) == WAIT_OBJECT_0) {
        g_freeTicks = 0;
        return;
    }
    if (g_trayForm || g_mainForm || MonitorRunsInThisProcess()) return;
    if (!OwnInstance()) {
        g_freeTicks = 0;
        return; // tried again 100 ms later
    }
    if (!g_isStarter && ++g_freeTicks < kHookedHostFreeTicks) {
        ReleaseMutex(g_instanceMutex); // a starter may still come for it
        return;
    }
    KillTimer(nullptr, g_startupTimer); // owned, for the life of this thread
    g_startupTimerStopped = true;
    g_processMark = CreateEventA(nullptr, TRUE, FALSE, ProcessMarkName().c_str());
    std::string failure;
    try {
        StartMonitor();
        return;
    } catch (...) {
        failure = vur::CaughtErrorMessage();
    }
    GiveUpAfterFailedStart(failure);
}

void Attach(HMODULE library) {
    g_library = library;
    // One extra reference on itself keeps the library mapped when its loader lets it go.
    LoadLibraryA(vur::ModuleFileName(library).c_str());
    g_monitorEnded = CreateEventA(nullptr, TRUE, FALSE, vur::kMonitorEndedEventName);
    g_isStarter = vur::LowerCp1252(vur::ModuleFileName(nullptr)) ==
                  vur::LowerCp1252(vur::ModuleFolder(library) + vur::kStarterFileName);
    g_startupTimer = SetTimer(nullptr, 0, 100, &StartupCallback);
}

// At process end the forms' windows die with their thread; only the icon must not be left behind.
void Detach(bool processEnding) {
    if (!g_startupTimerStopped && g_startupTimer) KillTimer(nullptr, g_startupTimer);
    g_startupTimerStopped = true;
    if (g_instanceMutex) CloseHandle(g_instanceMutex);
    g_instanceMutex = nullptr;
    if (g_monitorEnded) CloseHandle(g_monitorEnded);
    g_monitorEnded = nullptr;
    if (processEnding) {
        if (g_trayForm) g_trayForm->RemoveIcon();
        return;
    }
    delete g_trayForm;
    g_trayForm = nullptr;
    delete g_mainForm;
    g_mainForm = nullptr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH)
        Attach(instance);
    else if (reason == DLL_PROCESS_DETACH)
        Detach(reserved != nullptr);
    return TRUE;
}

// Installed as a Windows hook, this brings the library into every hooked process; it only passes calls on.
extern "C" __declspec(dllexport) LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
