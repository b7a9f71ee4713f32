"""A short smoke run of the shipped 32-bit suite on a machine that cannot execute 32-bit code natively:
qemu-user runs Wine's 32-bit loader through binfmt_misc (for this run only), in a 64-bit prefix. It checks
that the monitor writes the Run value, that the admin tool seals as the native one does, and that the start
center and every later window program opens its window. The 64-bit driver finds the windows. The
application watch stays out: under this emulation a 32-bit module snapshot fails for every process."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from binfmt import QemuI386, Unusable  # noqa: E402
from harness import Case, TITLE_SUFFIX  # noqa: E402
import monitor_support  # noqa: E402

SKIP = 77
# The window programs beside the start center, with their titles; each one in dist is started.
WINDOWS = [
    ("start.exe", "VUR 3.5 Startcenter"),
    ("scanner.exe", "VUR 3.5 Scannermodul"),
    ("config.exe", "VUR 3.5 Regelkonfigurator"),
    ("update.exe", "VUR 3.5 Updater" + TITLE_SUFFIX),
    ("vault.exe", "VUR 3.5 Quarantäne"),
]
START_SECONDS = 300  # a 32-bit program takes about a minute to start under emulation
# The whole run ends well inside CTest's timeout, so that the emulator's registration is always removed: a
# run killed from outside would leave every later 32-bit program of the machine emulated.
RUN_SECONDS = 1000

case = Case(__doc__)
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
emulation = QemuI386()
try:
    emulation.start()
except Unusable as e:
    print("skipped: %s" % e)
    sys.exit(SKIP)
began = time.time()
# qemu-user reads its options from the environment of every program binfmt_misc hands it. Left to choose its
# own guest address space, qemu-user 7.2 on recent kernels cannot give 32-bit Wine the fixed address of its
# shared data page; with the space reserved below 0xF7000000 it can, and Wine needs nothing above that.
os.environ.setdefault("QEMU_RESERVED_VA", "0xf7000000")


def budget():
    """Seconds one wait may take: START_SECONDS, less when the run's time is nearly used up."""
    return max(1, min(START_SECONDS, int(began + RUN_SECONDS - time.time())))


try:
    print("32-bit programs run through binfmt_misc entry %s" % emulation.entry, flush=True)
    # Made while the emulator is registered: Wine sets up the 32-bit half of a 64-bit prefix only when it can
    # run 32-bit programs, and without that half no 32-bit program starts at all.
    subprocess.run([os.path.join(root, "tests", "wine", "make-prefix"), case.prefix, case.version, "x64"],
                   check=True, timeout=budget())
    folder, windows_folder = case.install_dist("VUR")
    # Should qemu-user still fail to give 32-bit Wine the fixed address of its shared data page (another kernel,
    # another qemu), no 32-bit program starts at all, not even Wine's own, and the run says so rather than
    # failing every check.
    _, out, err = case.wine(windows_folder + "vurconf.exe", "version", timeout=budget(), debug="-all,err+virtual")
    probe = (out + err).decode("latin-1")
    if "failed to map the shared user data" in probe:
        print("skipped: 32-bit Wine does not start under this machine's qemu-user (%s)" % probe.strip()[-200:])
        sys.exit(SKIP)
    # Only with a settings file that says "start with Windows" does the monitor write the Run value.
    monitor_support.write_settings(case, folder, [("Generell", "AutoStart", 0)], view32=True)
    monitor_support.delete_run_value(case)
    case.spawn(windows_folder + "fast.exe", cwd=folder)
    started = [(exe, title) for exe, title in WINDOWS if os.path.exists(os.path.join(folder, exe))]
    for exe, _ in started:
        case.spawn(windows_folder + exe, cwd=folder)

    phrase, text = "Prüfsatz", "Einwahl über 0190"
    rc, token, _ = case.wine(windows_folder + "vurconf.exe", "seal", phrase, text, timeout=budget())
    native_rc, native_token, _ = case.native("vurconf", "seal", phrase, text)
    case.equal((rc, token.strip()), (native_rc, native_token.strip()), "vurconf.exe seals as the native tool")

    run = monitor_support.wait_for(lambda: monitor_support.run_value(case), budget())
    case.equal(run, '"%sfast.exe"' % windows_folder, "the monitor writes the Run value")
    for exe, title in started:
        handle = case.wait_window(timeout_ms=budget() * 1000, title=title)
        case.check(handle is not None, "%s opens its window %r" % (exe, title))
    case.screenshot(os.path.join(case.work, "smoke.png"))
finally:
    print("smoke run took %.0f s under emulation" % (time.time() - began), flush=True)
    try:
        case.end_programs()  # while the emulator is still registered: the programs end through it
    finally:
        emulation.stop()
case.finish()
