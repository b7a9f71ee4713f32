"""The monitor keeps the autostart value: restored within a tick at "AutoStart" 0, left alone at 1, and
never written without a settings file, though the monitor ticks."""
import os
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
expected = '"' + windows_dir + 'fast.exe"'

# Without vur.conf the monitor runs but writes nothing. The proof that it ticked meanwhile: a tick keeps the
# Run value first and looks at the connections after, and this connection's question shows.
ras = mon.RasStandIn(case)
ras.use("dialer.scenario")
mon.delete_run_value(case)
mon.start_monitor(case, linux_dir, windows_dir)
case.check(case.wait_window(title="Neue Verbindung entdeckt", timeout_ms=20000) is not None,
           "the monitor ticked: its question on a connection shows")
case.equal(mon.run_value(case), None, "Run value without a settings file")
case.check(case.answer("Neue Verbindung entdeckt", "no") is not None, "question answered")

# Once the settings file exists with AutoStart 0, the next tick writes the quoted path of fast.exe.
mon.write_settings(case, linux_dir, [("Generell", "AutoStart", 0)])
case.equal(mon.wait_for(lambda: mon.run_value(case), 5), expected, "Run value at AutoStart 0")
mon.delete_run_value(case)
case.equal(mon.wait_for(lambda: mon.run_value(case), 5), expected, "deleted Run value comes back")
mon.set_run_value(case, "anders")
case.equal(mon.wait_for(lambda: mon.run_value(case) == expected and expected, 5), expected,
           "changed Run value is restored")

# At AutoStart 1 the value is left as it is, absent or present.
mon.write_settings(case, linux_dir, [("Generell", "AutoStart", 1)])
time.sleep(1)
mon.delete_run_value(case)
time.sleep(2)
case.equal(mon.run_value(case), None, "Run value stays deleted at AutoStart 1")
mon.set_run_value(case, "von Hand")
time.sleep(1.5)
case.equal(mon.run_value(case), "von Hand", "Run value stays as set by hand at AutoStart 1")
case.finish()
