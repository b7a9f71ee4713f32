// Ending the monitor of one program folder, as an uninstaller or support staff need it before the folder's
// files can be removed: the stop is first marked as deliberate (the event the starter and the library look
// at), then every process whose program lies in that folder and that has the folder's watch.dll loaded is
// asked to end (its message loop gets WM_QUIT, so the library takes its tray icon with it) and terminated
// when it does not end in time. A WM_QUIT without the mark is taken for an attack and ignored. A process elsewhere that holds the library is never ended, only
// named: the library's hook can bring it into any program of the desktop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "monitor/process_lists.h"

namespace vurconf {

// Seam: the process lists and what is done to a process.
class MonitorHosts {
public:
    virtual ~MonitorHosts() = default;
    virtual vur::monitor::ProcessLists* Lists() = 0; // null when the system has neither source
    virtual std::uint32_t OwnProcessId() = 0;
    virtual std::string LongPath(const std::string& path) = 0;
    // Sets the mark of a deliberate stop, before any process is asked to end; it holds until a starter starts.
    virtual void MarkDeliberateStop() = 0;
    // Posts WM_QUIT to the threads of the process's windows; false when it has none.
    virtual bool AskToQuit(std::uint32_t processId) = 0;
    // True once the process has ended (also when it was already gone).
    virtual bool WaitForEnd(std::uint32_t processId, unsigned milliseconds) = 0;
    virtual bool Terminate(std::uint32_t processId) = 0;
};

struct HeldLibrary {
    std::uint32_t processId = 0;
    std::string program;
};

struct StopResult {
    std::vector<HeldLibrary> ended;       // the folder's hosts, ended
    std::vector<HeldLibrary> stillHolding; // processes that still have the library loaded
};

constexpr unsigned kQuitWaitMs = 5000;
constexpr unsigned kTerminateWaitMs = 2000;

// `folder` ends with its backslash. Both raise vur::EVurError when no process list can be taken.
StopResult StopMonitors(const std::string& folder, MonitorHosts& hosts);
// The processes that have the folder's watch.dll loaded, without ending any.
std::vector<HeldLibrary> LibraryHolders(const std::string& folder, MonitorHosts& hosts);

// The running system's (Windows builds; elsewhere every call fails).
MonitorHosts& SystemMonitorHosts();

} // namespace vurconf
