"""The static check itself: it passes the real dist and fails folders that break each of its rules."""
import os
import shutil
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
win32, win64 = sys.argv[1], sys.argv[2]
failures = 0


def run(folder, arch):
    done = subprocess.run([sys.executable, os.path.join(here, "check_dist.py"), folder, "--arch", arch],
                          capture_output=True, text=True)
    return done.returncode, done.stdout


def expect(folder, arch, rc, text, what):
    global failures
    got_rc, out = run(folder, arch)
    if got_rc != rc or text not in out:
        failures += 1
        print("FAILED: %s: exit %d, output:\n%s" % (what, got_rc, out))


with tempfile.TemporaryDirectory() as work:
    def folder(name, files):
        path = os.path.join(work, name)
        os.makedirs(path)
        for source, target in files:
            shutil.copy(source, os.path.join(path, target))
        return path

    engines = [(os.path.join(win32, "dist", f), f) for f in ("watch.dll", "vurscan.dll", "vurheur.dll")]
    # The posix-variant test runner imports calls that came after NT 4 (GetTickCount64 among them).
    newer = folder("newer", engines + [(os.path.join(win32, "posix", "bin", "vur_win32_tests.exe"), "t.exe")])
    expect(newer, "x86", 1, "which the list does not have", "a call newer than NT 4 is refused")
    wrong = folder("wrong", [(os.path.join(win64, "dist", f), f) for f in ("watch.dll", "vurscan.dll",
                                                                            "vurheur.dll")])
    expect(wrong, "x86", 1, "machine x86-64, expected i386", "a 64-bit library in the 32-bit folder")
    renamed = folder("renamed", [(os.path.join(win32, "dist", "vurscan.dll"), "watch.dll"),
                                 (os.path.join(win32, "dist", "vurscan.dll"), "vurscan.dll"),
                                 (os.path.join(win32, "dist", "vurheur.dll"), "vurheur.dll")])
    expect(renamed, "x86", 1, "watch.dll does not export HookProc", "a missing entry point")
    # The scanner imports the engines by name: an engine without them would keep it from starting.
    swapped = folder("swapped", [(os.path.join(win32, "dist", "scanner.exe"), "scanner.exe"),
                                 (os.path.join(win32, "dist", "vurheur.dll"), "vurscan.dll"),
                                 (os.path.join(win32, "dist", "vurheur.dll"), "vurheur.dll")])
    expect(swapped, "x86", 1, "scanner.exe imports vurscan.dll!ScanDialers, which that library does not export",
           "an engine without the scanner's imports")
    console = folder("console", engines + [(os.path.join(win32, "dist", "vurconf.exe"), "start.exe")])
    expect(console, "x86", 1, "start.exe: subsystem console, expected gui", "a window program built as console")
    for tree, arch in ((win32, "x86"), (win64, "x64")):
        expect(os.path.join(tree, "dist"), arch, 0, ", 0 problems", "the %s dist passes" % arch)

print("check_dist self-test: %d failed" % failures)
sys.exit(1 if failures else 0)
