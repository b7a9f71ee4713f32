"""vurconf.exe from dist under Wine gives the same tokens, texts and checksums as the native tool."""
import os

from harness import Case

case = Case(__doc__)
linux_dir, windows_dir = case.install_dist()
exe = os.path.join(linux_dir, "vurconf.exe")

# Arguments arrive as CP1252 in the Windows program and as UTF-8 in the native one: the tokens must agree.
phrase, text = "12345-oem-0000001-54321", "Verdächtige Anwendung"
rc, token, err = case.wine(exe, "seal", phrase, text)
case.equal(rc, 0, "seal exit code")
native_rc, native_token, _ = case.native("vurconf", "seal", phrase, text)
case.equal(token.strip(), native_token.strip(), "token of the Windows and the native tool")

rc, plain, _ = case.wine(exe, "unseal", phrase, token.strip().decode())
case.equal(plain.rstrip(b"\r\n"), text.encode("cp1252"), "unsealed text in CP1252")

rc, hexed, _ = case.wine(exe, "unseal", "--hex", phrase.encode().hex(), native_token.strip().decode())
case.equal(hexed.strip().decode(), text.encode("cp1252").hex(), "unsealed text as hex digits")

rc, out, err = case.wine(exe, "unseal", phrase, "ABCDE")
case.equal(rc, 1, "malformed token exit code")
case.equal(err.strip(), b"Base64: Incorrect string format", "malformed token message")

# Checksums of the program folder's own files, by Windows path, against the native tool on the same files.
with open(os.path.join(case.work, "abc.txt"), "wb") as f:
    f.write(b"abc")
rc, out, _ = case.wine(exe, "crc", windows_dir + "vurconf.exe", "Z:" + os.path.join(case.work, "abc.txt").replace("/", "\\"))
lines = out.decode("cp1252").splitlines()
_, native_out, _ = case.native("vurconf", "crc", exe)
case.equal(lines[0].split("  ")[0] if lines else "", native_out.decode().split("  ")[0], "checksum of vurconf.exe")
case.equal(lines[1].split("  ")[0] if len(lines) > 1 else "", "352441C2", "checksum of abc")
case.finish()
