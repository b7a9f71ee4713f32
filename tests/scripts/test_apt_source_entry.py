"""scripts/apt-source-entry makes its deb-src entry from the machine's own sources, in both forms."""
import os
import subprocess
import sys
import tempfile

script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "apt-source-entry")
failures = 0


def entry(files):
    with tempfile.TemporaryDirectory() as apt:
        os.makedirs(os.path.join(apt, "sources.list.d"))
        for name, text in files.items():
            with open(os.path.join(apt, name), "w") as f:
                f.write(text)
        done = subprocess.run([script], env=dict(os.environ, VUR_APT_DIR=apt), capture_output=True, text=True)
        return done.returncode, done.stdout


def expect(files, rc, lines, what):
    global failures
    got_rc, out = entry(files)
    if got_rc != rc or any(line not in out.splitlines() for line in lines):
        failures += 1
        print("FAILED: %s: exit %d\n%s" % (what, got_rc, out))


# deb822: a disabled stanza and a deb-src one are passed over; the base suite is taken, not -updates.
expect({"sources.list.d/mirror.sources": """Types: deb
URIs: http://mirror.example/off
Suites: trixie
Components: main
Enabled: no

Types: deb-src
URIs: http://mirror.example/src
Suites: trixie
Components: main

Types: deb
# a comment inside the stanza
URIs: http://mirror.example/debian
Suites: trixie-updates trixie
Components: main contrib
Signed-By: /usr/share/keyrings/mirror.gpg
"""}, 0, ["Types: deb-src", "URIs: http://mirror.example/debian", "Suites: trixie", "Components: main",
          "Signed-By: /usr/share/keyrings/mirror.gpg"], "deb822 form")
# One-line form with options; a security line without main and an -updates line are passed over.
expect({"sources.list": """# deb http://commented.example/debian bookworm main
deb http://security.example/debian-security bookworm-security contrib
deb http://other.example/debian bookworm-updates main
deb [arch=amd64 signed-by=/etc/apt/keyrings/local.gpg] http://local.example/debian bookworm main non-free
"""}, 0, ["URIs: http://local.example/debian", "Suites: bookworm", "Signed-By: /etc/apt/keyrings/local.gpg"],
       "one-line form")
expect({"sources.list": "deb http://x.example/debian bookworm contrib\n"}, 1, [], "no source with main")

print("apt-source-entry: %d failed" % failures)
sys.exit(1 if failures else 0)
