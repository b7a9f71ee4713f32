"""start.exe under Wine: its window and texts, hover highlight, what each part of a tile starts, failures."""
import os

from harness import Case

TITLE = "VUR 3.5 Startcenter"
WHITE, HOVER = (255, 255, 255), (186, 204, 173)
TILES = [
    ("Nach Dialern scannen", "scanner.exe",
     "Mit dieser Funktionen kannst Du Deine Datenträger und Festplatten, aber auch Dein Netzwerk auf Dialerbefall "
     "hin untersuchen und entsprechend reinigen."),
    ("Einstellungen bearbeiten", "config.exe",
     "Hier kannst Du einfach und bequem alle Einstellungen von VUR 3.5 kontrollieren und ändern, sowie Verbindungen "
     "oder Anwendungen freigeben."),
    ("Quarantäne", "vault.exe",
     "Diese Funktion ermöglicht Dir, alle von VUR gefundenen Dialer zu isolieren und zu verwalten."),
    ("Ich brauche Hilfe", None,
     "Hier findest Du kompetente Hilfe und Anleitung zum effektiven Einsatz und zur richtigen Bedienung von VUR 3.5."),
    ("VUR updaten", "update.exe",
     "Diese Funktion ermöglicht Dir, Dein VUR 3.5 auf den neuesten Stand zu bringen und Signaturen zur "
     "Dialer-Erkennung herunterzuladen."),
]


# Points in the window's client area: tile i starts at (25, 89 + 65 i) inside the framed box at 24, 88.
def tile_point(index, x, y):
    return "%d,%d" % (25 + x, 89 + 65 * index + y)


