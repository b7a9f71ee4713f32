"""scanner.exe under Wine: window, texts and layout; options kept across starts; a run over test markers in
report-only mode and with questions, the quarantine pair, the report's colours in the control and in the
saved RTF; "Abbrechen" and closing during a run over a large tree; a start over a damaged option, and a run
that reaches a Cyrillic folder through its short name and names a locked file and a device name."""
import glob
import os
import re
import subprocess

from harness import Case
import monitor_support as mon
import rtf_report
import scanner_support as scanner
from scanner_support import TITLE, BLACK, RED, GREEN, YELLOW, summary

DIALER_MARK = b"VUR-TEST" + b"DIALER-0190"      # in two pieces, so this file is no test dialer itself
HEURISTIC_MARK = b"VUR-TEST" + b"HEURISTIK-0190"
SUSPICION = "Verdächtiges Testmuster %s gefunden" % HEURISTIC_MARK.decode()
LAYOUT = [  # class, text, x, y, width, height
    ("Static", "Festplatten und Verzeichnisse scannen", 8, 8, 395, 13),
    ("Static", "Mit diesem Modul kannst Du Deine Daten auf Dialerbefall hin untersuchen.", 8, 24, 395, 13),
    ("SysTreeView32", "", 8, 72, 241, 185),
    ("Static", "Um ein Laufwerk oder ein Verzeichnis zu scannen, klicke einfach auf das entsprechende Laufwerks- "
               "oder Verzeichnissymbol und dann auf \"Scannen\". Du kannst den Scan jederzeit durch Klick auf den "
               "\"Abbrechen\"-Button vorzeitig beenden.", 256, 80, 289, 73),
    ("Button", "Dialer nur melden", 264, 159, 105, 17),
    ("Button", "Gefundene Dialer automatisch isolieren", 264, 176, 209, 17),
    ("Button", "Heuristik während des Scans aktivieren", 264, 192, 241, 17),
    ("Button", "Scannen", 256, 224, 137, 25),
    ("Button", "Abbrechen", 408, 224, 137, 25),
    ("Button", "Report löschen", 256, 256, 137, 25),
    ("Button", "Report speichern", 408, 256, 137, 25),
    ("Button", "Alle Laufwerke scannen", 8, 264, 209, 17),
    ("RICHEDIT", None, 8, 288, 537, 97),
    ("Static", "", 8, 391, 425, 13),
    ("Static", "Ich brauche Hilfe!", 442, 391, 103, 13),
]
WARNING = ("Heuristiken sind regelbasierende Suchverfahren. Auf Grund ihrer Arbeitsweise kommt es HÄUFIG ZU "
           "FEHLALARMEN. Aus diesem Grunde ist es Anfängern nicht zu empfehlen diese Funktion zu aktivieren. Durch "
           "die Heuristik gefundene Dateien werden nicht automatisch isoliert  sondern nur auf ausdrücklichen Wunsch "
           "hin.")

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Scanner")
drive_c = os.path.join(case.prefix, "drive_c")
conf = windows_folder + "vur.conf"
quarantine = os.path.join(folder, "quarantäne")


def make_tree(name, files):
    root = os.path.join(drive_c, name)
    for relative, content in files.items():
        path = os.path.join(root, *relative.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)
    return root


def option(key):
    rc, out, _ = case.wine(os.path.join(folder, "vurconf.exe"), "get", conf, "Scanner", key)
    return out.strip().decode("cp1252") if rc == 0 else None


def start():
    global process
    process = case.spawn(os.path.join(folder, "scanner.exe"))
    return case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "scanner window appears")


# The window is hidden before it is destroyed, and the options are written while it is destroyed: only the
# end of the process says that they are on disk.
def ended():
    try:
        return process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        return None


def control(text):
    return next((c for c in case.children(title=TITLE) if c["text"] == text), {})


def status():
    return next((c["text"] for c in case.children(title=TITLE) if c["cls"] == "Static" and (c["x"], c["y"]) == (8, 391)),
                "")


def select(*parts):
    return scanner.select(case, *parts)


