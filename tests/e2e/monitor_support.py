"""What the monitor's e2e tests share: settings sealed for the prefix, starting the monitor, the Run value."""
import os
import re
import shutil
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))

RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_VALUE = "VUR starten"


def _registry_string(prefix, key, name):
    """A string value from the prefix's system.reg, or "" (the file is as wineserver last saved it)."""
    with open(os.path.join(prefix, "system.reg"), encoding="utf-8", errors="replace") as f:
        text = f.read()
    header = "[" + key.replace("\\", "\\\\") + "]"
    start = text.find(header)
    if start < 0:
        return ""
    block = text[start:text.find("\n[", start + 1)]
    match = re.search(r'^"%s"="((?:[^"\\]|\\.)*)"' % re.escape(name), block, re.M)
    return match.group(1).replace("\\\\", "\\") if match else ""


def pass_phrases(case, view32=False):
    """(registered owner, product id) as the suite reads them on this prefix's Windows version; view32: as a
    32-bit program in a 64-bit prefix reads them, through the 32-bit view of the machine's software keys."""
    key = ("Software\\Microsoft\\Windows\\CurrentVersion" if case.version == "win98"
           else "Software\\Microsoft\\Windows NT\\CurrentVersion")
    keys = [key.replace("Software\\", "Software\\Wow6432Node\\", 1), key] if view32 else [key]
    for k in keys:
        product = _registry_string(case.prefix, k, "ProductId")
        if product:
            return _registry_string(case.prefix, k, "RegisteredOwner"), product
    return "", ""


def write_settings(case, folder, entries, view32=False):
    """Writes (section, key, value) entries into folder/vur.conf, sealed as this prefix's programs seal them."""
    owner, product = pass_phrases(case, view32)
    for section, key, value in entries:
        rc, _, err = case.native("vurconf", "set", "--owner", owner, "--product", product,
                                 os.path.join(folder, "vur.conf"), section, key, str(value))
        case.equal(rc, 0, "vurconf set %s/%s: %s" % (section, key, err.decode(errors="replace")))


def start_monitor(case, linux_dir, windows_dir):
    """Starts fast.exe from the program folder and waits for the monitor's main window; returns its pid."""
    process = case.spawn(windows_dir + "fast.exe", cwd=linux_dir)
    # Generous: a monitor's first start in a prefix has taken over 30 s while the unit tests and fuzzers ran
    # beside it on a two-core machine; a start that works never waits this long.
    handle = case.wait_window(timeout_ms=90000, cls="TfMain", exe="fast.exe", hidden=1)
    case.check(handle is not None, "the monitor's main window appears")
    return process


def monitor_pids(case):
    rc, out = case.drive("pids", exe="fast.exe")
    return [int(p) for p in out.split()] if rc == 0 else []


def run_value(case):
    """The data of "VUR starten", or None when the value is absent."""
    rc, out, _ = case.wine("reg", "query", RUN_KEY, "/v", RUN_VALUE)
    if rc != 0:
        return None
    for line in out.decode("cp1252", errors="replace").splitlines():
        if RUN_VALUE in line and "REG_SZ" in line:
            return line.split("REG_SZ", 1)[1].strip()
    return None


def set_run_value(case, data):
    case.wine("reg", "add", RUN_KEY, "/v", RUN_VALUE, "/d", data, "/f")


def delete_run_value(case):
    case.wine("reg", "delete", RUN_KEY, "/v", RUN_VALUE, "/f")


def wait_for(condition, seconds):
    """Polls until condition() holds or the time is up; returns the last result."""
    deadline = time.time() + seconds
    result = condition()
    while not result and time.time() < deadline:
        time.sleep(0.2)
        result = condition()
    return result


class RasStandIn:
    """The stand-in RASAPI32.DLL in the prefix's system folder, where the monitor binds it from by full path;
    the case's programs load it instead of Wine's builtin stub, which enumerates nothing. The stand-in reads its
    scenario anew on every call and logs hang-ups and entry reads to rasapi32.scenario.log beside it."""

    def __init__(self, case):
        base_env = case.env
        case.env = lambda: dict(base_env(), WINEDLLOVERRIDES="rasapi32=n")
        system32 = os.path.join(case.prefix, "drive_c", "windows", "system32")
        shutil.copy(os.path.join(case.win32_build, "bin", "rasapi32.dll"), os.path.join(system32, "rasapi32.dll"))
        self.scenario = os.path.join(system32, "rasapi32.scenario")
        self.log_path = self.scenario + ".log"
        # What an earlier script of this prefix left must not start this one with connections.
        for leftover in (self.scenario, self.log_path):
            if os.path.exists(leftover):
                os.remove(leftover)

    def use(self, name):
        """Puts tests/e2e/ras/NAME in place in one step: the stand-in must never see half of it."""
        shutil.copy(os.path.join(HERE, "ras", name), self.scenario + ".new")
        os.replace(self.scenario + ".new", self.scenario)

    def log_lines(self):
        if not os.path.exists(self.log_path):
            return []
        with open(self.log_path, "rb") as f:
            return f.read().decode("cp1252").splitlines()

    def wait_log(self, line, count, seconds):
        return wait_for(lambda: self.log_lines().count(line) >= count, seconds)


def damage_setting(case, linux_dir, windows_dir, section, key):
    """Writes section/key once more with the folder's own admin tool and then spoils its sealed value, as a
    broken disk or a hostile program would: the token is no Base64 any more, so every read of that key fails."""
    path = os.path.join(linux_dir, "vur.conf")
    before = open(path, "rb").read().split(b"\r\n") if os.path.exists(path) else []
    rc, _, _ = case.wine(windows_dir + "vurconf.exe", "set", windows_dir + "vur.conf", section, key, "987654")
    case.equal(rc, 0, "%s/%s written" % (section, key))
    after = open(path, "rb").read().split(b"\r\n")
    changed = [i for i, line in enumerate(after) if line not in before and b"=" in line]
    case.equal(len(changed), 1, "one sealed line holds %s/%s" % (section, key))
    if changed:
        name = after[changed[0]].split(b"=", 1)[0]
        after[changed[0]] = name + b"=!!not*base64!!"
        with open(path, "wb") as f:
            f.write(b"\r\n".join(after))
