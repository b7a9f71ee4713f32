"""The setup program under Wine, in a fresh prefix of its own. Its first pages, shown one after the other
(screenshots in the work folder), and cancelling; then a silent installation (/S) into the Programs folder:
every dist file, the data folders, the Run value, the uninstall entry, the start menu and the settings
file's "AutoStart"; after a restart the monitor runs. The silent uninstaller ends that monitor, removes every
installed file, the Run value, the entry and the start menu, and keeps vur.conf and the quarantine."""
import filecmp
import os
import subprocess
import time

from harness import Case, TITLE_SUFFIX
import monitor_support as mon

TITLE = "VUR 3.5 Setup" + TITLE_SUFFIX  # each page adds its own part to the caption
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VUR 3.5"

case = Case(__doc__)
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
setup = os.path.join(case.win32_build, "VUR-3.5-Setup.exe")
if not case.check(os.path.exists(setup), "the build made %s" % setup):
    case.finish()
case.prefix = os.path.join(case.work, "prefix")
subprocess.run([os.path.join(root, "tests", "wine", "make-prefix"), case.prefix, case.version, case.arch],
               check=True, timeout=300, stdout=subprocess.DEVNULL)
folder = os.path.join(case.prefix, "drive_c", "Program Files", "VUR")
windows_folder = "C:\\Program Files\\VUR\\"


def shot(name):
    case.screenshot(os.path.join(case.work, "setup-%s.png" % name))


def press(label):
    """Clicks the setup window's button whose text without its "&" is `label`."""
    for child in case.children(title_part=TITLE):
        if child["cls"] == "Button" and child["text"].replace("&", "") == label and child["visible"]:
            case.drive("click", title_part=TITLE, child_text=child["text"])
            time.sleep(1)
            return True
    return case.check(False, "a button %r on the setup page" % label)


def page_texts():
    return [c["text"] for c in case.children(title_part=TITLE) if c["visible"]]


def start_menu_links():
    for base, _, names in os.walk(os.path.join(case.prefix, "drive_c")):
        if os.path.basename(base) == "VUR 3.5" and any(n.endswith(".lnk") for n in names):
            return sorted(names)
    return []


def uninstall_entry():
    rc, out, _ = case.wine("reg", "query", UNINSTALL_KEY)
    return out.decode("cp1252", errors="replace") if rc == 0 else None


# The pages: welcome, the folder, the choices; cancelling leaves nothing behind.
case.spawn(setup)
case.check(case.wait_window(timeout_ms=30000, title_part=TITLE) is not None, "the setup window appears")
case.check(any("VUR 3.5" in t and "Dialer" in t for t in page_texts()), "the welcome page: %r" % page_texts())
shot("1-welcome")
press("Weiter >")
case.check(windows_folder.rstrip("\\") in page_texts(), "the folder page offers %s: %r" % (windows_folder, page_texts()))
shot("2-folder")
press("Weiter >")
shot("3-choices")
case.check("Installieren" in [t.replace("&", "") for t in page_texts()], "the choices page installs next")
press("Abbrechen")
case.answer(TITLE, "yes")
case.check(mon.wait_for(lambda: case.wait_window(timeout_ms=500, title_part=TITLE) is None, 10), "cancelled")
case.check(not os.path.exists(folder), "a cancelled setup installs nothing")
case.end_programs()

# Silent installation with the page's defaults.
rc, _, _ = case.wine(setup, "/S", timeout=180)
case.equal(rc, 0, "the silent setup ends well")
dist = case.args.dist
for base, _, names in os.walk(dist):
    for name in names:
        source = os.path.join(base, name)
        installed = os.path.join(folder, os.path.relpath(source, dist))
        case.check(os.path.exists(installed) and filecmp.cmp(source, installed, shallow=False),
                   "installed as built: %s" % os.path.relpath(source, dist))
for sub in ("quarantäne", "signaturen", "hilfe"):
    case.check(os.path.isdir(os.path.join(folder, sub)), "the folder %s" % sub)
