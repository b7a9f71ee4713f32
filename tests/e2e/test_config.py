"""config.exe under Wine: a fresh installation's window and what closing it writes; the start mode line that
removes and writes the Run value at once; adding numbers and applications (typed in 8.3 form, missing,
cancelled, a name with a bar refused, also in place); an entry the monitor writes while config is open survives the next save; the window grows and
stops at its minimum size. Screenshots of the three pages and both dialogs land in the work folder."""
import os
import subprocess
import zlib

from harness import Case
import monitor_support as mon

TITLE = "VUR 3.5 Regelkonfigurator"
ADD_NUMBER = "Erlaubte Nummer hinzufügen ..."
ADD_APP = "Erlaubte Anwendung hinzufügen ..."
REPORT, REPORT_END, END_AT_ONCE, SILENT = ("... gemeldet, aber nicht beendet werden.",
                                           "... gemeldet, aber vorerst einmal beendet werden. (empfohlen)",
                                           "... sofort beendet werden.", "... nicht gemeldet werden.")
FRAMES = [  # caption, lines, initial line; top to bottom
    ("VUR soll ...", ["... automatisch beim Start von Windows aktiviert werden. (empfohlen)",
                      "... manuell per Hand aktiviert werden."], 0),
    ("Verbindungen zu nicht erlaubten Telefonnummern sollen ...", [REPORT, REPORT_END, END_AT_ONCE, SILENT], 1),
    ("Nicht erlaubte Anwendungen sollen ...", ["... gemeldet, aber nicht beendet werden. (empfohlen)",
                                               "... gemeldet, aber vorerst einmal beendet werden.", END_AT_ONCE,
                                               SILENT], 0),
    ("Eindeutig erkannte Dialer sollen ...", [REPORT, REPORT_END, END_AT_ONCE,
                                              "... sofort in Quarantäne genommen werden.", SILENT], 1),
    ("Verdächtige Anwendungen sollen ...", [REPORT, REPORT_END, END_AT_ONCE, SILENT], 1),
]
GENERAL_KEYS = ["Neue Nummer", "Neue Anwendung", "Infizierte Anwendung", "Verdächtige Anwendung", "AutoStart"]
CB_SETCURSEL, WM_COMMAND, CBN_SELCHANGE, TCM_SETCURFOCUS = 0x14E, 0x111, 1, 0x1330
WM_SYSCOMMAND, SC_MAXIMIZE, SC_RESTORE = 0x112, 0xF030, 0xF120
LVM_EDITLABELA, WM_KEYDOWN, VK_RETURN = 0x1017, 0x100, 0x0D

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Konfig")
conf = os.path.join(folder, "vur.conf")
drive_c = os.path.join(case.prefix, "drive_c")
run_data = '"%sfast.exe"' % windows_folder
process = None


def settings():
    """The settings file as {section: [(key, value)]}, read with this prefix's pass phrases."""
    owner, product = mon.pass_phrases(case)
    rc, out, _ = case.native("vurconf", "dump", "--owner", owner, "--product", product, conf)
    sections, current = {}, None
    for line in out.decode("utf-8").splitlines() if rc == 0 else []:
        if line.startswith("["):
            current = sections.setdefault(line[1:-1], [])
        elif current is not None:
            current.append(tuple(line.split("=", 1)))
    return sections


def start():
    global process
    process = case.spawn(os.path.join(folder, "config.exe"))
    return case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "configurator window appears")


def close():
    case.drive("close", "--timeout", "10000", title=TITLE)
    try:
        return process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        return None


def of_class(cls, title=TITLE):
    return [c for c in case.children(title=title) if c["cls"] == cls]


def combo(index):
    return case.combo_lines(title=TITLE, child_class="ComboBox", child_index=index) or {}


def allow_list(columns):
    """The list view with that many columns: 2 allowed numbers, 3 allowed applications."""
    for index in (0, 1):
        found = case.list_rows(title=TITLE, child_class="SysListView32", child_index=index) or {}
        if found.get("columns") == columns:
            return found
    return {}


def rows(columns):
    return allow_list(columns).get("rows")


def click_shown(text, title=TITLE):
    """Clicks the visible control with this text (the pages' buttons share their texts)."""
    same = [c for c in case.children(title=title) if c["text"] == text]
    shown = [i for i, c in enumerate(same) if c["visible"]]
    if case.check(len(shown) == 1, "one visible %r" % text):
        case.drive("click", title=title, child_text=text, child_index=shown[0])