def report(wait_for_end=True, timeout=120):
    return scanner.report(case, wait_for_end, timeout)


# The tree is read once per folder and not refreshed, so every folder the test scans exists before the start.
make_tree("Gross", {"t%02d\\f%03d.txt" % (t, f): b"x" for t in range(60) for f in range(300)})
scan = make_tree("Scan", {"dialer.exe": b"MZ..." + DIALER_MARK, "verdacht.exe": b"MZ.." + HEURISTIC_MARK,
                          "sauber.txt": b"nichts"})
# First start: report only and heuristics stored as on, automatic isolation too (shown, but inactive).
mon.write_settings(case, folder, [("Scanner", "Nur melden", 1), ("Scanner", "Heuristik", 1),
                                  ("Scanner", "Löschen", 1)])
if start():
    place = case.where(title=TITLE) or {}
    case.equal((place.get("client_width"), place.get("client_height")), (553, 411), "client area")
    children = case.children(title=TITLE)
    seen = [(c["cls"], c["text"], c["x"], c["y"], c["width"], c["height"]) for c in children
            if c["cls"] in ("Static", "Button", "SysTreeView32", "RICHEDIT")]
    case.equal([s if s[0] != "RICHEDIT" else (s[0], None) + s[2:] for s in seen], LAYOUT, "components and layout")
    enabled = {c["text"]: c["enabled"] for c in children if c["cls"] == "Button"}
    case.equal((enabled.get("Gefundene Dialer automatisch isolieren"), enabled.get("Abbrechen"),
                enabled.get("Scannen")), (False, False, True), "isolation inactive, Abbrechen off, Scannen on")
    rc, _ = case.drive("wait", "--timeout", "1500", title="WARNHINWEIS")
    case.check(rc != 0, "no heuristics warning at start")
    case.equal(case.report_lines(title=TITLE), [("1 Dialersignaturen geladen.", BLACK)], "signature count line")

    # The help link opens the scanner's page with the program the shell has for .htm files.
    case.install_recorders(folder, "browser.exe")
    restore = case.associate(".htm", '"%sbrowser.exe" "%%1"' % windows_folder)
    try:
        case.drive("click", title=TITLE, child_text="Ich brauche Hilfe!")
        case.equal(case.started(folder, wait=10, count=1), ['browser.exe\t"%shilfe\\scanner.htm"' % windows_folder],
                   "help link opens hilfe\\scanner.htm")
    finally:
        restore()

    # Report only: every hit reported and counted, no question, nothing isolated.
    select("C:", "Scan")
    case.drive("click", title=TITLE, child_text="Scannen")
    lines = report()
    expected = [("1 Dialersignaturen geladen.", BLACK), ("Scanne das Verzeichnis C:\\Scan", BLACK), ("", BLACK),
                ("C:\\Scan\\dialer.exe - Gefunden: 0190 Testdialer", RED),
                ("C:\\Scan\\verdacht.exe - Verdächtig: " + SUSPICION, YELLOW)] + summary(3, 1, 1)
    case.equal(lines, expected, "report-only run: lines and colours")
    case.check(os.path.exists(os.path.join(scan, "dialer.exe")), "report only: the dialer stays")
    case.drive("close", "--timeout", "10000", title=TITLE)
    case.equal(ended(), 0, "the scanner ends when its window is closed")
    case.equal([option(k) for k in ("Nur melden", "Löschen", "Heuristik")], ["1", "1", "1"], "options written back")

