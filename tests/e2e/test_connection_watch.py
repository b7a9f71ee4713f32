"""The live monitor against the stand-in RASAPI32.DLL: a dialer's connection to 49 0190 123456 is hung up,
question C1 shows its exact text, Yes allows the number in "Verbindungen", and the same number dialled
again later is left alone.

Wine's own RASAPI32.DLL is a stub that enumerates nothing; the stand-in goes into the prefix's system folder
(where the monitor binds RASAPI32.DLL from, by full path) and WINEDLLOVERRIDES=rasapi32=n makes Wine load it
instead of its builtin. The stand-in reads its scenario anew on every call and logs hang-ups and entry
reads to rasapi32.scenario.log beside it."""
import os
import shutil
import time

from harness import Case

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = "49 0190 123456"
CAPTION = "Neue Verbindung entdeckt"
QUESTION = "Es wurde eine neue Verbindung zu 49 0190 123456 entdeckt. Soll die Verbindung erlaubt werden?"

case = Case(__doc__)
base_env = case.env
case.env = lambda: dict(base_env(), WINEDLLOVERRIDES="rasapi32=n")
linux_dir, windows_dir = case.install_dist()

system32 = os.path.join(case.prefix, "drive_c", "windows", "system32")
standin = os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "bin", "rasapi32.dll")
shutil.copy(standin, os.path.join(system32, "rasapi32.dll"))
scenario = os.path.join(system32, "rasapi32.scenario")
log_path = scenario + ".log"
if os.path.exists(log_path):
    os.remove(log_path)


def use_scenario(name):
    # Replaced in one step: the stand-in reads the file on every call and must never see half of it.
    shutil.copy(os.path.join(HERE, "ras", name), scenario + ".new")
    os.replace(scenario + ".new", scenario)


def log_lines():
    if not os.path.exists(log_path):
        return []
    with open(log_path, "rb") as f:
        return f.read().decode("cp1252").splitlines()


def wait_log(line, count, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if log_lines().count(line) >= count:
            return True
        time.sleep(0.2)
    return log_lines().count(line) >= count


# "Neue Nummer" 1, also its default: the line is hung up before the question is shown.
conf = windows_dir + "vur.conf"
vurconf = os.path.join(linux_dir, "vurconf.exe")
rc, _, _ = case.wine(vurconf, "set", conf, "Generell", "Neue Nummer", "1")
case.equal(rc, 0, "reaction set")
use_scenario("dialer.scenario")
case.spawn(os.path.join(linux_dir, "fast.exe"), cwd=linux_dir)

box = case.wait_window(title=CAPTION, timeout_ms=20000)
case.check(box is not None, "question C1 shown")
case.check("hangup 4097" in log_lines(), "connection hung up before the question")
texts = case.answer(CAPTION, "yes")
case.check(texts is not None and QUESTION in texts, "exact text of C1: %r" % (texts,))

rc, value, _ = case.wine(vurconf, "get", conf, "Verbindungen", KEY)
case.equal(value.decode("cp1252").strip(), KEY + "|" + KEY, "allowed entry written by the monitor")

# Dialled again: the monitor reads the entry once more and leaves the line up, without a question.
reads_before = log_lines().count("entry Dialer")
use_scenario("dialer_again.scenario")
case.check(wait_log("entry Dialer", reads_before + 1, 15), "monitor looked at the new connection")
case.check(case.wait_window(title=CAPTION, timeout_ms=3000) is None, "no question for the allowed number")
case.check("hangup 4098" not in log_lines(), "allowed connection left up")
case.finish()
