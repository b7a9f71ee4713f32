"""The application watch under Wine: a dialer is terminated and isolated at "Infizierte Anwendung" 3 without
a question, already gone when D1 shows at 1; a program that loads rasapi32.dll after two seconds is asked
about with N1 (long lower-case path, also when started by its 8.3 name); the monitor's host is never new;
"Neue Anwendung" 2 terminates without a question."""
import os
import shutil
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
programs = os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "e2e-programs")
# The test programs live in a folder with a long name, so that Wine gives them 8.3 names.
tools_linux = os.path.join(case.prefix, "drive_c", "Test Programme")
shutil.rmtree(tools_linux, ignore_errors=True)
os.makedirs(tools_linux)
shutil.copy(os.path.join(programs, "test_dialer.exe"), os.path.join(tools_linux, "Testdialer Programm.exe"))
shutil.copy(os.path.join(programs, "late_dialing.exe"), os.path.join(tools_linux, "Spaeter Waehler.exe"))
dialer = "C:\\Test Programme\\Testdialer Programm.exe"
dialer_key = dialer.lower()
late = "C:\\Test Programme\\Spaeter Waehler.exe"


def quarantine_entries():
    folder = os.path.join(linux_dir, "quarantäne")
    return sorted(f for f in os.listdir(folder) if f.endswith(".dat"))


def running(exe):
    rc, out = case.drive("pids", exe=exe)
    return [p for p in out.split() if p.strip()]


def start(program):
    return case.spawn(program)


def ended(process, seconds):
    try:
        process.wait(timeout=seconds)
        return True
    except Exception:
        return False


monitor = None


def restart_monitor(settings):
    """A fresh monitor with the given "Generell" settings (its records start empty)."""
    global monitor
    for pid in mon.monitor_pids(case):
        case.drive("kill", pid=pid)
    mon.write_settings(case, linux_dir, [("Generell", key, value) for key, value in settings])
    monitor = mon.start_monitor(case, linux_dir, windows_dir)


# "Infizierte Anwendung" 3: terminated and isolated with "0190 Dialer", no question.
restart_monitor([("Infizierte Anwendung", 3), ("Neue Anwendung", 3)])
process = start(dialer)
case.check(ended(process, 10), "the dialer is terminated at 3")
case.check(mon.wait_for(lambda: quarantine_entries(), 5), "the dialer's file is isolated at 3")
entries = quarantine_entries()
if entries:
    with open(os.path.join(linux_dir, "quarantäne", entries[0]), "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    case.equal(lines[:3], ["testdialer programm.exe", "c:\\test programme\\", "0190 Dialer"], "description lines")
    case.check(os.path.exists(os.path.join(linux_dir, "quarantäne", entries[0] + ".file")), "the data file is there")
case.check(not os.path.exists(os.path.join(tools_linux, "Testdialer Programm.exe")), "the file left its folder")
rc, out = case.drive("list", cls="#32770", exe="fast.exe", hidden=0)
case.equal(out.strip(), "", "no question at 3")

# "Infizierte Anwendung" 1: the dialer is gone when D1 shows; No to D1 and to D3 leaves the file in place.
shutil.copy(os.path.join(programs, "test_dialer.exe"), os.path.join(tools_linux, "Testdialer Programm.exe"))
restart_monitor([("Infizierte Anwendung", 1), ("Neue Anwendung", 3)])
process = start(dialer)
box = case.wait_window(cls="#32770", title="0190 DIALER ENTDECKT!!", exe="fast.exe")
case.check(box is not None, "D1 is shown at 1")
case.check(ended(process, 1), "the dialer is already gone when D1 shows")
texts = case.answer("0190 DIALER ENTDECKT!!", "no")
case.check(texts is not None and ("Die Anwendung " + dialer_key + " ist ein 0190 Dialer! Möchtest Du den Dialer erlauben?")
           in texts, "D1 text: %r" % (texts,))
case.check(case.answer("0190 Dialer isolieren?", "no") is not None, "D3 follows a No to D1")
case.check(os.path.exists(os.path.join(tools_linux, "Testdialer Programm.exe")), "No to D3 leaves the file in place")

# "Neue Anwendung" 0: the late dialer is asked about with N1, by its long lower-case path even when
# started by its 8.3 name; the monitor's own host is never reported.
restart_monitor([("Infizierte Anwendung", 4), ("Neue Anwendung", 0)])
rc, short_name = case.drive("shortpath", path=late)
short_name = short_name.strip()
case.check("~" in short_name, "Wine gives the program an 8.3 name: %r" % short_name)
process = start(short_name or late)
texts = case.answer("Neue Anwendung entdeckt", "no", timeout_ms=15000)
expected = ("Es wurde eine neue Anwendung " + late.lower() + " entdeckt, die prinzipiell eine Nummer wählen kann. "
            "Die neue Anwendung ist aber wahrscheinlich kein Dialer. Möchtest Du die neue Anwendung erlauben?")
case.check(texts is not None and expected in texts, "N1 with the long lower-case path: %r" % (texts,))
case.check(case.answer("Neue Anwendung beenden?", "yes") is not None, "N2 follows a No to N1")
case.check(ended(process, 5), "Yes to N2 terminates the program")
time.sleep(2)
rc, out = case.drive("list", cls="#32770", exe="fast.exe", hidden=0)
case.equal(out.strip(), "", "the monitor's host is never reported as new")

# "Neue Anwendung" 2: terminated without a question.
restart_monitor([("Infizierte Anwendung", 4), ("Neue Anwendung", 2)])
process = start(late)
case.check(ended(process, 10), "a new application is terminated at 2")
rc, out = case.drive("list", cls="#32770", exe="fast.exe", hidden=0)
case.equal(out.strip(), "", "no question at 2")
case.finish()