case.check(os.path.exists(os.path.join(folder, "uninstall.exe")), "the uninstaller")
case.equal(mon.run_value(case), '"%sfast.exe"' % windows_folder, "the Run value")
entry = uninstall_entry() or ""
# reg prints the dash of "VUR 3.5 – Dialer-Schutz" as its console's nearest character.
case.check("Dialer-Schutz" in entry and windows_folder + "uninstall.exe" in entry,
           "the uninstall entry: %r" % entry)
case.equal(start_menu_links(), sorted(["VUR Startcenter.lnk", "VUR-Wächter starten.lnk", "Nach Dialern scannen.lnk",
                                       "Einstellungen bearbeiten.lnk", "Quarantäne.lnk", "VUR updaten.lnk",
                                       "Hilfe.lnk", "VUR entfernen.lnk"]), "the start menu")
owner, product = mon.pass_phrases(case)
rc, out, _ = case.native("vurconf", "get", "--owner", owner, "--product", product, os.path.join(folder, "vur.conf"),
                         "Generell", "AutoStart")
case.equal((rc, out.strip()), (0, b"0"), "the settings file says: start with Windows")

# A restart: "wineboot -r" is the restart, a plain "wineboot" the log-on that runs the Run value.
case.end_programs()
case.wine("wineboot", "-r", timeout=120)
case.wine("wineboot", timeout=120)
handle = case.wait_window(timeout_ms=30000, cls="TfMain", exe="fast.exe", hidden=1)
case.check(handle is not None, "the monitor runs after the restart")

# Setup over the running installation: its monitor is ended for the files to be replaced, then runs again.
before = mon.monitor_pids(case)
with open(os.path.join(folder, "hilfe", "index.htm"), "wb") as f:
    f.write(b"old")
rc, _, _ = case.wine(setup, "/S", timeout=180)
case.equal(rc, 0, "setup over a running installation ends well")
with open(os.path.join(folder, "hilfe", "index.htm"), "rb") as f:
    case.check(f.read() != b"old", "its files are replaced")
after = mon.wait_for(lambda: mon.monitor_pids(case), 20) or []
case.check(before and after and not set(before) & set(after), "the monitor was ended and runs again: %r, %r"
           % (before, after))

# An installation started by hand stays so through an update: the settings and the Run value as the
# configurator leaves them.
mon.write_settings(case, folder, [("Generell", "AutoStart", 1)])
mon.delete_run_value(case)
rc, _, _ = case.wine(setup, "/S", timeout=180)
case.equal(mon.run_value(case), None, "an update keeps the start by hand")
rc, out, _ = case.native("vurconf", "get", "--owner", owner, "--product", product, os.path.join(folder, "vur.conf"),
                         "Generell", "AutoStart")
case.equal((rc, out.strip()), (0, b"1"), "and so does the settings file")

quarantined = os.path.join(folder, "quarantäne", "123.dat")
with open(quarantined, "wb") as f:
    f.write(b"x.exe\r\nC:\\\r\n0190 Dialer\r\n")

# The silent uninstaller: it ends this folder's monitor and keeps the settings and the quarantine.
case.wine(os.path.join(folder, "uninstall.exe"), "/S", timeout=120)
# The starter's hook has mapped watch.dll into the desktop process as well, so the uninstaller may only
# schedule it for the restart.
watch_gone = lambda: not os.path.exists(os.path.join(folder, "watch.dll"))
if not mon.wait_for(watch_gone, 20):
    case.wine("wineboot", "-r", timeout=120)
case.check(mon.wait_for(watch_gone, 30), "watch.dll is removed, at the latest at the restart")
case.check(mon.wait_for(lambda: not mon.monitor_pids(case), 10), "the monitor is ended")
left = sorted(os.path.relpath(os.path.join(b, n), folder) for b, _, names in os.walk(folder) for n in names)
case.equal(left, ["quarantäne/123.dat", "vur.conf"], "what the uninstaller leaves")
case.equal(mon.run_value(case), None, "the Run value is removed")
case.equal(uninstall_entry(), None, "the uninstall entry is removed")
case.equal(start_menu_links(), [], "the start menu entries are removed")
case.finish()
