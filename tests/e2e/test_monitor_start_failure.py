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

# The next process to win the mutex fails the same way: it gives the mutex up again, without a second box.
# It is not a starter, so it tries once the mutex has been free for a second.
case.spawn(windows_dir + "failing_again.exe", cwd=linux_dir)
time.sleep(3)
_, listed, _ = case.wine(windows_dir + "vurconf.exe", "stop-monitor", "--list", windows_dir)
case.check(b"failing_again.exe" in listed, "the second failing process has the library loaded: %r" % listed)
case.equal(windows_of("failing_again.exe"), [], "the second failing process keeps no monitor window")
_, boxes = case.drive("list", title=CAPTION, cls="#32770")
case.equal(len([l for l in boxes.splitlines() if l.strip()]), 1, "a second failure stays silent: one box")
rc, _ = case.drive("mutex", name="VUR_DLL_LOADED")
case.equal(rc, 1, "the instance mutex is free again after the second failure")

# The box is still open: the protection must not wait for the user's answer.
mon.start_monitor(case, linux_dir, windows_dir)
case.equal(windows_of("fast.exe"), ["TForm1", "TfMain"], "fast.exe took over while the box was open")
texts = case.answer(CAPTION, "ok")
case.check(texts is not None and any(t.startswith(TOLD) for t in texts) and
           any("Fenster" in t or "Window" in t for t in texts), "the box names the failure: %r" % (texts,))
case.finish()
