"""Without an engine library or with one lacking its entry point the monitor still runs and ticks, and tells
the user once what is missing."""
import os
import shutil
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
expected_box_start = "VUR kann nicht vollständig prüfen"

for broken, missing in (("vurscan.dll", "vurscan.dll"), ("vurheur.dll", "vurheur.dll: CheckHeuristically")):
    linux_dir, windows_dir = case.install_dist("VUR " + broken)
    path = os.path.join(linux_dir, broken)
    if broken == "vurscan.dll":
        os.remove(path)
    else:
        shutil.copy(os.path.join(linux_dir, "vurscan.dll"), path)  # a library without CheckHeuristically
    mon.write_settings(case, linux_dir, [("Generell", "AutoStart", 0)])
    mon.delete_run_value(case)
    process = mon.start_monitor(case, linux_dir, windows_dir)
    texts = case.answer("VUR", "ok")
    case.check(texts is not None and any(expected_box_start in t for t in texts), "%s: the user is told" % broken)
    case.check(texts is not None and any(missing in t for t in texts), "%s: the box names %s" % (broken, missing))
    case.equal(mon.wait_for(lambda: mon.run_value(case), 5), '"' + windows_dir + 'fast.exe"',
               "%s: the monitor ticks" % broken)
    case.equal(case.answer("VUR", "ok", timeout_ms=1500), None, "%s: the user is told only once" % broken)
    for pid in mon.monitor_pids(case):
        case.drive("kill", pid=pid)
    time.sleep(0.5)
case.finish()
