"""A release configure (scripts/build --release) refuses the repository's test key, also copied elsewhere, and
a key of small order, each with its reason; with a key of `vurconf keygen` it configures, and update_key.h says
release build, that key, the given minimum serial and no title suffix. Configure only, of the native tree.
The configure-time list of small-order encodings (cmake/SmallOrderKeys.cmake) agrees with `vurconf check-key`
on every such encoding, derived here from the curve, and on keygen keys."""
import os
import shutil
import subprocess
import sys
import tempfile

source, vurconf = sys.argv[1], sys.argv[2]
failures = 0


def configure(work, name, key, serial="4242"):
    """Configures a release tree under work; returns (exit code, the output with white space made single)."""
    args = ["cmake", "-S", source, "-B", os.path.join(work, name), "-DCMAKE_BUILD_TYPE=Release",
            "-DVUR_SANITIZE=OFF", "-DVUR_RELEASE=ON", "-DVUR_MINIMUM_UPDATE_SERIAL=" + serial]
    if key:
        args.append("-DVUR_UPDATE_PUBLIC_KEY=" + key)
    done = subprocess.run(args, capture_output=True, text=True)
    return done.returncode, " ".join((done.stdout + done.stderr).split())


def small_order_encodings():
    """Every 32-byte string that decodes, leniently, to a point of order dividing 8 on -x^2 + y^2 = 1 + d x^2 y^2."""
    p = 2 ** 255 - 19
    d = -121665 * pow(121666, p - 2, p) % p

    def sqrt(a):
        r = pow(a % p, (p + 3) // 8, p)
        if r * r % p != a % p:
            r = r * pow(2, (p - 1) // 4, p) % p
        return r if r * r % p == a % p else None

    # y = 1 and -1 (x = 0), y = 0 (x^2 = -1), and order 8: 2P has y = 0, so x^2 = -y^2 and d y^4 + 2 y^2 = 1.
    ys = {1, p - 1, 0}
    root = sqrt(1 + d)
    for y2 in ((-1 + root) * pow(d, p - 2, p) % p, (-1 - root) * pow(d, p - 2, p) % p):
        y = sqrt(y2)
        if y is not None:
            ys |= {y, p - y}
    ys |= {y + p for y in ys if y + p < 2 ** 255}
    return sorted((y | sign << 255).to_bytes(32, "little").hex() for y in ys for sign in (0, 1))


def cmake_says_small_order(work, hex_key):
    script = os.path.join(work, "small_order.cmake")
    with open(script, "w") as f:
        f.write("cmake_minimum_required(VERSION 3.20)\ninclude(%s/cmake/SmallOrderKeys.cmake)\n"
                "vur_key_has_small_order(${KEY} r)\nmessage(\"${r}\")\n" % source)
    done = subprocess.run(["cmake", "-DKEY=" + hex_key, "-P", script], capture_output=True, text=True, check=True)
    return done.stderr.strip() == "ON"


def check_key_says_small_order(work, hex_key):
    path = os.path.join(work, "checked.pub")
    with open(path, "w") as f:
        f.write(hex_key + "\n")
    done = subprocess.run([vurconf, "check-key", path], capture_output=True, text=True)
    return done.returncode != 0 and "small order" in done.stderr


def expect(condition, what, detail=""):
    global failures
    if not condition:
        failures += 1
        print("FAILED: %s\n%s" % (what, detail))


with tempfile.TemporaryDirectory() as work:
    copy = os.path.join(work, "copy.pub")
    shutil.copy(os.path.join(source, "keys", "test-update-key.pub"), copy)
    for name, key in [("default", None), ("copy", copy)]:
        rc, out = configure(work, name, key)
        expect(rc != 0 and "A release build cannot trust the test key" in out, "the test key (%s) is refused" % name,
               out)
        expect(not os.path.exists(os.path.join(work, name, "generated", "update_key.h")),
               "a refused configure writes no update_key.h (%s)" % name)

    # An order-8 point with the sign bit set, in upper case as a hand-made file might have it.
    small = os.path.join(work, "small.pub")
    with open(small, "w") as f:
        f.write("C7176A703D4DD84FBA3C0B760D10670F2A2053FA2C39CCC64EC7FD7792AC03FA\n")
    rc, out = configure(work, "small", small)
    expect(rc != 0 and "is a key of small order" in out, "a key of small order is refused", out)

    private, public = os.path.join(work, "release.key"), os.path.join(work, "release.pub")
    subprocess.run([vurconf, "keygen", private, public], check=True, capture_output=True)
    rc, out = configure(work, "bad-serial", public, serial="01")
    expect(rc != 0 and "is not a serial" in out, "a serial the updater would not read is refused", out)
    rc, out = configure(work, "release", public)
    expect(rc == 0, "a release configure with a keygen key succeeds", out)
    if rc == 0:
        with open(os.path.join(work, "release", "generated", "update_key.h")) as f:
            header = f.read()
        with open(public) as f:
            hex_key = f.read().strip()
        for line in ["constexpr bool kReleaseBuild = true;", "constexpr bool kTrustedUpdateKeyIsTestKey = false;",
                     "constexpr std::uint64_t kMinimumUpdateSerial = 4242u;", 'constexpr char kTitleSuffix[] = "";',
                     'constexpr char kTrustedUpdateKeyHex[] = "%s";' % hex_key]:
            expect(line in header.splitlines(), "update_key.h has: " + line, header)

    encodings = small_order_encodings()
    expect(len(encodings) == 14, "8 points, 14 encodings", encodings)
    keys = []
    for i in range(3):
        subprocess.run([vurconf, "keygen", os.path.join(work, "%d.key" % i), os.path.join(work, "%d.pub" % i)],
                       check=True, capture_output=True)
        with open(os.path.join(work, "%d.pub" % i)) as f:
            keys.append(f.read().strip())
    for hex_key in encodings + keys:
        small = hex_key in encodings
        expect(cmake_says_small_order(work, hex_key) == small, "cmake: %s small order: %s" % (hex_key, small))
        expect(check_key_says_small_order(work, hex_key) == small, "check-key: %s small order: %s" % (hex_key, small))

print("%d failure(s)" % failures)
sys.exit(1 if failures else 0)
