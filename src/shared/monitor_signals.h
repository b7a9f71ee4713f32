// The named objects by which the monitor's library and its starter agree across processes.
#pragma once

namespace vur {

// Owned by the one process that runs the monitor; every other process with the library loaded waits for it.
const char kInstanceMutexName[] = "VUR_DLL_LOADED";

// Manual-reset event, set by the starter when it is ended on purpose (its message loop got WM_QUIT, as at
// log-off or from the uninstaller) and reset when a starter starts: while it is set, no waiting process takes
// the monitor over. A starter that is killed does not set it, so the protection goes on elsewhere.
const char kMonitorEndedEventName[] = "VUR_MONITOR_ENDED";

// The starter's file name in the program folder.
const char kStarterFileName[] = "fast.exe";

} // namespace vur
