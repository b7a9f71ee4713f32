"""The heuristics test corpus built with the suite (tests/e2e/programs, dialer look-alikes that never dial and
an honest dialing program), what the engines must say about each, and a test signature file that lists two
of the look-alikes, one by a pattern tied to its PE section ".data" (where the compiler puts volatile data) and one by its whole-file hash."""
import hashlib
import os
import shutil

# Program, the heuristic engine's text (None: clean).
HEURISTIC = {
    "dialer_rasdial.exe": "Wählfunktion RasDialA und Premium-Nummer 0190… gefunden",
    "dialer_wide_number.exe": "Wählfunktion InternetDial und Premium-Nummer 0900… (Unicode) gefunden",
    "dialer_lookup.exe": "Wählfunktion RasDialA (zur Laufzeit gesucht) und Premium-Nummer +881… gefunden",
    "dialer_modem.exe": "Premium-Nummer 0190… und Modem-Wählbefehl ATDT gefunden",
    "dialer_installer.exe": "Wählfunktion lineMakeCallA, Eintrag ins RAS-Telefonbuch und Autostart-Eintrag in "
                            "der Registry gefunden",
    "honest_phonebook.exe": None,
}
# Program, the name its test signature gives it.
LISTED = {"dialer_lookup.exe": "Beispiel-Dialer Satellit", "dialer_modem.exe": "Beispiel-Dialer Modem"}
SIGNATURE_FILE = "beispiele.dat"


def programs_dir(case):
    return os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "e2e-programs", "corpus")


def copy_corpus(case, folder):
    """Copies every corpus program into folder (made afresh)."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name in HEURISTIC:
        shutil.copy(os.path.join(programs_dir(case), name), os.path.join(folder, name))


def write_signatures(case, program_folder):
    """Writes signaturen/beispiele.dat into a program folder; returns how many signatures it holds."""
    with open(os.path.join(programs_dir(case), "dialer_modem.exe"), "rb") as f:
        modem = f.read()
    number = b"+881 6 31234567".hex(" ").upper()
    lines = ["; test signatures for the corpus, never shipped",
             "pattern|%s|section:.data|%s" % (LISTED["dialer_lookup.exe"], number),
             "hash|%s|%d|%s" % (LISTED["dialer_modem.exe"], len(modem), hashlib.sha512(modem).hexdigest())]
    with open(os.path.join(program_folder, "signaturen", SIGNATURE_FILE), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return 2
