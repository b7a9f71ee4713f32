"""update.exe under Wine against nginx on loopback, serving a program folder published with `vurconf updates`
and signed with the test key: nothing to update; a file swapped on the server for bytes of the same CRC-32
refused by the signed manifest; an unsigned list and a replayed list of an older serial refused; a changed and
a new file fetched, a corrupt and a failing download leaving the installed files and no temporary file,
counted apart; a hostile entry refused; a file the monitor holds open scheduled, left byte for byte as it was
verified by a second run before the restart, and in place after the restart; on winxp a server that sends one
byte every 5 s ended by its time budget; an unreachable server with its message and the update page opened. A
screenshot of the window after the start of a run lands in the work folder."""
import re
import time
import os
import shutil
import subprocess
import zlib

from harness import Case, TITLE_SUFFIX
import http_servers
import monitor_support as mon

TITLE = "VUR 3.5 Updater" + TITLE_SUFFIX
DONE = "Update abgeschlossen"

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Update")
nginx = http_servers.Nginx({})
served = os.path.join(nginx.dir, "root")
base_url = "http://%s" % nginx.main


TEST_KEY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "keys", "test-update-key.key")


def same_crc(data, other):
    """`other` with four bytes appended so that its CRC-32 is that of `data`: CRC-32 is affine over GF(2),
    so the effect of each suffix bit on the checksum is fixed and the suffix solves a linear system."""
    target = zlib.crc32(data)
    base = zlib.crc32(other + b"\0\0\0\0")
    effects = [zlib.crc32(other + (1 << bit).to_bytes(4, "little")) ^ base for bit in range(32)]
    rows = [(effect, 1 << bit) for bit, effect in enumerate(effects)]
    want, suffix = target ^ base, 0
    for position in range(32):  # Gaussian elimination, pivot by pivot
        pivot = next((r for r in rows if r[0] >> position & 1), None)
        if pivot is None:
            continue
        rows = [(e ^ pivot[0], m ^ pivot[1]) if (e >> position & 1) and (e, m) != pivot else (e, m) for e, m in rows]
        if want >> position & 1:
            want, suffix = want ^ pivot[0], suffix ^ pivot[1]
        rows.remove(pivot)
    forged = other + suffix.to_bytes(4, "little")
    assert zlib.crc32(forged) == target
    return forged


def sign_list_with_openssl():
    """Signs the served list again as it now is, with OpenSSL and the test key, under the same serial."""
    with open(os.path.join(served, "updates.dat.sig"), "rb") as f:
        manifest = f.read()[64:]
    with open(TEST_KEY) as f:
        seed = bytes.fromhex(f.read().strip())
    work = os.path.join(case.work, "openssl")
    os.makedirs(work, exist_ok=True)
    with open(os.path.join(work, "key.der"), "wb") as f:  # PKCS#8 of an Ed25519 seed: a fixed prefix
        f.write(bytes.fromhex("302e020100300506032b657004220420") + seed)
    with open(os.path.join(served, "updates.dat"), "rb") as f, open(os.path.join(work, "m"), "wb") as m:
        listed = f.read()
        m.write(b"VUR 3.5 manifest\n%d\n" % len(listed) + listed + manifest)
    subprocess.run(["openssl", "pkeyutl", "-sign", "-rawin", "-inkey", os.path.join(work, "key.der"), "-keyform",
                    "DER", "-in", os.path.join(work, "m"), "-out", os.path.join(work, "sig")], check=True)
    with open(os.path.join(work, "sig"), "rb") as f, open(os.path.join(served, "updates.dat.sig"), "wb") as out:
        out.write(f.read() + manifest)


def publish(changes=None, after=None, serial=None):
    """Serves a copy of the installed folder with `changes` (relative name: bytes), lists it with vurconf,
    then applies `after` (name: bytes or None to remove) to the served files only."""
    shutil.rmtree(served)
    shutil.copytree(folder, served, ignore=shutil.ignore_patterns("vur.conf", "updates.dat", "started.log"))
    for name, data in (changes or {}).items():
        path = os.path.join(served, *name.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    rc, out, err = case.native("vurconf", "updates", served, base_url, "--key", TEST_KEY,
                               *(["--serial", str(serial)] if serial else []))
    case.equal(rc, 0, "vurconf updates: %s" % err.decode(errors="replace"))
    for name, data in (after or {}).items():
        path = os.path.join(served, *name.split("\\"))
        if data is None:
            os.remove(path)
        else:
            with open(path, "wb") as f:
                f.write(data)


def run_update(shot=None, box_timeout=30):
    """Starts update.exe, presses the button, answers every box with OK; returns [(caption, texts)] and the
    exit code."""
    process = case.spawn(os.path.join(folder, "update.exe"))
    if not case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "updater window appears"):
        return [], None
    case.drive("click", title=TITLE, child_text="VUR jetzt updaten")
    if shot:
        case.screenshot(os.path.join(case.work, shot))
    boxes = []
    while True:
        rc, out = case.drive("wait", "--timeout", str(box_timeout * 1000), cls="#32770", timeout=box_timeout + 30)
        if rc != 0:
            break
        caption = next((w.split("\t")[-1] for w in case.drive("list", cls="#32770", hidden=0)[1].splitlines()), "")
        texts = case.answer(caption, "ok")
        if texts is None:
            break
        boxes.append((caption, texts))
        if caption in (DONE, "Updateserver nicht erreichbar"):
            break
    try:
        code = process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        code = None
    return boxes, code


