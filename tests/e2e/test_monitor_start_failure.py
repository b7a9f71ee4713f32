"""A monitor that cannot start gives the protection away: the failing process (a starter that refuses the
monitor's main window) releases "VUR_DLL_LOADED" before it tells the user, fast.exe started meanwhile takes
over, and a second failure in another process stays silent while the first has told of it."""
import os
import shutil
import time

from harness import Case
import monitor_support as mon

CAPTION = "VUR"
TOLD = "VUR konnte den Schutz nicht starten:"

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
for copy in ("failing_starter.exe", "failing_again.exe"):
    shutil.copy(os.path.join(case.win32_build, "bin", "failing_starter.exe"), os.path.join(linux_dir, copy))


def windows_of(exe):
    rc, out = case.drive("list", exe=exe, hidden=1)
    return sorted(row[2] for row in (line.split("\t") for line in out.splitlines()) if len(row) >= 3
                  and row[2] in ("TfMain", "TForm1")) if rc == 0 else []


case.spawn(windows_dir + "failing_starter.exe", cwd=linux_dir)
box = case.wait_window(title=CAPTION, cls="#32770", timeout_ms=30000)
case.check(box is not None, "the failed start is told")
case.equal(windows_of("failing_starter.exe"), [], "the failing process keeps no monitor window")

# The box is still open: the protection must not wait for the user's answer.
mon.start_monitor(case, linux_dir, windows_dir)
case.equal(windows_of("fast.exe"), ["TForm1", "TfMain"], "fast.exe took over while the box was open")
texts = case.answer(CAPTION, "ok")
case.check(texts is not None and any(t.startswith(TOLD) for t in texts) and
           any("Fenster" in t or "Window" in t for t in texts), "the box names the failure: %r" % (texts,))

# The next process to win the mutex fails the same way: it gives the mutex up again, without a second box.
case.spawn(windows_dir + "failing_again.exe", cwd=linux_dir)
time.sleep(1.5)  # its library is loaded and waiting
running = mon.monitor_pids(case)
case.equal(len(running), 1, "one fast.exe runs")
rc, out = case.drive("kill-wait", "--timeout", "3000", kill=running[0] if running else 0, mutex="VUR_DLL_LOADED",
                     exe="failing_again.exe", cls="TfMain", hidden=1)
words = out.split()
case.check(rc == 1 and words and int(words[0]) >= 0, "the waiting process won the mutex, started no monitor: %r" % out)
case.check(case.wait_window(title=CAPTION, cls="#32770", timeout_ms=3000) is None, "a second failure stays silent")
rc, _ = case.drive("mutex", name="VUR_DLL_LOADED")
case.equal(rc, 1, "the instance mutex is free again after the second failure")
case.finish()
