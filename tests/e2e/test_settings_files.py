"""A settings file written by the native tool reads back in the Windows build, and the other way round."""
import os

from harness import Case
import monitor_support as mon

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
exe = os.path.join(linux_dir, "vurconf.exe")
# This prefix's pass phrases, from its registry. The Windows tool finds them itself.
owner, product = mon.pass_phrases(case)
case.check(product != "", "a product id in the registry")
phrases = ["--owner", owner, "--product", product]
entries = [
    ("Generell", "Verdächtige Anwendung", "2"),
    ("Verbindungen", "49 190 123456", "Büro|49 190 123456"),
    ("Anwendungen", "c:\\programme\\web\\web.exe", "Web|c:\\programme\\web\\web.exe|0A1B2C3D"),
    ("Scanner", "Löschen", "1"),
]
dump = "".join(
    ("[%s]\n" % section if i == 0 or entries[i - 1][0] != section else "") + "%s=%s\n" % (key, value)
    for i, (section, key, value) in enumerate(entries))

# Native writes into the program folder; the Windows tool reads with the installation's phrases.
native_file = os.path.join(linux_dir, "vur.conf")
for section, key, value in entries:
    rc, _, err = case.native("vurconf", "set", *phrases, native_file, section, key, value)
    case.equal(rc, 0, "native set %s/%s: %r" % (section, key, err))
section, key, value = entries[0]
rc, out, err = case.wine(exe, "get", windows_dir + "vur.conf", section, key)
case.equal((rc, out.rstrip(b"\r\n")), (0, value.encode("cp1252")), "Windows get %s/%s" % (section, key))
rc, out, _ = case.wine(exe, "dump", windows_dir + "vur.conf")
case.equal(out.replace(b"\r\n", b"\n"), dump.encode("cp1252"), "Windows dump of the native file")
rc, out, _ = case.wine(exe, "get", windows_dir + "vur.conf", "Generell", "Neue Nummer")
case.equal((rc, out), (1, b""), "a missing entry")

# The Windows tool writes the same operations into a second file: the bytes are the same.
with open(native_file, "rb") as f:
    native_bytes = f.read()
for section, key, value in entries:
    rc, _, err = case.wine(exe, "set", windows_dir + "windows.conf", section, key, value)
    case.equal(rc, 0, "Windows set %s/%s: %r" % (section, key, err))
with open(os.path.join(linux_dir, "windows.conf"), "rb") as f:
    windows_bytes = f.read()
case.equal(windows_bytes, native_bytes, "files written by both builds")
rc, out, _ = case.native("vurconf", "dump", *phrases, os.path.join(linux_dir, "windows.conf"))
case.equal((rc, out.decode()), (0, dump), "native dump of the Windows file")

# A change by the Windows tool is seen by the native one, and a hand-edited token is reported.
rc, _, _ = case.wine(exe, "set", windows_dir + "vur.conf", "Verbindungen", "49 190 123456", "")
rc, out, _ = case.native("vurconf", "get", *phrases, native_file, "Verbindungen", "49 190 123456")
case.equal((rc, out), (0, b"\n"), "emptied entry read natively")
with open(native_file, "ab") as f:
    f.write(b"ABCDE=ABCD\r\n")
rc, out, err = case.wine(exe, "dump", windows_dir + "vur.conf")
case.equal((rc, err.strip()), (1, b"Base64: Incorrect string format"), "hand-edited key name")
case.finish()
