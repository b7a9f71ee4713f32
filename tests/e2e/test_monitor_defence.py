"""Only a deliberate stop ends protection. WM_QUIT posted to fast.exe's threads by another program is ignored:
the starter keeps the monitor, and the next dialer is ended. The end of the Windows session (WM_ENDSESSION)
marks a deliberate end: a killed monitor is then not taken over. A monitor whose thread ends in a host that
lives on (the thread host, like a hooked program closing its window thread) is taken over by a waiting
starter within 2 s, which then ends the next dialer."""
import os
import shutil
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
shutil.copy(os.path.join(case.win32_build, "bin", "thread_host.exe"), os.path.join(linux_dir, "thread_host.exe"))
programs = os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "e2e-programs")
shutil.copy(os.path.join(programs, "test_dialer.exe"), os.path.join(linux_dir, "..", "testdialer.exe"))
dialer = "C:\\testdialer.exe"
mon.write_settings(case, linux_dir, [("Generell", "Infizierte Anwendung", 2), ("Generell", "Neue Anwendung", 3)])


def pids(exe):
    rc, out = case.drive("pids", exe=exe)
    return [int(p) for p in out.split()] if rc == 0 else []


def monitor_window(exe):
    rc, out = case.drive("list", exe=exe, cls="TfMain", hidden=1)
    return [line.split("\t")[0] for line in out.splitlines() if line.strip()] if rc == 0 else []


def dialer_is_ended(what):
    process = case.spawn(dialer)
    try:
        process.wait(timeout=10)
        ended = True
    except Exception:
        ended = False
    case.check(ended, "a dialer started %s is ended" % what)


# An attack: WM_QUIT to every thread of the starter that runs the monitor. It is ignored.
mon.start_monitor(case, linux_dir, windows_dir)
starter = pids("fast.exe")
rc, posted = case.drive("quit", pid=starter[0])
case.equal(rc, 0, "WM_QUIT posted to the starter's threads (%s)" % posted.strip())
time.sleep(1.5)
case.equal(pids("fast.exe"), starter, "the starter lives on after a WM_QUIT it did not ask for")
case.check(monitor_window("fast.exe"), "its monitor runs on")
dialer_is_ended("after the WM_QUIT")

# The end of the session is deliberate: the monitor marks it, and the waiting host does not take over when
# the starter then ends.
case.spawn(windows_dir + "thread_host.exe", cwd=linux_dir)
case.check(mon.wait_for(lambda: pids("thread_host.exe"), 30), "the thread host runs")
time.sleep(1)
main = monitor_window("fast.exe")
rc, _ = case.drive("send", hwnd=main[0], hidden=1, msg=0x16, wparam=1)  # WM_ENDSESSION: the session ends
case.equal(rc, 0, "WM_ENDSESSION delivered")
case.drive("kill", pid=starter[0])
time.sleep(2.5)  # beyond a hooked host's second of waiting
case.equal(monitor_window("thread_host.exe"), [], "nobody takes over after the end of the session")
rc, _ = case.drive("mutex", name="VUR_DLL_LOADED")
case.equal(rc, 1, "the instance mutex is free")

# A new starter protects again; killed (as a dialer would), the thread host takes over after its second.
mon.start_monitor(case, linux_dir, windows_dir)
rc, out = case.drive("kill-wait", "--timeout", "10000", kill=pids("fast.exe")[0], mutex="VUR_DLL_LOADED",
                     exe="thread_host.exe", cls="TfMain", hidden=1)
case.equal(rc, 0, "the thread host takes over a killed starter's monitor: %r" % out)

# The host's monitor thread ends, the host lives on: the waiting starter takes over within 2 s.
host = pids("thread_host.exe")
case.spawn(windows_dir + "fast.exe", cwd=linux_dir)
case.check(mon.wait_for(lambda: pids("fast.exe"), 30), "a second starter waits")
time.sleep(1)
case.equal(monitor_window("fast.exe"), [], "the waiting starter has no monitor yet")
rc, out = case.drive("kill-wait", "--timeout", "10000", "--quit", "1", kill=host[0], mutex="VUR_DLL_LOADED",
                     exe="fast.exe", cls="TfMain", hidden=1)
case.equal(rc, 0, "the starter takes over from the ended thread: %r" % out)
if rc == 0:
    mutex_ms, window_ms = (int(v) for v in out.split())
    print("take-over after the monitor's thread ended: mutex after %d ms, main window after %d ms" %
          (mutex_ms, window_ms))
    case.check(0 <= mutex_ms <= 2000, "within 2 s (%d ms)" % mutex_ms)
case.equal(pids("thread_host.exe"), host, "the host process lives on")
dialer_is_ended("after the take-over")
case.finish()
