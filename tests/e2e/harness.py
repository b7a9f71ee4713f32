"""Shared pieces of the end-to-end tests: the Wine prefix, the program folder, running programs, checks."""
import argparse
import atexit
import os
import shutil
import subprocess
import sys
import tempfile
import time

# Wine's loader and prefix kind per architecture, as tests/wine/wine-env has them.
LOADERS = {"x86": "wine", "x64": "/usr/lib/wine/wine64"}
WINEARCHS = {"x86": "win32", "x64": "win64"}
# The suite tests a test build (the test key), whose updater and setup titles end with this
# (cmake/UpdateKey.cmake).
TITLE_SUFFIX = " (Testversion)"


class Case:
    """One e2e script run: its prefix, its program folder, and the checks it has made."""

    def __init__(self, description):
        parser = argparse.ArgumentParser(description=description)
        parser.add_argument("--prefix", required=True)
        parser.add_argument("--version", required=True)
        parser.add_argument("--arch", choices=sorted(LOADERS), default="x86")
        parser.add_argument("--dist", required=True)
        parser.add_argument("--work", required=True)
        parser.add_argument("--native-bin", required=True)
        parser.add_argument("--driver", help="vurdrive.exe to use instead of the one beside dist")
        self.args = parser.parse_args()
        self.prefix = os.path.abspath(self.args.prefix)
        self.version = self.args.version
        self.arch = self.args.arch
        self.loader = LOADERS[self.arch]
        self.work = self.args.work
        self.native_bin = self.args.native_bin
        self.failures = 0
        self.checks = 0
        self.spawned = []
        self.shown = set()
        # The win32 tree beside dist: the e2e driver in bin/, the recorder stand-ins in standins/recorder/.
        self.win32_build = os.path.dirname(os.path.normpath(self.args.dist))
        self.driver = self.args.driver or os.path.join(self.win32_build, "bin", "vurdrive.exe")
        self.recorder_dir = os.path.join(self.win32_build, "standins", "recorder")
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        # A script that broke off half-way may have left programs running in this prefix: they would keep its
        # wineserver alive, and every later script would wait for it in vain at its end. Scripts of one prefix
        # never run at the same time (CTest's prefix lock), so whatever runs there now is a leftover.
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=60, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        atexit.register(self._end_spawned)

    # The program folder: dist copied below drive C: under a long name with a blank in it.
    def install_dist(self, folder="VUR Test"):
        linux = os.path.join(self.prefix, "drive_c", folder)
        shutil.rmtree(linux, ignore_errors=True)
        shutil.copytree(self.args.dist, linux)
        return linux, "C:\\" + folder + "\\"

    def env(self):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.prefix, WINEARCH=WINEARCHS[self.arch], WINEDEBUG=env.get("WINEDEBUG", "-all"))
        return env

    def wine(self, program, *args, timeout=60, debug=None):
        """Runs a Windows program to its end; returns (exit code, stdout bytes, stderr bytes). debug: the
        WINEDEBUG channels of this run, for a script that reads Wine's own messages."""
        return self._run([self.loader, program, *args], timeout, debug)

    # Output goes through files, not pipes: the first Wine program of a session may start the desktop process,
    # which inherits its handles and outlives it, so a pipe would never reach its end.
    def _run(self, argv, timeout, debug=None):
        env = self.env()
        if debug is not None:
            env["WINEDEBUG"] = debug
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(argv, env=env, stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            return done.returncode, out.read(), err.read()

    def native(self, program, *args):
        done = subprocess.run([os.path.join(self.native_bin, program), *args], capture_output=True, timeout=60)
        return done.returncode, done.stdout, done.stderr

    def spawn(self, program, *args, cwd=None):
        """Starts a Windows program in the background; finish() ends it if it is still running."""
        process = subprocess.Popen([self.loader, program, *args], env=self.env(), cwd=cwd, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.spawned.append(process)
        return process

    # vurdrive: keyword options become "--name value" (cls= for --class, underscores become dashes).
    def drive(self, command, *extra, timeout=60, **options):
        """Runs one vurdrive command; returns (exit code, stdout as text decoded from CP1252)."""
        argv = [self.loader, self.driver, command, *extra]
        for key, value in options.items():
            if value is None:
                continue
            argv += ["--" + ("class" if key == "cls" else key.replace("_", "-")), str(value)]
        rc, out, err = self._run(argv, timeout)
        self.last_error = err.decode("cp1252", errors="replace").strip()
        return rc, out.decode("cp1252", errors="replace").replace("\r\n", "\n")

    def wait_window(self, timeout_ms=15000, **query):
        """Waits for a window; returns its handle as text, or None after the timeout. The first time a
        visible window appears, the screen is kept as window-<n>-<title or class>.png in the work folder."""
        rc, out = self.drive("wait", "--timeout", str(timeout_ms), timeout=timeout_ms / 1000 + 30, **query)
        handle = out.strip() if rc == 0 else None
        if handle and not query.get("hidden") and handle not in self.shown:
            self.shown.add(handle)
            time.sleep(0.3)  # its first paint
            label = "".join(c if c.isalnum() else "_" for c in str(query.get("title") or query.get("cls")))
            self.screenshot(os.path.join(self.work, "window-%02d-%s.png" % (len(self.shown), label)))
        return handle

    def children(self, **query):
        """The window's descendants as dicts: handle, cls, id, x, y, width, height, visible, enabled, text."""
        rc, out = self.drive("text", **query)
        rows = []
        for line in out.splitlines()[1:] if rc == 0 else []:
            handle, cls, ident, rect, visible, enabled, text = (line.split("\t", 6) + [""] * 7)[:7]
            x, y, w, h = (int(v) for v in rect.split(","))
            rows.append(dict(handle=handle, cls=cls, id=int(ident), x=x, y=y, width=w, height=h,
                             visible=visible == "1", enabled=enabled == "1", text=unescape(text)))
        return rows

    def where(self, **query):
        """The window's frame and client area on the screen: dict left, top, width, height, client_left,
        client_top, client_width, client_height; None when there is no such window."""
        rc, out = self.drive("where", **query)
        if rc != 0:
            return None
        keys = ("left", "top", "width", "height", "client_left", "client_top", "client_width", "client_height")
        return dict(zip(keys, (int(v) for v in out.split())))

    def _read_control(self, command, **query):
        """Output of a vurdrive command that reads another program's control, or None when it keeps failing.
        On a busy machine a control may miss the driver's 2 s answer time now and then (the scanner runs at
        idle priority), so a read is tried again before it counts as missing."""
        for attempt in range(4):
            rc, out = self.drive(command, **query)
            if rc == 0:
                return out
            time.sleep(0.5)
        print("vurdrive %s: %s" % (command, self.last_error))
        return None

    def report_lines(self, child_class="RICHEDIT", **query):
        """The lines of a rich edit control as (text, (r, g, b)), the colour of each line's first character;
        None when there is no such control. A final line break ends the last line, it starts no empty one."""
        out = self._read_control("report", child_class=child_class, **query)
        if out is None:
            return None
        rows = out.split("\n")[:-1]  # not splitlines(): it also breaks at form feeds and other controls
        return [(unescape(text), tuple(bytes.fromhex(colour))) for colour, text in (r.split("\t", 1) for r in rows)]

    def list_rows(self, child_class="SysListView32", **query):
        """A list view's dict count, columns, selected (the first selected row or -1), widths (pixels per column)
        and rows (each a list of its column texts); None when there is no such list view."""
        out = self._read_control("items", child_class=child_class, **query)
        lines = out.split("\n")[:-1] if out is not None else []  # not splitlines(): texts may hold form feeds
        if not lines or lines[0].count("\t") != 3:
            return None
        count, columns, selected, widths = lines[0].split("\t")
        return dict(count=int(count), columns=int(columns), selected=int(selected),
                    widths=[int(w) for w in widths.split(",") if w],
                    rows=[[unescape(text) for text in line.split("\t")] for line in lines[1:]])

    def combo_lines(self, child_class="ComboBox", **query):
        """A combo box's dict selected (-1 when none) and lines (the texts of its list); None when there is no
        such combo box."""
        out = self._read_control("items", child_class=child_class, **query)
        lines = out.split("\n")[:-1] if out is not None else []
        if not lines or lines[0].count("\t") != 1:
            return None
        return dict(selected=int(lines[0].split("\t")[1]), lines=[unescape(line) for line in lines[1:]])

    def answer(self, title, button, timeout_ms=10000):
        """Answers the message box with this caption; returns its texts (list) or None if none came."""
        rc, out = self.drive("answer", "--timeout", str(timeout_ms), timeout=timeout_ms / 1000 + 30, title=title,
                             button=button)
        return [unescape(line) for line in out.splitlines()] if rc == 0 else None

    def screenshot(self, path):
        """Saves the whole Xvfb screen as PNG (needs DISPLAY, which scripts/test's xvfb-run provides)."""
        xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, timeout=30, check=True)
        subprocess.run(["convert", "xwd:-", "png:" + path], input=xwd.stdout, timeout=30, check=True)
        return path

    def screenshot_window(self, title, path):
        """Saves one top-level window as PNG, taken from its own X window: a dialog shown over its owner
        comes out black in a shot of the whole screen under Xvfb without a window manager."""
        tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, timeout=30, check=True).stdout
        quoted = ('"%s":' % title).encode("utf-8")
        ids = [line.split()[0] for line in tree.splitlines() if quoted in line]
        if not ids:
            return None
        xwd = subprocess.run(["xwd", "-id", ids[0].decode(), "-silent"], capture_output=True, timeout=30, check=True)
        subprocess.run(["convert", "xwd:-", "png:" + path], input=xwd.stdout, timeout=30, check=True)
        return path

    def screen_pixel(self, x, y):
        """(r, g, b) of one screen pixel, read from an X screenshot (works for every process's windows)."""
        xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, timeout=30, check=True)
        out = subprocess.run(["convert", "xwd:-", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "rgb:-"],
                             input=xwd.stdout, capture_output=True, timeout=30, check=True).stdout
        return tuple(out[:3])

    def install_recorders(self, folder, *names):
        """Copies recorder stand-ins (e.g. "scanner.exe") into a program folder, replacing what is there."""
        for name in names:
            shutil.copy(os.path.join(self.recorder_dir, name), os.path.join(folder, name))

    def started(self, folder, wait=0.0, count=None):
        """Lines of started.log in a folder; waits up to `wait` seconds until there are `count` lines."""
        deadline = time.time() + wait
        while True:
            path = os.path.join(folder, "started.log")
            lines = []
            if os.path.exists(path):
                with open(path, "rb") as f:
                    lines = f.read().decode("cp1252").splitlines()
            if count is None or len(lines) >= count or time.time() >= deadline:
                return lines
            time.sleep(0.1)

    def associate(self, extension, command):
        """Makes the shell's "open" of `extension` files (".htm") run `command` (a Windows command line with
        "%1"); returns a function that restores the previous association. Wine 8 does not merge the user's
        classes into HKEY_CLASSES_ROOT, so this changes the prefix for everyone: a test that uses it takes the
        CTest RESOURCE_LOCK "association_<version>" (see startcenter.tests.cmake)."""
        kind = "vurtest" + extension.strip(".")
        rc, out, _ = self.wine("reg", "query", "HKCR\\" + extension, "/ve")
        previous = None
        for line in out.decode("cp1252", errors="replace").splitlines():
            if "REG_SZ" in line:
                previous = line.split("REG_SZ", 1)[1].strip()
        self.wine("reg", "add", "HKCR\\" + kind + "\\shell\\open\\command", "/ve", "/d", command, "/f")
        self.wine("reg", "add", "HKCR\\" + extension, "/ve", "/d", kind, "/f")

        def restore():
            if previous:
                self.wine("reg", "add", "HKCR\\" + extension, "/ve", "/d", previous, "/f")
            else:
                self.wine("reg", "delete", "HKCR\\" + extension, "/ve", "/f")
            self.wine("reg", "delete", "HKCR\\" + kind, "/f")
        return restore

    def check(self, condition, what):
        self.checks += 1
        if not condition:
            self.failures += 1
            print("FAILED: " + what, flush=True)
        return condition

    def equal(self, actual, expected, what):
        return self.check(actual == expected, "%s: expected %r, got %r" % (what, expected, actual))

    def _end_spawned(self):
        for process in self.spawned:
            if process.poll() is None:
                process.kill()
                process.wait(timeout=30)

    def end_programs(self):
        """Ends what spawn() started and waits for the prefix's wineserver to end."""
        self._end_spawned()
        subprocess.run(["wineserver", "-w"], env=self.env(), timeout=60)

    def finish(self):
        self.end_programs()
        print("%s on %s %s: %d checks, %d failed" % (os.path.basename(sys.argv[0]), self.version, self.arch,
                                                     self.checks, self.failures))
        sys.exit(1 if self.failures or not self.checks else 0)


def unescape(text):
    """Undoes vurdrive's escaping of tab, CR, LF and backslash."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)
