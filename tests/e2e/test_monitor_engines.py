"""Without an engine library or with one lacking its entry point the monitor still runs and ticks, and tells
the user once what is missing. With the real engines every corpus look-alike is a suspicious application
(S1 shows the engine's text), each one its test signature lists a known dialer (D1), and the honest dialing
program only a new application (N1)."""
import os
import shutil
import time

from harness import Case
import corpus
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

# Under Wine the 9x family's process records hold the file name only, so the engines get a full path (and
# can read the file) on the NT family alone.
if case.version != "win98":
    linux_dir, windows_dir = case.install_dist("VUR Korpus")
    corpus.write_signatures(case, linux_dir)
    samples = os.path.join(case.prefix, "drive_c", "Korpus")
    corpus.copy_corpus(case, samples)
    mon.write_settings(case, linux_dir, [("Generell", "AutoStart", 0), ("Generell", "Infizierte Anwendung", 1),
                                         ("Generell", "Verdächtige Anwendung", 1), ("Generell", "Neue Anwendung", 0)])
    mon.delete_run_value(case)
    mon.start_monitor(case, linux_dir, windows_dir)
    for name, analysis in corpus.HEURISTIC.items():
        path = "C:\\Korpus\\" + name
        key = path.lower()
        process = case.spawn(path)
        if name in corpus.LISTED:
            texts = case.answer("0190 DIALER ENTDECKT!!", "no", timeout_ms=15000)
            expected = "Die Anwendung " + key + " ist ein 0190 Dialer! Möchtest Du den Dialer erlauben?"
            follow_up = "0190 Dialer isolieren?"
        elif analysis:
            texts = case.answer("Verdächtige Anwendung entdeckt", "no", timeout_ms=15000)
            expected = ("Es wurde eine verdächtige Anwendung " + key + " entdeckt. Die Analyse ergab dabei folgendes "
                        "Ergebnis: " + analysis + ". Möchtest Du die verdächtige Anwendung erlauben?")
            follow_up = "Verdächtige Datei isolieren?"
        else:
            texts = case.answer("Neue Anwendung entdeckt", "no", timeout_ms=15000)
            expected = ("Es wurde eine neue Anwendung " + key + " entdeckt, die prinzipiell eine Nummer wählen kann. "
                        "Die neue Anwendung ist aber wahrscheinlich kein Dialer. Möchtest Du die neue Anwendung "
                        "erlauben?")
            follow_up = "Neue Anwendung beenden?"
        case.check(texts is not None and expected in texts, "%s: %r" % (name, texts))
        case.check(case.answer(follow_up, "yes" if follow_up == "Neue Anwendung beenden?" else "no") is not None,
                   "%s: %s follows" % (name, follow_up))
        try:
            process.wait(timeout=10)
        except Exception:
            pass
        case.check(process.poll() is not None, "%s: terminated" % name)
        case.check(os.path.exists(os.path.join(samples, name)), "%s: No keeps the file" % name)
    for pid in mon.monitor_pids(case):
        case.drive("kill", pid=pid)
case.finish()