def read(name):
    with open(os.path.join(folder, *name.split("\\")), "rb") as f:
        return f.read()


def temporary_files():
    return [os.path.join(d, n) for d, _, names in os.walk(folder) for n in names
            if re.search(r"update[0-9a-f]*\.tmp$", n, re.I)]


try:
    mon.write_settings(case, folder, [("Update", "Server", base_url)])

    # Everything current.
    publish()
    boxes, code = run_update()
    case.equal(boxes, [(DONE, ["Es wurden keine neuen Updates gefunden."])], "nothing to update")
    case.equal(code, 0, "the updater ends after the run")
    case.check(os.path.exists(os.path.join(folder, "updates.dat")), "the list stays in the program folder")

    # A changed page and a new file in folders the installation does not have yet come; a corrupt download and a
    # missing one replace nothing.
    old_scanner, old_config = read("hilfe\\scanner.htm"), read("hilfe\\config.htm")
    publish({"hilfe\\index.htm": b"<html>neu</html>", "zusatz\\neu\\neu.dat": b"VUR-NEU",
             "hilfe\\scanner.htm": b"<html>scanner neu</html>", "hilfe\\config.htm": b"<html>config neu</html>"},
            after={"hilfe\\scanner.htm": b"<html>verfaelscht</html>", "hilfe\\config.htm": None})
    boxes, code = run_update(shot="updater-run.png")
    case.equal(boxes, [("Verbindungsfehler", ["Fehler beim Download von hilfe\\config.htm."]),
                       ("CRC Fehler", ["hilfe\\config.htm wurde fehlerhaft übertragen."]),
                       ("CRC Fehler", ["hilfe\\scanner.htm wurde fehlerhaft übertragen."]),
                       (DONE, ["Es wurde(n) 2 neue(s) Update(s) installiert. 2 Update(s) konnten nicht installiert "
                               "werden."])],
               "messages of a run with four differing entries, two of them failing")
    case.equal(code, 0, "the updater ends after the run")
    case.equal((read("hilfe\\index.htm"), read("zusatz\\neu\\neu.dat")), (b"<html>neu</html>", b"VUR-NEU"),
               "changed and new files in place")
    case.equal((read("hilfe\\scanner.htm"), read("hilfe\\config.htm")), (old_scanner, old_config),
               "a corrupt or failed download leaves the installed file")
    case.equal(temporary_files(), [], "no temporary file left")

    # A page swapped on the server for other bytes of the same CRC-32: refused by its signature, the installed
    # page stays. Then an unsigned list and one of an older serial are refused before any entry is read.
    installed_index = read("hilfe\\index.htm")
    genuine = b"<html>neu und echt</html>"
    publish({"hilfe\\index.htm": genuine}, after={"hilfe\\index.htm": same_crc(genuine, b"<html>boese</html>")})
    boxes, code = run_update()
    case.equal(boxes, [("Signaturfehler", ["hilfe\\index.htm stimmt nicht mit der signierten Updateliste überein. "
                                           "Die Datei wurde nicht ersetzt."]),
                       (DONE, ["1 Update(s) konnten nicht installiert werden."])], "a swapped file is refused")
    case.equal(read("hilfe\\index.htm"), installed_index, "the installed page stays")
    case.equal(temporary_files(), [], "no temporary file of a refused download")
    refused = "Updateliste abgelehnt"
    publish({"hilfe\\index.htm": genuine}, after={"updates.dat.sig": None})
    boxes, code = run_update()
    case.equal([c for c, _ in boxes], [refused], "an unsigned list is refused")
    case.equal(code, 0, "the updater ends after a refused list")
    publish({"hilfe\\index.htm": genuine}, serial=1)
    boxes, code = run_update()
    case.check(len(boxes) == 1 and boxes[0][0] == refused and "Nummer 1," in " ".join(boxes[0][1]),
               "a list of an older serial is refused: %r" % boxes)
    case.equal(read("hilfe\\index.htm"), installed_index, "nothing installed from refused lists")

    # A list that names a file outside the program folder is refused for that entry.
    publish()
    with open(os.path.join(served, "updates.dat"), "ab") as f:
        f.write(b"Boese\r\n..\\boese.txt\r\n3\r\n-1\r\n%s/index.htm\r\n" % base_url.encode())
    sign_list_with_openssl()
    boxes, code = run_update()
    case.equal(boxes, [("Ungültige Updateliste", ["Der Eintrag \"Boese\" der Updateliste wird nicht übernommen. "
                                                  "Der Dateiname verweist aus dem Programmordner heraus."]),
                       (DONE, ["1 Update(s) konnten nicht installiert werden."])], "a hostile entry is refused")
    case.check(not os.path.exists(os.path.join(os.path.dirname(folder), "boese.txt")), "nothing written outside")

    # A file the running monitor holds open is scheduled; the next start of Windows puts it in place (on the
    # NT family through MoveFileEx, on 9x through WININIT.INI, both done by Wine's boot step).
    installed = read("config.exe")
    publish({"config.exe": installed + b"NEU"})
    mon.start_monitor(case, folder, windows_folder)
    boxes, code = run_update()
    case.equal(boxes, [(DONE, ["Es wurde(n) 1 neue(s) Update(s) installiert. Um den Updatevorgang abzuschließen "
                               "musst Du Deinen PC neu starten."])], "a file in use asks for a restart")
    case.equal(read("config.exe"), installed, "the file in use stays until the restart")
    if case.version == "win98":
        windows = os.path.join(case.prefix, "drive_c", "windows")
        wininit = next((os.path.join(windows, n) for n in os.listdir(windows) if n.lower() == "wininit.ini"), os.devnull)
        with open(wininit, "rb") as f:
            lines = f.read().decode("cp1252").splitlines()
        case.check(lines[:1] == ["[rename]"] and any(l.split("=")[0].endswith("\\CONFIG.EXE") for l in lines),
                   "scheduled in WININIT.INI: %r" % lines)
    else:
        rc, out, _ = case.wine("reg", "query", "HKLM\\System\\CurrentControlSet\\Control\\Session Manager", "/v",
                               "PendingFileRenameOperations")
        case.check(rc == 0 and b"config.exeupdate" in out.lower(), "scheduled with MoveFileEx: %r" % out[-300:])
    # A second run before the restart finds the verified file waiting and leaves it as it is.
    waiting = temporary_files()
    stamps = [os.stat(path).st_mtime_ns for path in waiting]
    boxes, code = run_update()
    case.equal(boxes, [(DONE, ["Es wurde(n) 1 neue(s) Update(s) installiert. Um den Updatevorgang abzuschließen "
                               "musst Du Deinen PC neu starten."])], "the second run before the restart")
    case.equal([(os.path.basename(p), open(p, "rb").read()) for p in temporary_files()],
               [(os.path.basename(p), installed + b"NEU") for p in waiting], "the waiting file is what was verified")
    case.equal([os.stat(path).st_mtime_ns for path in waiting], stamps, "and was not written again")
    case.end_programs()
    case.wine("wineboot", "-r", timeout=120)
    case.equal(read("config.exe"), installed + b"NEU", "the new file is in place after the restart")
    case.equal(temporary_files(), [], "no temporary file after the restart")

    # A server that sends one byte every 5 s: the file's time budget (its size at 200 bytes/s, plus 60 s) ends
    # the download, and nothing is replaced.
    if case.version == "winxp":
        slow = http_servers.HostileServer()
        try:
            publish({"langsam.dat": b"x" * 100})
            with open(os.path.join(served, "updates.dat"), "rb") as f:
                listed = f.read()
            with open(os.path.join(served, "updates.dat"), "wb") as f:
                f.write(listed.replace(b"%s/langsam.dat" % base_url.encode(), b"http://%s/slow/100" % slow.address.encode()))
            sign_list_with_openssl()
            start = time.monotonic()
            boxes, code = run_update(box_timeout=120)
            took = time.monotonic() - start
            case.equal(boxes[:1], [("Verbindungsfehler", ["Fehler beim Download von langsam.dat."])], "the slow download fails")
            case.equal(boxes[-1:], [(DONE, ["1 Update(s) konnten nicht installiert werden."])], "and is counted")
            case.check(55 < took < 110, "ended by its budget of 60.5 s: the run took %.1f s" % took)
            case.check(not os.path.exists(os.path.join(folder, "langsam.dat")) and temporary_files() == [],
                       "nothing of it stays")
        finally:
            slow.stop()

    # An unreachable server: its message, the update page opened, no list left behind.
    case.install_recorders(folder, "browser.exe")
    restore = case.associate(".htm", '"%sbrowser.exe" "%%1"' % windows_folder)
    try:
        page = windows_folder + "hilfe\\index.htm"
        mon.write_settings(case, folder, [("Update", "Server", "http://127.0.0.1:%d" % http_servers.free_port()),
                                          ("Update", "Seite", page)])
        boxes, code = run_update()
        case.equal([c for c, _ in boxes], ["Updateserver nicht erreichbar"], "the unreachable message")
        case.equal(case.started(folder, wait=10, count=1), ['browser.exe\t"%s"' % page], "the update page opened")
        case.check(not os.path.exists(os.path.join(folder, "updates.dat")), "no list left behind")
        case.equal(code, 0, "the updater ends")
    finally:
        restore()
finally:
    nginx.stop()
case.finish()