def choose(index, line):
    """Picks a line of a drop-down list as a user does: the selection, then its notification, which the form
    passes on to the list wherever it sits."""
    box = of_class("ComboBox")[index]
    case.drive("send", title=TITLE, child_class="ComboBox", child_index=index, msg=CB_SETCURSEL, wparam=line)
    case.drive("post", title=TITLE, msg=WM_COMMAND, wparam=(CBN_SELCHANGE << 16) | box["id"],
               lparam=int(box["handle"], 16))


def show_page(index, name):
    case.drive("send", title=TITLE, child_class="SysTabControl32", msg=TCM_SETCURFOCUS, wparam=index)
    case.screenshot(os.path.join(case.work, "page-%d-%s.png" % (index, name)))


def dialog_texts(title):
    return [(c["cls"], c["text"]) for c in case.children(title=title) if c["cls"] in ("Static", "Edit", "Button")]


def fill(title, name, second):
    case.drive("settext", title=title, child_class="Edit", child_index=0, text=name)
    case.drive("settext", title=title, child_class="Edit", child_index=1, text=second)


# A fresh installation: no settings file, no Run value.
mon.delete_run_value(case)
if start():
    place = case.where(title=TITLE) or {}
    case.equal((place.get("width"), place.get("height")), (528, 500), "window size")
    frames = sorted((c for c in of_class("Button") if c["text"].endswith("...")), key=lambda c: c["y"])
    case.equal([f["text"] for f in frames], [f[0] for f in FRAMES], "frames top to bottom")
    boxes = sorted(range(5), key=lambda i: of_class("ComboBox")[i]["y"])
    case.equal([combo(i).get("lines") for i in boxes], [f[1] for f in FRAMES], "drop-down lines")
    case.equal([combo(i).get("selected") for i in boxes], [f[2] for f in FRAMES], "initial lines")
    numbers, apps = allow_list(2), allow_list(3)
    case.equal((numbers.get("count"), apps.get("count")), (0, 0), "empty lists with their columns")
    list_width = of_class("SysListView32")[0]["width"]
    case.equal((numbers.get("widths", [0])[0], apps.get("widths", [0, 0, 0])[2]), (150, 70), "fixed column widths")
    case.check(abs(sum(apps.get("widths", [])) - (list_width - 4)) <= 2, "columns fill the list: %r of %d" %
               (apps.get("widths"), list_width))
    buttons = [(c["text"], c["enabled"]) for c in of_class("Button") if c["text"] in ("Hinzufügen", "Entfernen")]
    case.equal(buttons, [("Hinzufügen", True), ("Entfernen", False)] * 2, "add and remove buttons")
    case.check(not os.path.exists(conf), "no settings file before the first save")
    show_page(0, "allgemein")
    case.equal(close(), 0, "config ends when its window is closed")
    general = settings().get("Generell", [])
    case.equal(general, list(zip(GENERAL_KEYS, ["1", "0", "1", "1", "0"])), "closing writes the five keys")
    case.equal(mon.run_value(case), run_data, "closing writes the Run value")

