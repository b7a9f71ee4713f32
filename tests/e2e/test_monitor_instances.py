"""One process at a time runs the monitor: a second one waits without windows and takes over when the first
ends; the hidden windows refuse to close and carry random capital-letter captions. The starter's hook brings
the library into the desktop's programs (under Wine: the desktop process explorer.exe): ended on purpose, the
starter leaves the monitor ended; killed with no starter left, a hooked program takes the monitor over."""
import re
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()



def windows_of(pid):
    rc, out = case.drive("list", pid=pid, hidden=1)
    rows = [line.split("\t") for line in out.splitlines()] if rc == 0 else []
    return {row[2]: row for row in rows if len(row) >= 5 and row[2] in ("TfMain", "TForm1")}


def holders():
    """The programs that have the folder's watch.dll loaded, lower case, as the admin tool lists them."""
    _, out, _ = case.wine(windows_dir + "vurconf.exe", "stop-monitor", "--list", windows_dir)
    return [line.split(": ", 1)[1].rsplit(" (process", 1)[0].lower()
            for line in out.decode("cp1252", errors="replace").splitlines() if ": " in line]




def desktop_windows():
    rc, out = case.drive("list", exe="explorer.exe", hidden=1)
    return sorted(row[2] for row in (line.split("\t") for line in out.splitlines())
                  if len(row) >= 3 and row[2] in ("TfMain", "TForm1")) if rc == 0 else []


# Ended on purpose (WM_QUIT, as at log-off or from the uninstaller), the starter leaves the monitor ended: the
# hooked desktop process holds the library but does not take over.
mon.start_monitor(case, linux_dir, windows_dir)
time.sleep(1)
case.check(any(h.endswith("\\explorer.exe") for h in holders()), "the hook brought the library into the "
           "desktop process: %r" % holders())
rc, _, _ = case.wine(windows_dir + "vurconf.exe", "stop-monitor", windows_dir)
time.sleep(2.5)  # beyond the hooked programs' waiting time
case.equal(mon.monitor_pids(case), [], "the starter ended")
rc, _ = case.drive("mutex", name="VUR_DLL_LOADED")
case.equal(rc, 1, "nobody took the monitor over from a starter ended on purpose")
case.equal(desktop_windows(), [], "the desktop process has no monitor windows")

# A starter started again protects again.
first = mon.start_monitor(case, linux_dir, windows_dir)
second = case.spawn(windows_dir + "fast.exe", cwd=linux_dir)
time.sleep(1.5)

pids = mon.monitor_pids(case)
case.equal(len(pids), 2, "two processes have the library loaded")
owners = [pid for pid in pids if windows_of(pid)]
case.equal(len(owners), 1, "exactly one process has the monitor's windows")
if owners:
    running = owners[0]
    waiting = [pid for pid in pids if pid != running]
    forms = windows_of(running)
    case.equal(sorted(forms), ["TForm1", "TfMain"], "the running monitor has both hidden windows")
    for cls, row in forms.items():
        case.check(re.fullmatch(r"[A-Z]{2,101}", row[4]) is not None, "%s caption %r is 2 to 101 letters" % (cls, row[4]))
        case.equal(row[3], "0", "%s is not visible" % cls)
        rc, _ = case.drive("close", "--timeout", "1000", hwnd=row[0])
        case.equal(rc, 1, "%s is still there after WM_CLOSE" % cls)
    case.equal(sorted(windows_of(running)), ["TForm1", "TfMain"], "both windows survive close requests")

    # The waiting process takes over within about 100 ms of the first one's end (its timer period): it owns
    # the instance mutex then. Its windows follow; under Wine the desktop process first spends about two
    # seconds on the icon the killed process left behind, which real Windows does not.
    if waiting:
        rc, out = case.drive("kill-wait", "--timeout", "8000", kill=running, mutex="VUR_DLL_LOADED",
                             pid=waiting[0], cls="TfMain", hidden=1)
        case.equal(rc, 0, "the second process starts the monitor after the first ends")
        if rc == 0:
            mutex_ms, window_ms = (int(v) for v in out.split())
            print("take-over: mutex after %d ms, main window after %d ms" % (mutex_ms, window_ms))
            case.check(0 <= mutex_ms <= 300, "take-over within a few timer periods (%d ms)" % mutex_ms)
        case.equal(sorted(windows_of(waiting[0])), ["TForm1", "TfMain"], "the new monitor has both windows")

        # With no starter left, the hooked desktop process takes over once the monitor has been free for a
        # second; a starter killed (as a dialer would) does not count as ended on purpose.
        rc, out = case.drive("kill-wait", "--timeout", "10000", kill=waiting[0], mutex="VUR_DLL_LOADED",
                             exe="explorer.exe", cls="TfMain", hidden=1)
        case.equal(rc, 0, "the hooked desktop process starts the monitor after the last starter is killed: %r" % out)
        if rc == 0:
            mutex_ms, window_ms = (int(v) for v in out.split())
            print("hooked take-over: mutex after %d ms, main window after %d ms" % (mutex_ms, window_ms))
            case.check(900 <= mutex_ms <= 6000, "a hooked program waits about a second (%d ms)" % mutex_ms)
        case.equal(desktop_windows(), ["TForm1", "TfMain"], "the desktop process runs the monitor")
case.finish()
