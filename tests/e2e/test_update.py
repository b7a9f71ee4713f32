"""update.exe under Wine against nginx on loopback, serving a program folder published with `vurconf updates`:
nothing to update; a changed and a new file fetched, a corrupt and a failing download leaving the installed
files and no temporary file, all counted; a hostile list refused; a file the monitor holds open scheduled and
in place after a restart; an unreachable server with its message and the update page opened. A screenshot of the window after the start of a run lands in the work folder."""
import os
import shutil
import subprocess

from harness import Case
import http_servers
import monitor_support as mon

TITLE = "VUR 3.5 Updater"
DONE = "Update abgeschlossen"

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Update")
nginx = http_servers.Nginx({})
served = os.path.join(nginx.dir, "root")
base_url = "http://%s" % nginx.main


def publish(changes=None, after=None):
    """Serves a copy of the installed folder with `changes` (relative name: bytes), lists it with vurconf,
    then applies `after` (name: bytes or None to remove) to the served files only."""
    shutil.rmtree(served)
    shutil.copytree(folder, served, ignore=shutil.ignore_patterns("vur.conf", "updates.dat", "started.log"))
    for name, data in (changes or {}).items():
        path = os.path.join(served, *name.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    rc, out, err = case.native("vurconf", "updates", served, base_url)
    case.equal(rc, 0, "vurconf updates: %s" % err.decode(errors="replace"))
    for name, data in (after or {}).items():
        path = os.path.join(served, *name.split("\\"))
        if data is None:
            os.remove(path)
        else:
            with open(path, "wb") as f:
                f.write(data)


def run_update(shot=None):
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
        rc, out = case.drive("wait", "--timeout", "30000", cls="#32770")
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
    return [os.path.join(d, n) for d, _, names in os.walk(folder) for n in names if n.endswith("update.tmp")]


try:
    mon.write_settings(case, folder, [("Update", "Server", base_url)])

    # Everything current.
    publish()
    boxes, code = run_update()
    case.equal(boxes, [(DONE, ["Es wurden keine neuen Updates gefunden."])], "nothing to update")
    case.equal(code, 0, "the updater ends after the run")
    case.check(os.path.exists(os.path.join(folder, "updates.dat")), "the list stays in the program folder")

    # A changed page and a new signature file come; a corrupt download and a missing one replace nothing.
    old_scanner, old_config = read("hilfe\\scanner.htm"), read("hilfe\\config.htm")
    publish({"hilfe\\index.htm": b"<html>neu</html>", "signaturen\\neu.dat": b"VUR-NEU",
             "hilfe\\scanner.htm": b"<html>scanner neu</html>", "hilfe\\config.htm": b"<html>config neu</html>"},
            after={"hilfe\\scanner.htm": b"<html>verfaelscht</html>", "hilfe\\config.htm": None})
    boxes, code = run_update(shot="updater-run.png")
    case.equal(boxes, [("Verbindungsfehler", ["Fehler beim Download von hilfe\\config.htm."]),
                       ("CRC Fehler", ["hilfe\\config.htm wurde fehlerhaft übertragen."]),
                       ("CRC Fehler", ["hilfe\\scanner.htm wurde fehlerhaft übertragen."]),
                       (DONE, ["Es wurde(n) 4 neue(s) Update(s) installiert."])],
               "messages of a run with four differing entries")
    case.equal(code, 0, "the updater ends after the run")
    case.equal((read("hilfe\\index.htm"), read("signaturen\\neu.dat")), (b"<html>neu</html>", b"VUR-NEU"),
               "changed and new files in place")
    case.equal((read("hilfe\\scanner.htm"), read("hilfe\\config.htm")), (old_scanner, old_config),
               "a corrupt or failed download leaves the installed file")
    case.equal(temporary_files(), [], "no temporary file left")

    # A list that names a file outside the program folder is refused for that entry.
    publish()
    with open(os.path.join(served, "updates.dat"), "ab") as f:
        f.write(b"Boese\r\n..\\boese.txt\r\n3\r\n-1\r\n%s/index.htm\r\n" % base_url.encode())
    boxes, code = run_update()
    case.equal(boxes, [("Ungültige Updateliste", ["Der Eintrag \"Boese\" der Updateliste wird nicht übernommen. "
                                                  "Der Dateiname verweist aus dem Programmordner heraus."]),
                       (DONE, ["Es wurden keine neuen Updates gefunden."])], "a hostile entry is refused")
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
        case.check(rc == 0 and b"config.exeupdate.tmp" in out.lower(), "scheduled with MoveFileEx: %r" % out[-300:])
    case.end_programs()
    case.wine("wineboot", "-r", timeout=120)
    case.equal(read("config.exe"), installed + b"NEU", "the new file is in place after the restart")
    case.equal(temporary_files(), [], "no temporary file after the restart")

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
