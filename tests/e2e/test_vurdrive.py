"""The e2e tools themselves: vurdrive answers a real message box, bounds its waits and reads a rich edit
control and a combo box; recorders log starts; LibreOffice reads an RTF file as the rich edit control shows it."""
import os
import time

import rtf_report
from harness import Case

case = Case(__doc__)
folder, windows_folder = case.install_dist("VUR Drive")

# Wine's msiexec shows its usage in a message box captioned "Error".
case.spawn("msiexec", "/?")
case.check(case.wait_window(cls="#32770", title="Error") is not None, "message box appears")
rc, out = case.drive("list", "--hidden", "0", exe="msiexec.exe")
case.check("#32770\t1\tError" in out, "list by exe name shows the box: %r" % out)
texts = case.answer("Error", "ok")
case.check(texts is not None and texts[0].startswith("Windows Installer") and "\tmsiexec" not in texts[0]
           and "\n\nUsage:" in texts[0], "answer returns the box's text with its line breaks: %r" % (texts,))
deadline = time.time() + 10
while time.time() < deadline and case.drive("pids", exe="msiexec.exe")[1].strip():
    time.sleep(0.2)
case.equal(case.drive("pids", exe="msiexec.exe")[1].strip(), "", "msiexec ended after the answer")

# Every wait is bounded, and a miss is exit code 1.
started = time.time()
rc, out = case.drive("wait", "--timeout", "700", title="no such window")
case.equal(rc, 1, "wait for a missing window")
case.check(time.time() - started < 15, "wait ends after its timeout")
case.equal(case.answer("no such box", "yes", timeout_ms=500), None, "answer without a box")
case.equal(case.drive("frobnicate")[0], 2, "unknown command is a usage error")

# Recorders: one line per start, arguments after a tab, concurrent starts all recorded.
case.install_recorders(folder, "vault.exe", "update.exe")
runs = [case.spawn(os.path.join(folder, "vault.exe")) for _ in range(3)]
runs.append(case.spawn(os.path.join(folder, "update.exe"), "/x", "two words"))
for run in runs:
    run.wait(timeout=60)
lines = case.started(folder)
case.equal(sorted(lines), ["update.exe\t/x \"two words\"", "vault.exe", "vault.exe", "vault.exe"],
           "one line per start")

# A rich edit control of another process: Wine's Wordpad (riched20, which ends paragraphs with a bare CR
# where riched32 keeps CR LF) shows an RTF file; its lines and colours, and LibreOffice's, are those written.
rtf = os.path.join(folder, "farben.rtf")
with open(rtf, "wb") as f:
    f.write(b"{\\rtf1\\ansi\\ansicpg1252{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;"
            b"\\red159\\green159\\blue0;}\n"
            b"Ohne Farbe\\par\n\\cf1 Rot: Einwahl 0190\\par\n\\cf2 Gr\\'fcn\\tab mit Tab\\par\n\\par\n"
            b"\\cf3 Oliv \\\\ Ende\\par\n}")
expected = [("Ohne Farbe", (0, 0, 0)), ("Rot: Einwahl 0190", (255, 0, 0)), ("Grün\tmit Tab", (0, 128, 0)),
            ("", (0, 128, 0)), ("Oliv \\ Ende", (159, 159, 0))]
case.spawn("C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe", windows_folder + "farben.rtf")
editor = dict(cls="WORDPADTOP", child_class="RichEdit20W")
case.check(case.wait_window(**editor) is not None, "Wordpad shows the file")
EM_SETSEL, EM_GETSEL = 0xB1, 0xB0
case.drive("send", msg=EM_SETSEL, wparam=3, lparam=7, **editor)
case.equal(case.report_lines(**editor), expected, "report: lines and their colours")
case.equal(case.drive("send", msg=EM_GETSEL, **editor)[1].strip(), str(7 << 16 | 3),
           "report restores the selection")
WM_CLEAR = 0x303
case.drive("send", msg=EM_SETSEL, wparam=0, lparam=-1, **editor)
case.drive("send", msg=WM_CLEAR, **editor)
case.equal(case.report_lines(**editor), [], "an empty control has no lines")
# Wordpad's font size box is a ComboBoxEx32 around an owner-drawn combo box that keeps no strings; a rich
# edit control is neither a list view nor a combo box.
sizes = case.combo_lines(cls="WORDPADTOP", child_id=2014)
case.equal(sizes and (len(sizes["lines"]), set(sizes["lines"])), (16, {""}), "items: the size box's 16 lines")
case.equal(case.list_rows(**editor), None, "items: a rich edit control is no list")
case.equal([(text, colour or (0, 0, 0)) for text, colour in rtf_report.paragraphs(rtf)], expected,
           "LibreOffice's paragraphs (automatic colour: black)")
case.finish()
