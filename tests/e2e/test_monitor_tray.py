"""The tray icon: added with the monitor, a double click starts the start center, the menu starts the five
programs, a single click does nothing, and a missing program shows nothing."""
import os
import time

from harness import Case
import monitor_support as mon

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
case.install_recorders(linux_dir, "start.exe", "config.exe", "vault.exe", "scanner.exe", "update.exe")


def started():
    return [line.split("\t")[0].strip() for line in case.started(linux_dir)]


def tray_icons():
    # Wine without a desktop tray of X shows the icons as children of its own standalone tray window.
    return len([c for c in case.children(cls="__winex11_standalone_tray", hidden=1)
                if c["cls"] == "__winex11_tray_icon"])


icons_before = tray_icons()
mon.start_monitor(case, linux_dir, windows_dir)
tray = case.wait_window(cls="TForm1", exe="fast.exe", hidden=1)
case.check(tray is not None, "the tray window exists")
case.check(mon.wait_for(lambda: tray_icons() > icons_before, 5), "the notification icon is added")

TRAY_MESSAGE = 0x401
# On a loaded machine the tray menu may take seconds to open and close.
MENU_PICK_TIMEOUT_MS = "20000"
case.drive("post", hwnd=tray, hidden=1, msg=TRAY_MESSAGE, lparam=0x201)  # single click: nothing
case.drive("post", hwnd=tray, hidden=1, msg=TRAY_MESSAGE, lparam=0x202)
time.sleep(1.5)
case.equal(started(), [], "a single click starts nothing")
case.drive("post", hwnd=tray, hidden=1, msg=TRAY_MESSAGE, lparam=0x203)  # double click
case.equal(mon.wait_for(lambda: started() == ["start.exe"] and started(), 8), ["start.exe"],
           "a double click starts the start center")

expected = ["start.exe", "config.exe", "vault.exe", "scanner.exe", "update.exe"]
for index, program in enumerate(expected):
    before = len(started())
    case.drive("post", hwnd=tray, hidden=1, msg=TRAY_MESSAGE, lparam=0x205)  # right button released: the menu
    # The captions are checked in the win32 tier: Wine does not let another process read a menu.
    # The menu may take seconds to open and to close while the unit tests load both cores.
    rc, out = case.drive("menu", "--pick", str(index), "--timeout", MENU_PICK_TIMEOUT_MS, exe="fast.exe")
    case.equal(rc, 0, "menu item %d picked" % index)
    case.equal(mon.wait_for(lambda: len(started()) > before and started()[before:], 8), [program],
               "menu item %d starts %s" % (index, program))

# A missing program: nothing starts and no message box appears. The menu's commands are handled in turn, so
# the program put back and picked once more proves that the pick before it was handled, and started nothing.
vault = os.path.join(linux_dir, "vault.exe")
kept = vault + ".weg"
os.rename(vault, kept)
before = len(started())
case.drive("post", hwnd=tray, hidden=1, msg=TRAY_MESSAGE, lparam=0x205)
rc, out = case.drive("menu", "--pick", "2", "--timeout", MENU_PICK_TIMEOUT_MS, exe="fast.exe")
case.equal(rc, 0, "the menu opened for the missing program: %s" % out.strip())
rc, out = case.drive("gone", "--timeout", "3000", cls="#32768", exe="fast.exe")
case.equal(rc, 0, "the menu closed after the pick")
rc, out = case.drive("list", cls="#32770", exe="fast.exe", hidden=0)
case.equal(out.strip(), "", "a missing program shows no message")
os.rename(kept, vault)
case.drive("post", hwnd=tray, hidden=1, msg=TRAY_MESSAGE, lparam=0x205)
rc, out = case.drive("menu", "--pick", "2", "--timeout", MENU_PICK_TIMEOUT_MS, exe="fast.exe")
case.equal(rc, 0, "menu opened again")
case.equal(mon.wait_for(lambda: len(started()) > before and started()[before:], 8), ["vault.exe"],
           "only the program put back was started, once")
time.sleep(1)
case.equal(started()[before:], ["vault.exe"], "nothing more started")
case.finish()
