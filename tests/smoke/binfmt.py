"""Runs 32-bit Linux programs through qemu-user for a while: registers qemu-i386-static with binfmt_misc on
start and removes that registration again on stop. An i386 entry the machine already has is used and left
alone; so is a binfmt_misc mount that was there before. An entry under this module's own name is a leftover
of a run that was killed before its stop (a CTest timeout): it is taken over and removed on stop, since
while it stays every 32-bit program of the machine runs under emulation, Wine's prefix set-up included."""
import os
import subprocess

BINFMT = "/proc/sys/fs/binfmt_misc"
QEMU = "/usr/bin/qemu-i386-static"
NAME = "vur-smoke-i386"
# ELF, 32-bit, little-endian, version 1, executable or shared object, machine 3 (i386).
MAGIC = b"\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00"
MASK = b"\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff"
I386_MAGIC_TEXT = "magic 7f454c4601010100000000000000000002000300"


class Unusable(Exception):
    """binfmt_misc cannot be used here; the message says why."""


def existing_i386_entry():
    if not os.path.isdir(BINFMT):
        return None
    for name in os.listdir(BINFMT):
        if name in ("register", "status"):
            continue
        try:
            with open(os.path.join(BINFMT, name)) as f:
                text = f.read()
        except OSError:
            continue
        if text.startswith("enabled") and I386_MAGIC_TEXT in text:
            return name
    return None


class QemuI386:
    def __init__(self):
        self.mounted = False
        self.registered = False
        self.entry = None

    def start(self):
        """Raises Unusable, with nothing left registered or mounted, when binfmt_misc cannot be used."""
        if not os.path.exists(QEMU):
            raise Unusable("%s is not installed" % QEMU)
        if os.geteuid() != 0:
            raise Unusable("registering an interpreter with binfmt_misc needs root")
        if not os.path.exists(os.path.join(BINFMT, "register")):
            done = subprocess.run(["mount", "-t", "binfmt_misc", "binfmt_misc", BINFMT], capture_output=True,
                                  text=True)
            if done.returncode != 0:
                raise Unusable("binfmt_misc cannot be mounted: " + done.stderr.strip())
            self.mounted = True
        self.entry = existing_i386_entry()
        if self.entry == NAME:
            self.registered = True
        elif self.entry is None:
            # F: the interpreter is opened now, so it works inside Wine's own mount and pid namespaces too.
            line = b":" + NAME.encode() + b":M::" + MAGIC + b":" + MASK + b":" + QEMU.encode() + b":F"
            try:
                with open(os.path.join(BINFMT, "register"), "wb") as f:
                    f.write(line)
            except OSError as e:
                self.stop()
                raise Unusable("binfmt_misc refused the registration: %s" % e)
            self.registered = True
            self.entry = NAME

    def stop(self):
        if self.registered:
            if os.path.exists(os.path.join(BINFMT, NAME)):
                with open(os.path.join(BINFMT, NAME), "w") as f:
                    f.write("-1")
            self.registered = False
        if self.mounted:
            subprocess.run(["umount", BINFMT], capture_output=True)
            self.mounted = False
