"""What the scanner's e2e scripts share: its window title, the report colours, and reading a run's report."""
import monitor_support as mon

TITLE = "VUR 3.5 Scannermodul"
BLACK, RED, GREEN, YELLOW = (0, 0, 0), (255, 0, 0), (0, 128, 0), (159, 159, 0)


def select(case, *parts):
    rc, out = case.drive("tree", title=TITLE, select="|".join(parts))
    return case.check(rc == 0, "folder %s selected in the tree (%s)" % ("\\".join(parts), out.strip()))


def report(case, wait_for_end=True, timeout=120):
    """The report's lines with colours; with wait_for_end, once the run's last summary line has come."""
    lines = mon.wait_for(lambda: (lambda ls: ls if not wait_for_end or any(
        t == "Scanvorgang erfolgreich abgeschlossen." for t, _ in ls) else None)(case.report_lines(title=TITLE)),
        timeout)
    return lines or case.report_lines(title=TITLE)


def summary(files, dialers, suspicious, unchecked=0):
    return [("", BLACK), ("Gescannte Dateien:\t\t%d" % files, BLACK), ("Gefundene Dialer:\t\t%d" % dialers, BLACK),
            ("Verdächtige Dateien:\t%d" % suspicious, BLACK), ("Nicht prüfbare Dateien:\t%d" % unchecked, BLACK),
            ("Scanvorgang erfolgreich abgeschlossen.", BLACK), ("", BLACK)]