# Second start: the user unticks "Dialer nur melden" and "Gefundene Dialer automatisch isolieren", unticks and
# ticks the heuristics (the warning comes), answers Yes for the dialer and No for the suspicious file.
if start():
    case.drive("click", title=TITLE, child_text="Dialer nur melden")
    case.equal(control("Gefundene Dialer automatisch isolieren").get("enabled"), True, "isolation box active again")
    case.drive("click", title=TITLE, child_text="Gefundene Dialer automatisch isolieren")
    case.drive("click", title=TITLE, child_text="Heuristik während des Scans aktivieren")
    rc, _ = case.drive("wait", "--timeout", "1500", title="WARNHINWEIS")
    case.check(rc != 0, "no warning when unticking")
    case.drive("click", title=TITLE, child_text="Heuristik während des Scans aktivieren")
    case.equal(case.answer("WARNHINWEIS", "ok"), [WARNING], "the heuristics warning when ticking")

    select("C:", "Scan")
    case.drive("click", title=TITLE, child_text="Scannen")
    question = case.answer(TITLE, "yes")
    case.equal(question, ["Es wurde ein Dialer in der Datei \"C:\\Scan\\dialer.exe\" gefunden. Soll er isoliert "
                          "werden?"], "question for the dialer")
    question = case.answer(TITLE, "no")
    case.equal(question, ["Es wurde eine verdächtige Datei \"C:\\Scan\\verdacht.exe\" gefunden. Die Analyse ergab "
                          "folgendes Ergebnis: %s. Soll die Datei isoliert werden?" % SUSPICION],
               "question for the suspicious file")
    lines = report()
    run = lines[1:]
    case.equal(run, [("Scanne das Verzeichnis C:\\Scan", BLACK), ("", BLACK),
                     ("C:\\Scan\\dialer.exe - Gefunden: 0190 Testdialer", RED),
                     ("Dialer erfolgreich isoliert.", GREEN),
                     ("C:\\Scan\\verdacht.exe - Verdächtig: " + SUSPICION, YELLOW)] + summary(3, 1, 1),
               "run with questions: lines and colours")
    descriptions = glob.glob(os.path.join(quarantine, "*.dat"))
    case.equal(len(descriptions), 1, "one description file in the quarantine")
    if descriptions:
        with open(descriptions[0], "rb") as f:
            case.equal(f.read(), b"dialer.exe\r\nC:\\Scan\\\r\n0190 Dialer\r\n", "description lines")
        with open(descriptions[0] + ".file", "rb") as f:
            case.equal(f.read(), b"MZ..." + DIALER_MARK, "the data file holds the dialer")
    case.equal(sorted(os.listdir(scan)), ["sauber.txt", "verdacht.exe"], "the dialer moved, No kept the other")
    case.screenshot(os.path.join(case.work, "scanner-after-run.png"))

    # The saved report, converted by LibreOffice, shows the lines in their colours.
    case.drive("click", title=TITLE, child_text="Report speichern")
    dialog = case.wait_window(cls="#32770")
    if case.check(dialog is not None, "save dialog appears"):
        filters = [c["text"] for c in case.children(hwnd=int(dialog, 16)) if c["cls"] == "ComboBox"]
        case.check("VUR 4.0 Reportdatei/RichText" in filters, "the report filter is offered: %r" % filters)
        case.drive("settext", hwnd=int(dialog, 16), child_class="Edit", text="C:\\bericht")
        case.drive("post", hwnd=int(dialog, 16), msg=0x111, wparam=1)  # WM_COMMAND IDOK: "Speichern"
        saved = os.path.join(drive_c, "bericht.rtf")
        mon.wait_for(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0, 10)
        case.check(os.path.exists(saved), "report saved with the extension rtf added")
        if os.path.exists(saved):
            paragraphs = [p for p in rtf_report.paragraphs(saved, os.path.join(case.work, "lo")) if p[0]]
            colours = {text: colour for text, colour in paragraphs}
            case.equal((colours.get("C:\\Scan\\dialer.exe - Gefunden: 0190 Testdialer"),
                        colours.get("Dialer erfolgreich isoliert."),
                        colours.get("C:\\Scan\\verdacht.exe - Verdächtig: " + SUSPICION)), (RED, GREEN, YELLOW),
                       "saved report in red, green and dark yellow")
    case.drive("click", title=TITLE, child_text="Report löschen")
    case.equal(case.report_lines(title=TITLE), [], "report cleared")

    # "Abbrechen" during a run over a large tree (folders of 300 files) ends it within one folder: the press is
    # seen at a folder's start or at a hundredth file, and the walk ends after the entry in hand.
    select("C:", "Gross")
    case.drive("click", title=TITLE, child_text="Scannen")
    case.drive("click", title=TITLE, child_text="Abbrechen")
    lines = report()
    counted = [int(t.split("\t")[-1]) for t, _ in lines if t.startswith("Gescannte Dateien:")]
    case.check(len(counted) == 1 and 0 < counted[0] < 18000 and counted[0] % 100 in (0, 1),
               "cancelled within one folder after %s files" % counted)
    case.equal(control("Scannen").get("enabled"), True, "Scannen active again")

    # Closing during a run cancels it; the window closes after the run, and the options are written then.
    case.drive("click", title=TITLE, child_text="Scannen")
    mon.wait_for(lambda: control("Abbrechen").get("enabled"), 30)
    case.drive("post", title=TITLE, msg=0x10)
    rc, _ = case.drive("gone", "--timeout", "60000", title=TITLE, timeout=90)
    case.equal(rc, 0, "window closes after the run")
    case.equal(ended(), 0, "the scanner ends after the run")
    case.equal([option(k) for k in ("Nur melden", "Löschen", "Heuristik")], ["0", "0", "1"],
               "options written back after the run")
