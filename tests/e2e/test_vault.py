"""vault.exe under Wine with a dialer that the monitor isolated: the list with an orphan beside it, its total,
sorting by a column both ways; restoring refuses to overwrite a file that took the old name and offers
another; the restored dialer is isolated again and shows up when the window is activated; deleting removes
both files, and the orphan can be deleted but not restored. Screenshots land in the work folder."""
import os
import shutil
import time

from harness import Case
import monitor_support as mon

TITLE = "VUR 3.5 Quarantäne"
WM_ACTIVATE, WA_ACTIVE = 0x0006, 1

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist("VUR Vault")
quarantine = os.path.join(linux_dir, "quarantäne")
programs = os.path.join(os.path.dirname(os.path.normpath(case.args.dist)), "e2e-programs")
tools_linux = os.path.join(case.prefix, "drive_c", "Test Programme")
shutil.rmtree(tools_linux, ignore_errors=True)
os.makedirs(tools_linux)
dialer_linux = os.path.join(tools_linux, "Testdialer Programm.exe")
shutil.copy(os.path.join(programs, "test_dialer.exe"), dialer_linux)
with open(dialer_linux, "rb") as f:
    dialer_bytes = f.read()


def pairs():
    return sorted(os.listdir(quarantine))


def isolate(program):
    """Starts a dialer; the monitor at "Infizierte Anwendung" 3 ends and isolates it without a question."""
    def isolated():
        return len([f for f in pairs() if f.endswith(".dat.file")])
    before = isolated()
    case.spawn(program)
    return mon.wait_for(lambda: isolated() > before, 15)


def rows():
    found = case.list_rows(title=TITLE) or {}
    return found.get("rows", []), found.get("selected", -1)


def total():
    texts = [c["text"] for c in case.children(title=TITLE) if c["cls"] == "Static" and ("in Quarantäne" in c["text"] or "ist leer" in c["text"])]
    return texts[0] if texts else None


def buttons():
    return {c["text"]: c["enabled"] for c in case.children(title=TITLE) if c["cls"] == "Button"}


def select(name):
    """Clicks the row whose first column is `name` (rows are 16 to 19 pixels high below a header of about 20)."""
    listed, _ = rows()
    if name not in [r[0] for r in listed]:
        return False
    index = [r[0] for r in listed].index(name)
    for y in range(22, 60, 3):
        case.drive("click", title=TITLE, child_class="SysListView32", at="60,%d" % (y + index * 17))
        listed, selected = rows()
        if selected == index:
            return True
    return False


def activate():
    # Under Xvfb there is no window manager to hand out activation, so the message a switch sends is sent.
    case.drive("send", title=TITLE, msg=WM_ACTIVATE, wparam=WA_ACTIVE)


mon.write_settings(case, linux_dir, [("Generell", "Infizierte Anwendung", 3), ("Generell", "Neue Anwendung", 3),
                                     ("Generell", "AutoStart", 1)])
mon.start_monitor(case, linux_dir, windows_dir)
case.check(isolate("C:\\Test Programme\\Testdialer Programm.exe"), "the monitor isolates the dialer")
with open(os.path.join(quarantine, "424242.dat.file"), "wb") as f:
    f.write(b"orphan")  # a data file without its description
with open(dialer_linux, "wb") as f:
    f.write(b"decoy")  # a file that took the dialer's place meanwhile

case.spawn(windows_dir + "vault.exe", cwd=linux_dir)
case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "the quarantine window appears")
listed, _ = rows()
dialer_size = ("%.1f KB" % (len(dialer_bytes) / 1024.0)).replace(".", ",")
case.equal(sorted((r[0], r[1], r[2], r[4]) for r in listed),
           [("424242.dat.file", "unbekannt", "Beschreibung fehlt", "6 Bytes"),
            ("testdialer programm.exe", "c:\\test programme\\", "0190 Dialer", dialer_size)],
           "the rows: the isolated dialer and the orphan")