FREE, TITLE_TEXT, PICTURE, FREE_RIGHT = (300, 62), (70, 13), (33, 33), (480, 30)

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Startcenter")
case.install_recorders(folder, "scanner.exe", "config.exe", "vault.exe", "update.exe", "browser.exe")
restore = case.associate(".htm", '"%sbrowser.exe" "%%1"' % windows_folder)
try:
    case.spawn(os.path.join(folder, "start.exe"))
    case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "start center window appears")
    place = case.where(title=TITLE) or {}
    case.equal((place.get("client_width"), place.get("client_height")), (536, 435), "client area")
    desktop = (1024, 768)
    case.check(abs(place.get("left", 0) * 2 + place.get("width", 0) - desktop[0]) <= 1 and
               abs(place.get("top", 0) * 2 + place.get("height", 0) - desktop[1]) <= 1, "centred on the desktop")

    children = case.children(title=TITLE)
    texts = [c["text"] for c in children if c["cls"] == "Static"]
    case.equal(texts[:2], ["Willkommen im Startcenter",
                           "Über das Startcenter erreichst Du bequem alle Funktionen von VUR 3.5."], "heading texts")
    case.equal(texts[2:], [t for tile in TILES for t in (tile[0], tile[2])], "tile titles and descriptions")
    boxes = [(c["x"], c["y"], c["width"], c["height"]) for c in children if c["cls"] == "VurWindow"]
    case.check((24, 88, 489, 327) in boxes, "tile box at 24, 88, 489 x 327")
    case.equal([b for b in boxes if b[2:] == (487, 65)], [(25, 89 + 65 * i, 487, 65) for i in range(5)],
               "five tiles stacked without gaps")

    # The pictures come through vurjpeg.dll: the scanner tile's is green where the tile is white or light green.
    tile_picture = case.screen_pixel(place["client_left"] + 25 + PICTURE[0], place["client_top"] + 89 + PICTURE[1])
    case.check(tile_picture not in (WHITE, HOVER) and tile_picture[1] > tile_picture[0], "the tile picture shows: %r"
               % (tile_picture,))

    def colour(index):
        return case.screen_pixel(place["client_left"] + 25 + FREE[0], place["client_top"] + 89 + 65 * index + FREE[1])

    def hover(index):
        case.drive("move", title=TITLE, at=tile_point(index, *FREE))

    # Hover: the tile under the mouse turns green, the others white; leaving the window keeps the highlight.
    hover(0)
    case.equal([colour(i) for i in range(5)], [HOVER, WHITE, WHITE, WHITE, WHITE], "highlight on the first tile")
    hover(3)
    case.equal([colour(i) for i in range(5)], [WHITE, WHITE, WHITE, HOVER, WHITE], "highlight moved to the fourth")
    case.drive("move", title=TITLE, at=tile_point(2, *PICTURE))
    case.equal([colour(i) for i in range(5)], [WHITE, WHITE, HOVER, WHITE, WHITE], "hovering a tile's picture")
    case.drive("move", title=TITLE, at=tile_point(4, *TITLE_TEXT))
    case.equal([colour(i) for i in range(5)], [WHITE, WHITE, WHITE, WHITE, HOVER], "hovering a tile's title")
    hover(3)
    case.drive("move", title=TITLE, at="-40,-40")
    case.equal([colour(i) for i in range(5)], [WHITE, WHITE, WHITE, HOVER, WHITE], "highlight kept after leaving")
    hover(1)
    case.screenshot(os.path.join(case.work, "startcenter.png"))

    # Title, picture and free area of one tile start the same program; each click starts one more instance.
    for n, spot in enumerate((TITLE_TEXT, PICTURE, FREE, FREE_RIGHT), start=1):
        case.drive("click", title=TITLE, at=tile_point(0, *spot))
        case.equal(case.started(folder, wait=10, count=n), ["scanner.exe"] * n, "scanner starts after click %d" % n)
    case.drive("click", title=TITLE, child_text="Einstellungen bearbeiten")
    case.drive("click", title=TITLE, at=tile_point(1, *PICTURE))
    case.drive("click", title=TITLE, at=tile_point(4, *FREE))
    lines = case.started(folder, wait=10, count=7)
    case.equal(sorted(lines[4:]), ["config.exe", "config.exe", "update.exe"],
               "two clicks start config twice, the update tile starts update")

    # The help tile opens the index page with the program the shell has for .htm files.
    case.drive("click", title=TITLE, at=tile_point(3, *FREE))
    lines = case.started(folder, wait=10, count=8)
    case.equal(lines[7:], ['browser.exe\t"%shilfe\\index.htm"' % windows_folder], "help tile opens the index page")

    # A missing program: nothing starts, no message appears, the window stays as it was.
    os.remove(os.path.join(folder, "vault.exe"))
    case.drive("click", title=TITLE, at=tile_point(2, *FREE))
    rc, _ = case.drive("wait", "--timeout", "2000", cls="#32770")
    case.check(rc != 0, "no message box for a missing program")
    case.equal(len(case.started(folder)), 8, "nothing recorded for the missing program")
    case.equal(case.children(title=TITLE), children, "window unchanged after the failed start")
    rc, out = case.drive("list", exe="start.exe", hidden=0)
    case.equal(len(out.splitlines()), 1, "start.exe shows only its window")

    # The recorders' own starts happened and ended; the start center stays open until it is closed.
    rc, _ = case.drive("close", "--timeout", "10000", title=TITLE)
    case.equal(rc, 0, "window closes")

    # Without the picture library the window still comes, after one box that names it (not one per picture).
    os.rename(os.path.join(folder, "vurjpeg.dll"), os.path.join(folder, "vurjpeg.off"))
    case.spawn(os.path.join(folder, "start.exe"))
    texts = case.answer(TITLE, "ok", timeout_ms=20000)
    case.check(texts is not None and any("vurjpeg.dll" in t for t in texts), "the missing library is told: %r"
               % (texts,))
    case.check(case.wait_window(title=TITLE, cls="VurWindow") is not None, "the window comes without its pictures")
    rc, _ = case.drive("wait", "--timeout", "2000", cls="#32770")
    case.check(rc != 0, "told once for all seven pictures")
    rc, _ = case.drive("close", "--timeout", "10000", title=TITLE)
    case.equal(rc, 0, "the window without pictures closes")
finally:
    restore()
case.finish()