# The start mode line acts at once; numbers and applications are added through the dialogs.
if start():
    choose(boxes[0], 1)
    case.check(mon.wait_for(lambda: mon.run_value(case) is None, 10), "the manuell line removes the Run value")
    choose(boxes[0], 0)
    case.equal(mon.wait_for(lambda: mon.run_value(case), 10), run_data, "the first line writes it again")

    show_page(1, "verbindungen")
    click_shown("Hinzufügen")
    if case.check(case.wait_window(title=ADD_NUMBER) is not None, "add-number dialog appears"):
        place = case.where(title=ADD_NUMBER) or {}
        case.equal((place.get("client_width"), place.get("client_height")), (498, 106), "dialog client area")
        case.equal(dialog_texts(ADD_NUMBER), [("Static", "Name:"), ("Edit", ""), ("Static", "Nummer:"),
                                              ("Edit", ""), ("Button", "Nummer hinzufügen"),
                                              ("Button", "Abbrechen")], "add-number dialog")
        fill(ADD_NUMBER, "Büro", "49 190 123456")
        case.check(case.screenshot_window(ADD_NUMBER, os.path.join(case.work, "dialog-nummer.png")) is not None,
                   "screenshot of the add-number dialog")
        case.drive("click", title=ADD_NUMBER, child_text="Nummer hinzufügen")
        case.equal(case.drive("gone", "--timeout", "5000", title=ADD_NUMBER)[0], 0, "dialog closes on add")
    case.equal(rows(2), [["Büro", "49 190 123456"]], "the number's row")
    case.equal(settings().get("Verbindungen"), [("49 190 123456", "Büro|49 190 123456")], "the number saved")
    # Opened again: empty fields; an empty name adds nothing and the dialog stays; "Abbrechen" adds nothing.
    click_shown("Hinzufügen")
    case.wait_window(title=ADD_NUMBER)
    case.equal([t for c, t in dialog_texts(ADD_NUMBER) if c == "Edit"], ["", ""], "fields emptied on opening")
    fill(ADD_NUMBER, "", "49 190 9")
    case.drive("click", title=ADD_NUMBER, child_text="Nummer hinzufügen")
    case.check(case.drive("gone", "--timeout", "1500", title=ADD_NUMBER)[0] != 0, "empty name: dialog stays")
    # A bar would end the name early in the stored entry: refused with a hint, the dialog stays.
    fill(ADD_NUMBER, "Bü|ro", "49 190 9")
    case.drive("click", title=ADD_NUMBER, child_text="Nummer hinzufügen")
    case.equal(case.answer("Ungültiger Name", "ok"), ["Der Name darf kein | enthalten."], "a bar in the name is refused")
    case.check(case.drive("gone", "--timeout", "1500", title=ADD_NUMBER)[0] != 0, "bar in the name: dialog stays")
    case.drive("click", title=ADD_NUMBER, child_text="Abbrechen")
    case.equal(case.drive("gone", "--timeout", "5000", title=ADD_NUMBER)[0], 0, "Abbrechen closes the dialog")
    case.equal(rows(2), [["Büro", "49 190 123456"]], "nothing added by Abbrechen")
    # Renamed in place: a new name with a bar is refused with the same hint, and the row keeps its name.
    lists = [i for i in (0, 1) if (case.list_rows(title=TITLE, child_class="SysListView32", child_index=i) or {})
             .get("columns") == 2]
    if case.check(len(lists) == 1, "the numbers list"):
        case.drive("click", title=TITLE, child_class="SysListView32", child_index=lists[0], at="40,28")
        case.drive("send", title=TITLE, child_class="SysListView32", child_index=lists[0], msg=LVM_EDITLABELA)
        case.drive("settext", title=TITLE, child_class="Edit", text="Zen|trale")
        case.drive("post", title=TITLE, child_class="Edit", msg=WM_KEYDOWN, wparam=VK_RETURN)
        case.equal(case.answer("Ungültiger Name", "ok"), ["Der Name darf kein | enthalten."],
                   "a bar in a new name is refused")
        case.equal(rows(2), [["Büro", "49 190 123456"]], "the row keeps its name")
        case.equal(settings().get("Verbindungen"), [("49 190 123456", "Büro|49 190 123456")], "and its entry")
        case.drive("send", title=TITLE, child_class="SysListView32", child_index=lists[0], msg=LVM_EDITLABELA)
        case.drive("settext", title=TITLE, child_class="Edit", text="Zentrale")
        case.drive("post", title=TITLE, child_class="Edit", msg=WM_KEYDOWN, wparam=VK_RETURN)
        saved = mon.wait_for(lambda: (lambda v: v if v and v[0][1].startswith("Zentrale") else None)(
            settings().get("Verbindungen")), 10)
        case.equal(saved, [("49 190 123456", "Zentrale|49 190 123456")], "another new name is saved")
        case.equal(rows(2), [["Zentrale", "49 190 123456"]], "and shown")

    # An application typed in its short form, upper case, is stored long and lower case with its checksum.
    program = os.path.join(drive_c, "Lange Programme", "Wählprogramm.exe")
    os.makedirs(os.path.dirname(program), exist_ok=True)
    with open(program, "wb") as f:
        f.write("MZ wählt 0190".encode("cp1252"))
    short = case.drive("shortpath", path="C:\\Lange Programme\\Wählprogramm.exe")[1].strip()
    show_page(2, "anwendungen")
    click_shown("Hinzufügen")
    if case.check(case.wait_window(title=ADD_APP) is not None, "add-application dialog appears"):
        case.equal(dialog_texts(ADD_APP), [("Static", "Name:"), ("Edit", ""), ("Static", "Anwendung:"),
                                           ("Edit", ""), ("Button", "Anwendung hinzufügen"),
                                           ("Button", "Abbrechen"), ("Button", "Durchsuchen")],
                   "add-application dialog")
        case.drive("click", title=ADD_APP, child_text="Durchsuchen")
        dialog = case.wait_window(cls="#32770")
        if case.check(dialog is not None, "open dialog appears"):
            filters = [c["text"] for c in case.children(hwnd=int(dialog, 16)) if c["cls"] == "ComboBox"]
            case.check("Anwendungen" in filters, "the applications filter is offered: %r" % filters)
            case.drive("post", hwnd=int(dialog, 16), msg=WM_COMMAND, wparam=2)  # IDCANCEL
            case.drive("gone", "--timeout", "5000", cls="#32770")
        fill(ADD_APP, "", "C:\\fehlt.exe")
        case.drive("click", title=ADD_APP, child_text="Anwendung hinzufügen")
        case.equal(case.answer("Datei nicht gefunden", "ok"), ["Die angegebene Datei konnte nicht gefunden werden!"],
                   "missing file box")
        case.equal([t for c, t in dialog_texts(ADD_APP) if c == "Edit"], ["", "C:\\fehlt.exe"],
                   "dialog stays with the text")
        fill(ADD_APP, "Mein Wähler", short.upper())
        case.check(case.screenshot_window(ADD_APP, os.path.join(case.work, "dialog-anwendung.png")) is not None,
                   "screenshot of the add-application dialog")
        case.drive("click", title=ADD_APP, child_text="Anwendung hinzufügen")
        case.equal(case.drive("gone", "--timeout", "5000", title=ADD_APP)[0], 0, "dialog closes on add")
    key = "c:\\lange programme\\wählprogramm.exe"
    crc = "%08X" % zlib.crc32("MZ wählt 0190".encode("cp1252"))
    rc, out, _ = case.wine(os.path.join(folder, "vurconf.exe"), "crc", "C:\\Lange Programme\\Wählprogramm.exe")
    case.check(crc in out.decode("cp1252"), "the monitor's checksum routine gives %s: %r" % (crc, out))
    case.check(short.upper() != key.upper(), "the typed path is the short form: %s" % short)
    case.equal(rows(3), [["Mein Wähler", key, crc]], "the application's row")
    case.equal(settings().get("Anwendungen"), [(key, "Mein Wähler|%s|%s" % (key, crc))], "the application saved")

    # The monitor allows a program while config is open; the next save keeps it and shows it.
    dialer = "c:\\dialer\\neu.exe"
    rc, _, err = case.wine(os.path.join(folder, "vurconf.exe"), "set", windows_folder + "vur.conf", "Anwendungen",
                           dialer, "%s|%s|0BADF00D" % (dialer, dialer))
    case.equal(rc, 0, "the monitor's entry written: %r" % err)
    choose(boxes[1], 2)
    case.equal([k for k, _ in settings().get("Anwendungen", [])], [key, dialer], "the monitor's entry survives")
    case.equal(rows(3), [["Mein Wähler", key, crc], [dialer, dialer, "0BADF00D"]], "and is shown")

    # The lists grow with the window; the window stops at its minimum size.
    case.drive("post", title=TITLE, msg=WM_SYSCOMMAND, wparam=SC_MAXIMIZE)
    grown = mon.wait_for(lambda: (lambda l: l if l and l[0]["width"] > list_width + 100 else None)(
        of_class("SysListView32")), 10)
    case.check(grown is not None, "the lists grow with the window")
    wide = allow_list(3)
    case.check(wide.get("widths", [0, 0])[1] > apps.get("widths", [0, 0])[1] + 100, "the path column grows: %r" %
               wide.get("widths"))
    boxes_now = of_class("ComboBox")
    case.check(all(b["width"] > 500 for b in boxes_now), "the drop-down boxes grow")
    case.screenshot(os.path.join(case.work, "maximised.png"))
    case.drive("post", title=TITLE, msg=WM_SYSCOMMAND, wparam=SC_RESTORE)
    mon.wait_for(lambda: (lambda p: p and p["width"] < 600)(case.where(title=TITLE)), 10)
    # resize waits for the window to take the new size: a larger one is taken, a smaller one stops at the minimum.
    case.drive("resize", title=TITLE, size="700,600")
    place = case.where(title=TITLE) or {}
    case.equal((place.get("width"), place.get("height")), (700, 600), "a larger size is taken")
    case.drive("resize", title=TITLE, size="300,200")
    place = case.where(title=TITLE) or {}
    case.equal((place.get("width"), place.get("height")), (528, 500), "no smaller than 528 x 500")

    case.equal(close(), 0, "config ends")
    general = dict(settings().get("Generell", []))
    case.equal((general.get("Neue Nummer"), general.get("AutoStart")), ("2", "0"), "the last choices saved")
case.finish()
