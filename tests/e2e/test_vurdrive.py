"""The e2e tools themselves: vurdrive answers a real message box and bounds its waits; recorders log starts."""
import os
import time

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
case.finish()
