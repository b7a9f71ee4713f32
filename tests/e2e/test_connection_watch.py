"""The live monitor against the stand-in RASAPI32.DLL: a dialer's connection to 49 0190 123456 (its phonebook
entry larger than 4 KiB) is hung up, question C1 shows its exact text, Yes allows the number in
"Verbindungen", and the same number dialled again later is left alone."""
import os

from harness import Case
import monitor_support as mon

KEY = "49 0190 123456"
CAPTION = "Neue Verbindung entdeckt"
QUESTION = "Es wurde eine neue Verbindung zu 49 0190 123456 entdeckt. Soll die Verbindung erlaubt werden?"

case = Case(__doc__)
ras = mon.RasStandIn(case)
linux_dir, windows_dir = case.install_dist()

# "Neue Nummer" 1, also its default: the line is hung up before the question is shown.
conf = windows_dir + "vur.conf"
vurconf = os.path.join(linux_dir, "vurconf.exe")
rc, _, _ = case.wine(vurconf, "set", conf, "Generell", "Neue Nummer", "1")
case.equal(rc, 0, "reaction set")
ras.use("dialer.scenario")
case.spawn(os.path.join(linux_dir, "fast.exe"), cwd=linux_dir)

box = case.wait_window(title=CAPTION, timeout_ms=20000)
case.check(box is not None, "question C1 shown")
case.check("hangup 4097" in ras.log_lines(), "connection hung up before the question")
texts = case.answer(CAPTION, "yes")
case.check(texts is not None and QUESTION in texts, "exact text of C1: %r" % (texts,))

rc, value, _ = case.wine(vurconf, "get", conf, "Verbindungen", KEY)
case.equal(value.decode("cp1252").strip(), KEY + "|" + KEY, "allowed entry written by the monitor")

# Dialled again: the monitor reads the entry once more and leaves the line up, without a question.
reads_before = ras.log_lines().count("entry Dialer")
ras.use("dialer_again.scenario")
case.check(ras.wait_log("entry Dialer", reads_before + 1, 15), "monitor looked at the new connection")
case.check(case.wait_window(title=CAPTION, timeout_ms=3000) is None, "no question for the allowed number")
case.check("hangup 4098" not in ras.log_lines(), "allowed connection left up")
case.finish()