# Third start: "Nur melden" damaged. The error box names it, then the window opens with the box unticked. The
# tree: a dialer below a folder named in Cyrillic (a Unicode name, "?" to the ANSI calls), a dialer another
# program holds open without sharing, and one named as a device, which is never opened.
pruefung = make_tree("Pruefung", {"Дозвон\\dialer.exe": b"MZ..." + DIALER_MARK, "gesperrt.exe": b"MZ..." + DIALER_MARK,
                                  "com1.exe": b"MZ..." + DIALER_MARK, "sauber.txt": b"nichts"})
held = os.path.join(drive_c, "gehalten.txt")
programs = os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "e2e-programs")
case.spawn(os.path.join(programs, "hold_file.exe"), "C:\\Pruefung\\gesperrt.exe", "C:\\gehalten.txt")
case.check(mon.wait_for(lambda: os.path.exists(held), 30), "the helper holds gesperrt.exe")
mon.damage_setting(case, folder, windows_folder, "Scanner", "Nur melden")
process = case.spawn(os.path.join(folder, "scanner.exe"))
told = case.answer(TITLE, "ok")
case.check(any("Nur melden" in t and "beschädigt" in t for t in told or []), "the damaged option is named: %r" % (told,))
if case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "the window opens over the damage"):
    case.drive("click", title=TITLE, child_text="Dialer nur melden")
    select("C:", "Pruefung")
    case.drive("click", title=TITLE, child_text="Scannen")
    lines = report(timeout=60)[1:]
    found = [t for t, c in lines if c == RED]
    case.check(len(found) == 1 and re.fullmatch(r"C:\\Pruefung\\[^\\?]+\\dialer\.exe - Gefunden: 0190 Testdialer",
                                                 found[0]) is not None,
               "the dialer below the Cyrillic folder is found through its short name: %r" % found)
    # Wine lists a folder in no fixed order: the lines between heading and summary are compared as a set.
    case.equal((lines[:2], sorted(l for l in lines[2:-7] if l[1] != RED), lines[-7:]),
               ([("Scanne das Verzeichnis C:\\Pruefung", BLACK), ("", BLACK)],
                [("Datei konnte nicht geprüft werden: C:\\Pruefung\\com1.exe (Gerätename)", YELLOW),
                 ("Datei konnte nicht geprüft werden: C:\\Pruefung\\gesperrt.exe (gesperrt)", YELLOW)],
                summary(2, 1, 0, 2)),
               "not checked: the device name and the locked file, in dark yellow, counted apart")
    case.check(os.path.exists(os.path.join(pruefung, "com1.exe")), "com1.exe untouched")
    case.drive("close", "--timeout", "10000", title=TITLE)
    case.equal(ended(), 0, "the scanner ends")
    # Its default (unticked) was shown: one click ticked it.
    case.equal(option("Nur melden"), "1", "the damaged option started unticked and is written anew")
case.finish()
