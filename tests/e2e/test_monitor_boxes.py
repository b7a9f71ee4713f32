"""No box pauses protection. An error box of the monitor (an isolation into a missing quarantine folder) opens
outside the tick, in front, and while it waits the next dialer is ended. While question N1 waits for its
answer, a new connection is still hung up ("Neue Nummer" 1) and asked about, and a new dialer is still ended.
A connection without a phonebook entry is asked about by the number its name carries, and Yes hangs it up
without allowing anything. A damaged "Infizierte Anwendung" counts as its default (ended, then D1), and the
user is told in German which key is damaged."""
import os
import shutil
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
ras = mon.RasStandIn(case)
linux_dir, windows_dir = case.install_dist()
programs = os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "e2e-programs")
drive_c = os.path.join(linux_dir, "..")
for name in ("erster.exe", "zweiter.exe", "dritter.exe", "vierter.exe"):
    shutil.copy(os.path.join(programs, "test_dialer.exe"), os.path.join(drive_c, name))
shutil.copy(os.path.join(programs, "late_dialing.exe"), os.path.join(drive_c, "waehler.exe"))
conf = windows_dir + "vur.conf"
vurconf = os.path.join(linux_dir, "vurconf.exe")


def ended(process, seconds=10):
    try:
        process.wait(timeout=seconds)
        return True
    except Exception:
        return False


def boxes(title):
    rc, out = case.drive("list", cls="#32770", title=title, hidden=0)
    return [line.split("\t") for line in out.splitlines() if line.strip()] if rc == 0 else []


def settings(**values):
    for key, value in values.items():
        rc, _, _ = case.wine(vurconf, "set", conf, "Generell", key.replace("_", " "), str(value))
        case.equal(rc, 0, "%s set" % key)


# An isolation that fails: its box waits, in front, and the next dialer is ended meanwhile.
settings(Infizierte_Anwendung=3, Neue_Anwendung=3, Neue_Nummer=1)
shutil.rmtree(os.path.join(linux_dir, "quarantäne"))
mon.start_monitor(case, linux_dir, windows_dir)
case.check(ended(case.spawn("C:\\erster.exe")), "the first dialer is ended")
case.check(mon.wait_for(lambda: boxes("VUR"), 20), "the failed isolation is told")
monitor_pid = case.drive("pids", exe="fast.exe")[1].split()[0]
case.check(all(row[1] == monitor_pid for row in boxes("VUR")), "the box belongs to the monitor")
settings(Infizierte_Anwendung=2)
case.check(ended(case.spawn("C:\\zweiter.exe")), "a dialer started while the error box is open is ended")
case.check(boxes("VUR"), "the error box is still open")
while boxes("VUR"):
    case.answer("VUR", "ok")

# Question N1 stays open: a connection is hung up and asked about, a dialer is ended.
settings(Neue_Anwendung=0)
late = case.spawn("C:\\waehler.exe")
case.check(case.wait_window(title="Neue Anwendung entdeckt", cls="#32770", timeout_ms=20000) is not None, "N1 open")
ras.use("dialer.scenario")
case.check(ras.wait_log("hangup 4097", 1, 15), "the connection is hung up while N1 is open")
case.check(case.wait_window(title="Neue Verbindung entdeckt", cls="#32770", timeout_ms=15000) is not None,
           "C1 is asked while N1 is open")
case.check(ended(case.spawn("C:\\dritter.exe")), "a dialer started while N1 is open is ended")
case.check(case.answer("Neue Verbindung entdeckt", "no") is not None, "C1 answered")
case.check(case.answer("Neue Anwendung entdeckt", "no") is not None, "N1 answered")
case.check(case.answer("Neue Anwendung beenden?", "yes") is not None, "N2 answered")
case.check(ended(late, 5), "Yes to N2 ends the program")

# Without a phonebook entry: asked by the dialled number; Yes hangs up and allows nothing.
settings(Neue_Nummer=0)
ras.use("no_entry.scenario")
texts = case.answer("Neue Verbindung entdeckt", "yes", timeout_ms=20000)
case.check(texts is not None and any("0190987654 ohne lesbaren Telefonbucheintrag" in t and "getrennt" in t
                                     for t in texts), "the question names the dialled number: %r" % (texts,))
case.check(ras.wait_log("hangup 4099", 1, 10), "Yes hangs the line up")
rc, out, _ = case.wine(vurconf, "dump", conf)
case.check(b"0190987654" not in out, "nothing is allowed")

# A damaged reaction counts as its default: ended, then D1; the user is told which key is damaged.
mon.damage_setting(case, linux_dir, windows_dir, "Generell", "Infizierte Anwendung")
dialer = case.spawn("C:\\vierter.exe")
case.check(ended(dialer), "the dialer is ended at the default reaction")
told = case.answer("VUR", "ok", timeout_ms=20000)
case.check(told is not None and any("„Infizierte Anwendung“" in t and "beschädigt" in t for t in told),
           "the damaged key is named in German: %r" % (told,))
case.check(case.answer("0190 DIALER ENTDECKT!!", "no", timeout_ms=15000) is not None, "D1 follows")
case.check(case.answer("0190 Dialer isolieren?", "no") is not None, "D3 follows a No to D1")
case.finish()
