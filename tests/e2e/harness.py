"""Shared pieces of the end-to-end tests: the Wine prefix, the program folder, running programs, checks."""
import argparse
import os
import shutil
import subprocess
import sys


class Case:
    """One e2e script run: its prefix, its program folder, and the checks it has made."""

    def __init__(self, description):
        parser = argparse.ArgumentParser(description=description)
        parser.add_argument("--prefix", required=True)
        parser.add_argument("--version", required=True)
        parser.add_argument("--dist", required=True)
        parser.add_argument("--work", required=True)
        parser.add_argument("--native-bin", required=True)
        self.args = parser.parse_args()
        self.prefix = self.args.prefix
        self.version = self.args.version
        self.work = self.args.work
        self.native_bin = self.args.native_bin
        self.failures = 0
        self.checks = 0
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)

    # The program folder: dist copied below drive C: under a long name with a blank in it.
    def install_dist(self, folder="VUR Test"):
        linux = os.path.join(self.prefix, "drive_c", folder)
        shutil.rmtree(linux, ignore_errors=True)
        shutil.copytree(self.args.dist, linux)
        return linux, "C:\\" + folder + "\\"

    def env(self):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.prefix, WINEARCH="win32", WINEDEBUG=env.get("WINEDEBUG", "-all"))
        return env

    def wine(self, program, *args, timeout=60):
        """Runs a Windows program to its end; returns (exit code, stdout bytes, stderr bytes)."""
        done = subprocess.run(["wine", program, *args], env=self.env(), capture_output=True, timeout=timeout)
        return done.returncode, done.stdout, done.stderr

    def native(self, program, *args):
        done = subprocess.run([os.path.join(self.native_bin, program), *args], capture_output=True, timeout=60)
        return done.returncode, done.stdout, done.stderr

    def check(self, condition, what):
        self.checks += 1
        if not condition:
            self.failures += 1
            print("FAILED: " + what, flush=True)
        return condition

    def equal(self, actual, expected, what):
        return self.check(actual == expected, "%s: expected %r, got %r" % (what, expected, actual))

    def finish(self):
        subprocess.run(["wineserver", "-w"], env=self.env(), timeout=60)
        print("%s on %s: %d checks, %d failed" % (os.path.basename(sys.argv[0]), self.version, self.checks,
                                                  self.failures))
        sys.exit(1 if self.failures or not self.checks else 0)
