"""The real engines in scanner.exe under Wine, heuristics on, report only: every corpus look-alike is
suspicious with the engine's text, the honest dialing program, the late loader and the test dialer's
signature keep their verdicts; with the corpus' test signature file the listed look-alikes are known dialers
by name. Neither the program folder (its signature files included) nor the prefix's Windows folder gives
any hit."""
import os
import shutil
import subprocess

from harness import Case
import corpus
import monitor_support as mon
import scanner_support as scanner
from scanner_support import TITLE, RED, YELLOW

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Engines")
drive_c = os.path.join(case.prefix, "drive_c")
samples = os.path.join(drive_c, "Korpus")
corpus.copy_corpus(case, samples)
programs = os.path.dirname(corpus.programs_dir(case))
for name in ("test_dialer.exe", "late_dialing.exe"):
    shutil.copy(os.path.join(programs, name), os.path.join(samples, name))
mon.write_settings(case, folder, [("Scanner", "Nur melden", 1), ("Scanner", "Heuristik", 1)])


def start():
    process = case.spawn(os.path.join(folder, "scanner.exe"))
    case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "scanner window appears")
    return process


def run(*parts, timeout=120):
    """Scans a folder after clearing the report; returns the hit lines (sorted, the walk's order is the file
    system's) and the counts of the summary."""
    case.drive("click", title=TITLE, child_text="Report löschen")
    scanner.select(case, *parts)
    case.drive("click", title=TITLE, child_text="Scannen")
    lines = scanner.report(case, timeout=timeout)
    hits = sorted(line for line in lines if line[1] in (RED, YELLOW))
    counts = [int(t.split("\t")[-1]) for t, _ in lines if t.split("\t")[0] in
              ("Gescannte Dateien:", "Gefundene Dialer:", "Verdächtige Dateien:")]
    return hits, counts


def expected_hits(listed):
    hits = [("C:\\Korpus\\test_dialer.exe - Gefunden: 0190 Testdialer", RED)]
    for name, text in corpus.HEURISTIC.items():
        if name in listed:
            hits.append(("C:\\Korpus\\%s - Gefunden: %s" % (name, listed[name]), RED))
        elif text:
            hits.append(("C:\\Korpus\\%s - Verdächtig: %s" % (name, text), YELLOW))
    return sorted(hits)


def stop(process):
    case.drive("close", "--timeout", "10000", title=TITLE)
    try:
        process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        pass


files = len(corpus.HEURISTIC) + 2
suspicious = sum(1 for text in corpus.HEURISTIC.values() if text)
process = start()
case.equal(case.report_lines(title=TITLE), [("1 Dialersignaturen geladen.", (0, 0, 0))], "the shipped signature")
hits, counts = run("C:", "Korpus")
case.equal(hits, expected_hits({}), "corpus: look-alikes suspicious, honest and late programs clean")
case.equal(counts, [files, 1, suspicious], "corpus counts")
hits, counts = run("C:", "VUR Engines")
case.equal(hits, [], "the program folder gives no hit")
case.check(counts and counts[0] >= 10, "the program folder was scanned: %r" % counts)
hits, counts = run("C:", "windows", timeout=900)
case.equal(hits, [], "the prefix's Windows folder gives no hit (64- and 32-bit system files)")
case.check(counts and counts[0] > 500, "the Windows folder was scanned: %r" % counts)
stop(process)

listed = corpus.write_signatures(case, folder)
process = start()
case.equal(case.report_lines(title=TITLE), [("%d Dialersignaturen geladen." % (1 + listed), (0, 0, 0))],
           "the corpus signatures load beside the shipped one")
hits, counts = run("C:", "Korpus")
case.equal(hits, expected_hits(corpus.LISTED), "listed look-alikes are known dialers, the others suspicious")
case.equal(counts, [files, 1 + len(corpus.LISTED), suspicious - len(corpus.LISTED)], "corpus counts with signatures")
hits, counts = run("C:", "VUR Engines")
case.equal(hits, [], "the program folder with the hex signature files gives no hit")
stop(process)
case.finish()
