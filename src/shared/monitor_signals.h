// The named objects by which the monitor's library and its starter agree across processes.
#pragma once

namespace vur {

// Owned by the one process that runs the monitor; every other process with the library loaded waits for it.
const char kInstanceMutexName[] = "VUR_DLL_LOADED";

// Manual-reset event, the mark of a deliberate stop: set by whoever ends the monitor on purpose before it asks
// (the admin tool's stop-monitor, which the uninstaller runs, and the monitor itself at the end of the
// Windows session), reset when a starter starts. While it is set, a starter obeys WM_QUIT and no waiting
// process takes the monitor over. Without it, WM_QUIT is ignored and a killed monitor is taken over.
const char kMonitorEndedEventName[] = "VUR_MONITOR_ENDED";

// The starter's file name in the program folder.
const char kStarterFileName[] = "fast.exe";

} // namespace vur