case.check(all(len(r) == 5 and r[3].count(".") == 2 for r in listed), "every row has its date")
case.check(total() is not None and total().startswith("2 Dateien in Quarantäne, zusammen "), "the total: %r" % total())
case.equal(buttons(), {"Wiederherstellen": False, "Endgültig löschen": False}, "nothing selected, nothing to do")
case.screenshot(os.path.join(case.work, "vault.png"))

# Sorting by "Datei": up, then down on a second click.
case.drive("click", title=TITLE, child_class="SysListView32", at="40,8")
case.equal([r[0] for r in rows()[0]], ["424242.dat.file", "testdialer programm.exe"], "sorted by file name")
time.sleep(1)  # not a double click
case.drive("click", title=TITLE, child_class="SysListView32", at="40,8")
case.equal([r[0] for r in rows()[0]], ["testdialer programm.exe", "424242.dat.file"], "and the other way round")

case.check(select("424242.dat.file"), "the orphan can be selected")
case.equal(buttons(), {"Wiederherstellen": False, "Endgültig löschen": True}, "an orphan can only be deleted")

# Restoring: the question names the reason; the taken name is not overwritten, another one is offered.
case.check(select("testdialer programm.exe"), "the dialer can be selected")
case.equal(buttons(), {"Wiederherstellen": True, "Endgültig löschen": True}, "a complete pair can be restored")
case.drive("click", title=TITLE, child_text="Wiederherstellen")
first = case.answer(TITLE, "yes")
case.check(first is not None and any("0190 Dialer" in t for t in first), "the question names the reason: %r" % first)
second = case.answer(TITLE, "yes")
case.check(second is not None and any("„testdialer programm (2).exe“" in t for t in second),
           "another name is offered: %r" % second)
restored = os.path.join(tools_linux, "testdialer programm (2).exe")
case.check(mon.wait_for(lambda: os.path.exists(restored), 5), "the dialer is back under the other name")
with open(dialer_linux, "rb") as f:
    case.equal(f.read(), b"decoy", "the file that took the name is untouched")
if os.path.exists(restored):
    with open(restored, "rb") as f:
        case.check(f.read() == dialer_bytes, "the restored file is the dialer, byte for byte")
case.equal(pairs(), ["424242.dat.file"], "no pair is left in the quarantine folder")
case.equal([r[0] for r in rows()[0]], ["424242.dat.file"], "the list has only the orphan")

# The restored dialer runs again and is isolated again; the window shows it once it is activated.
case.check(isolate("C:\\Test Programme\\testdialer programm (2).exe"), "the restored dialer is isolated again")
activate()
case.check(mon.wait_for(lambda: "testdialer programm (2).exe" in [r[0] for r in rows()[0]], 5),
           "activating the window reads the folder again")
case.screenshot(os.path.join(case.work, "vault-again.png"))

# Deleting: both files of the pair go, then the orphan.
case.check(select("testdialer programm (2).exe"), "the isolated dialer can be selected again")
case.drive("click", title=TITLE, child_text="Endgültig löschen")
asked = case.answer(TITLE, "yes")
case.check(asked is not None and any("endgültig gelöscht" in t for t in asked), "deleting asks first: %r" % asked)
case.check(mon.wait_for(lambda: pairs() == ["424242.dat.file"], 5), "both files of the pair are deleted")
case.check(select("424242.dat.file"), "the orphan can be selected for deletion")
case.drive("click", title=TITLE, child_text="Endgültig löschen")
asked = case.answer(TITLE, "yes")
case.check(asked is not None and any("fehlt die Beschreibung" in t for t in asked), "the orphan's question: %r" % asked)
case.check(mon.wait_for(lambda: pairs() == [], 5), "the quarantine folder is empty")
case.equal(rows()[0], [], "and so is the list")
mon.wait_for(lambda: total() == "Die Quarantäne ist leer.", 5)  # the label follows the list a moment later
case.equal(total(), "Die Quarantäne ist leer.", "the total of an empty quarantine")
case.finish()
