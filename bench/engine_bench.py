#!/usr/bin/env python3
"""Times the signature engine beside clamscan and cat over one tree of at least 1 GB, with databases of the
same size and kind: 1,000 hex patterns (wildcards and bounded gaps, as both formats write them) and 1,000
whole-file hashes with sizes. Prints each command's median wall time and MB/s and the ratios the engine
is held to (3x clamscan's MB/s, half of cat's).

The engine runs as enginescan from a release build without sanitizers; clamscan reads the same patterns as
an .ndb file and the hashes as an .hsb file (SHA-256, the strongest it takes). The tree defaults to the
Windows folder of the x64 bench prefix that bench/scan_bench.py uses (made with tests/wine/make-prefix when
missing). One warm-up run of each fills the page cache; then the commands take turns, run by run.

Build first:  cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release -DVUR_SANITIZE=OFF &&
              cmake --build build/bench-native --target enginescan
Run:          bench/engine_bench.py [--runs N] [--tree DIR] [--heuristics]
              bench/engine_bench.py --adversarial [--runs N] [--size MB]

--heuristics adds the heuristic engine over the tree, with its MB/s and its slowest file. --adversarial
times the heuristic engine alone over files made to find super-linear work in it, each as large as the
engine reads (32 MB): dialing names repeated, with import tables as large as the PE parser takes, and long runs
of near-misses of every trait. It prints each file's time and verdict, the corpus's MB/s and its slowest
file, against the targets (at least 100 MB/s, no file over 1 s).
"""
import argparse
import hashlib
import os
import random
import statistics
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ENGINE = os.path.join(ROOT, "build/bench-native/bin/enginescan")
PREFIX = os.path.join(ROOT, "build/native/wine/bench/x64")
ANALYSED = 32 << 20  # the heuristic engine reads no more of a file (kMaxAnalysedBytes)
DIAL_NAMES = [base + suffix for base in (b"RasDial", b"RasSetEntryProperties", b"RasCreatePhonebookEntry",
                                         b"InternetDial", b"InternetAutodial", b"lineMakeCall", b"CAPI_REGISTER")
              for suffix in (b"", b"A", b"W")]
MAX_IMPORT_LIBRARIES, MAX_IMPORTS, MAX_PE_NAME = 1024, 32768, 512  # the PE parser's caps (pe_image.h)


def tree_bytes(tree):
    total = 0
    for folder, _, files in os.walk(tree):
        for name in files:
            path = os.path.join(folder, name)
            if os.path.isfile(path) and not os.path.islink(path):
                total += os.path.getsize(path)
    return total


def databases(work, sizes):
    """Writes the same 2,000 signatures for both scanners; returns (ours, clamscan's files). The hash lines
    take their sizes from `sizes`."""
    rng = random.Random(20261209)
    ours, ndb, hsb = [], [], []
    for i in range(1000):
        parts = [bytes(rng.randrange(256) for _ in range(rng.randrange(6, 14))) for _ in range(2)]
        joiner = ["", " ?? ", " {0-8} "][i % 3]
        hex_text = parts[0].hex(" ").upper() + joiner + parts[1].hex(" ").upper()
        ours.append("pattern|Bench.Muster.%d|any|%s" % (i, hex_text))
        ndb.append("Bench.Muster.%d:0:*:%s" % (i, hex_text.replace(" ", "")))
    for i in range(1000):
        blob = rng.randbytes(32)
        size = rng.choice(sizes)
        ours.append("hash|Bench.Hash.%d|%d|%s" % (i, size, hashlib.sha512(blob).hexdigest()))
        hsb.append("%s:%d:Bench.Hash.%d" % (hashlib.sha256(blob).hexdigest(), size, i))
    paths = [os.path.join(work, n) for n in ("bench.dat", "bench.ndb", "bench.hsb")]
    for path, lines in zip(paths, (ours, ndb, hsb)):
        with open(path, "w") as f:
            f.write("\n".join(lines) + "\n")
    return paths


def repeat(pattern, size):
    return (pattern * (size // len(pattern) + 1))[:size]


def pe_file(functions, libraries, data):
    """A PE32 file as a linker lays it out: headers, ".text" and ".rdata" with the import table, then `data`.
    `functions` are hint/name entries, each written once; `libraries` are (name, indexes into functions)."""
    rva = 0x2000
    rdata = bytearray(20 * (len(libraries) + 1))
    hints = []
    for function in functions:
        rdata += b"\0" * (len(rdata) % 2)
        hints.append(rva + len(rdata))
        rdata += b"\1\0" + function + b"\0"
    for i, (library, picks) in enumerate(libraries):
        name = rva + len(rdata)
        rdata += library + b"\0"
        rdata += b"\0" * (-len(rdata) % 4)
        thunks = rva + len(rdata)
        rdata += struct.pack("<%dI" % (len(picks) + 1), *[hints[p] for p in picks], 0)
        struct.pack_into("<I8xII", rdata, 20 * i, thunks, name, thunks)
    imports = (rva, 20 * (len(libraries) + 1))
    rdata += data
    headers = bytearray(0x400)
    headers[0:2] = b"MZ"
    struct.pack_into("<I", headers, 0x3C, 0x80)
    struct.pack_into("<4sHH12xHH", headers, 0x80, b"PE\0\0", 0x14C, 2, 224, 0x102)
    optional = 0x80 + 24
    struct.pack_into("<H", headers, optional, 0x10B)
    struct.pack_into("<IIIIII", headers, optional + 32, 0x1000, 0x200, 4, 0, 4, 0)
    struct.pack_into("<II", headers, optional + 56, rva + (len(rdata) + 0xFFF) // 0x1000 * 0x1000, 0x400)
    struct.pack_into("<I8xII", headers, optional + 92, 16, *imports)
    table = optional + 224
    struct.pack_into("<8sIIII", headers, table, b".text", 1, 0x1000, 0x200, 0x400)
    struct.pack_into("<8sIIII", headers, table + 40, b".rdata", len(rdata), rva, len(rdata), 0x600)
    return bytes(headers) + b"\xC3" + bytes(0x1FF) + bytes(rdata)


def padded_pe(functions, libraries, filler, size):
    """pe_file with `filler` repeated after the tables up to `size` bytes."""
    head = pe_file(functions, libraries, b"")
    return pe_file(functions, libraries, repeat(filler, max(0, size - len(head))))


def wide(text):
    return text.decode("latin-1").encode("utf-16-le")


def adversarial_corpus(folder, size):
    """Writes the adversarial files into folder; returns {file name: what it is}."""
    per_library = MAX_IMPORTS // MAX_IMPORT_LIBRARIES
    kernel = [(b"KERNEL32.dll", [0] * per_library)] * MAX_IMPORT_LIBRARIES
    dialing = [(b"RASAPI32.dll", [(l * per_library + f) % len(DIAL_NAMES) for f in range(per_library)])
               for l in range(MAX_IMPORT_LIBRARIES)]
    # Every name as long as the parser reads, each one of them beginning like a dialing function.
    long_names = [DIAL_NAMES[i % len(DIAL_NAMES)] + b"x%05d" % i + b"x" * (MAX_PE_NAME - 30) for i in range(MAX_IMPORTS)]
    library_names = [b"L%04d" % l + b"l" * (MAX_PE_NAME - 10) + b".dll" for l in range(MAX_IMPORT_LIBRARIES)]
    longest = [(name, list(range(l * per_library, (l + 1) * per_library))) for l, name in enumerate(library_names)]
    shared = [(name, [0] * per_library) for name in library_names]
    near_names = (b"RasDia\0RasDialAW\0xRasDialAx InternetDia\0lineMakeCal\0CAPI_REGISTE\0rasphone.pb\0"
                  b"CurrentVersion\\Ru\0CurrentVersion\\RunOnce\0VUR-TESTHEURISTIK-019\0")
    near_modem = (b"\0ATDT0190812345x\0ATD\0ATDT,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\0ATX5\r\0ATX33\r\0atdp 030 123 456 789\x01"
                  b"\0ATDT(((((((((--------)))))))))WWWWWWWWWWPPPPPPTTTT\0xATDT0301234\r")
    near_numbers = (b" 019x 0190123 0190123456789012 0900-1234-5678-9012 +8811234 +49 19 1188012 0193x "
                    b"00190 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 ")
    files = {
        "dial-names-looked-up.exe": (padded_pe([b"GetTickCount"], kernel, b"RasDialA\0", size),
                                     "RasDialA as a C string over and over, 32768 imports of something else"),
        "dial-names-imported.exe": (padded_pe(DIAL_NAMES, dialing, b"\0".join(DIAL_NAMES) + b"\0", size),
                                    "every dialing name over and over, each of the 32768 imports one of them"),
        "import-table-max.exe": (padded_pe(long_names, longest, b"RasDia", size),
                                 "1024 libraries and 32768 imports, every name %d bytes, then RasDia" % (MAX_PE_NAME - 1)),
        "import-table-shared.exe": (pe_file(long_names[:1], shared, b""),
                                    "the same, every import the same name, and nothing else: the most parsing a byte costs"),
        "almost-names.exe": (b"MZ" + repeat(near_names, size - 2), "names one letter short or long"),
        "almost-RasDial.exe": (b"MZ" + repeat(b"RasDia", size - 2), "RasDia over and over"),
        "almost-modem.exe": (b"MZ" + repeat(near_modem, size - 2), "modem commands without digits or an end"),
        "endless-dial-string.exe": (b"MZ\0ATDT" + repeat(b"0123456789,W", size - 7), "one dial string without an end"),
        "almost-numbers.exe": (b"MZ" + repeat(near_numbers, size - 2), "numbers a digit short or long, cut off"),
        "digit-blank-run.exe": (b"MZ" + repeat(b"0 1-9/", size - 2), "one number run of the whole file"),
        "digits.exe": (b"MZ" + repeat(b"0190", size - 2), "one digit run of the whole file"),
        "wide-almost.exe": (b"MZ" + repeat(wide(near_names + near_modem + near_numbers), size - 2),
                            "the near-misses in UTF-16"),
        "wide-digit-blank-run.exe": (b"MZ" + repeat(wide(b"0 "), size - 2), "a number run in UTF-16"),
        "random.exe": (b"MZ" + random.Random(1234).randbytes(size - 2), "random bytes"),
        "over-cap.exe": (b"MZ" + repeat(b"RasDialA\0", size + (8 << 20) - 2), "RasDialA beyond the 32 MB the engine reads"),
    }
    for name, (content, _) in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)
    return {name: what for name, (_, what) in files.items()}


def read_times(path):
    """{path: seconds} from enginescan --times."""
    times = {}
    with open(path) as f:
        for line in f:
            seconds, _, name = line.rstrip("\n").split("\t", 2)
            times[name] = float(seconds)
    return times


def heuristic_figures(paths, runs, work):
    """Runs enginescan --heuristics (no signatures) over paths `runs` times after a warm-up; returns each file's
    median seconds and the files reported."""
    times_file = os.path.join(work, "times.tsv")
    samples, reported = {}, set()
    for run in range(runs + 1):
        done = subprocess.run([ENGINE, "--heuristics", "--times", times_file] + paths, stdout=subprocess.PIPE)
        if done.returncode not in (0, 1):
            sys.exit("enginescan failed (%d)" % done.returncode)
        reported = {line.split(b"\t", 1)[0].decode() for line in done.stdout.splitlines() if b"\t" in line}
        if run:  # the first round only warms the page cache
            for name, seconds in read_times(times_file).items():
                samples.setdefault(name, []).append(seconds)
    return {name: statistics.median(s) for name, s in samples.items()}, reported


def print_heuristic_figures(corpus, medians):
    analysed = sum(min(os.path.getsize(name), ANALYSED) for name in medians)
    seconds = sum(medians.values())
    slowest = max(medians, key=medians.get)
    print("%s: vurheur %.1f MB in %.2f s, %.1f MB/s; slowest file %.3f s (%s)"
          % (corpus, analysed / 1e6, seconds, analysed / 1e6 / seconds if seconds else 0, medians[slowest],
             os.path.basename(slowest)))
    return analysed / 1e6 / seconds if seconds else float("inf"), medians[slowest]


def adversarial(args):
    with tempfile.TemporaryDirectory() as work:
        folder = os.path.join(work, "adversarial")
        os.makedirs(folder)
        kinds = adversarial_corpus(folder, int(args.size * (1 << 20)))
        paths = [os.path.join(folder, name) for name in kinds]
        medians, reported = heuristic_figures(paths, args.runs, work)
        for path in paths:
            analysed = min(os.path.getsize(path), ANALYSED)
            print("  %-26s %6.1f MB %8.3f s %8.1f MB/s  %-10s %s"
                  % (os.path.basename(path), analysed / 1e6, medians[path], analysed / 1e6 / medians[path],
                     "reported" if path in reported else "OK", kinds[os.path.basename(path)]))
        rate, slowest = print_heuristic_figures("adversarial corpus", medians)
    print("target: at least 100 MB/s (%s), no file over 1 s (%s)"
          % ("met" if rate >= 100 else "missed", "met" if slowest <= 1 else "missed"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--tree")
    parser.add_argument("--heuristics", action="store_true", help="also time the engine with heuristics on")
    parser.add_argument("--adversarial", action="store_true",
                        help="time only the heuristic engine, over the adversarial corpus")
    parser.add_argument("--size", type=float, default=ANALYSED / (1 << 20),
                        help="with --adversarial: each file's size in MB (default: the 32 MB the engine reads)")
    parser.add_argument("--matching-sizes", action="store_true",
                        help="hash sizes drawn from the tree's own file sizes, so that most files must be hashed "
                             "(the default spreads them from 4 KB to 4 MB, as the samples of a real list are)")
    args = parser.parse_args()
    if not os.path.exists(ENGINE):
        sys.exit("engine_bench: build %s first (see the docstring)" % ENGINE)
    if args.adversarial:
        adversarial(args)
        return
    tree = args.tree or os.path.join(PREFIX, "drive_c/windows")
    if not args.tree and not os.path.isdir(tree):
        subprocess.run([os.path.join(ROOT, "tests/wine/make-prefix"), PREFIX, "winxp", "x64"], check=True)
    total = tree_bytes(tree)
    files = [os.path.join(d, n) for d, _, ns in os.walk(tree) for n in ns
             if os.path.isfile(os.path.join(d, n)) and not os.path.islink(os.path.join(d, n))]
    if args.matching_sizes:
        sizes = sorted({os.path.getsize(f) for f in files})
    else:
        spread = random.Random(4711)
        sizes = [int(4096 * 1024 ** spread.random()) for _ in range(1000)]
    print("tree %s: %d files, %.1f MB%s" % (tree, len(files), total / 1e6, "" if total >= 1e9 else " (below 1 GB)"))
    with tempfile.TemporaryDirectory() as work:
        ours, ndb, hsb = databases(work, sizes)
        commands = {
            "vurscan engine": [ENGINE, "--signatures", ours, tree],
            "clamscan": ["clamscan", "--no-summary", "-r", "-d", ndb, "-d", hsb, tree],
            "cat": ["sh", "-c", 'find "$1" -type f -exec cat {} + > /dev/null', "cat", tree],
        }
        if args.heuristics:
            commands["vurscan + vurheur"] = [ENGINE, "--heuristics", "--signatures", ours, tree]
        times = {name: [] for name in commands}
        for run in range(args.runs + 1):
            for name, argv in commands.items():
                start = time.perf_counter()
                done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
                elapsed = time.perf_counter() - start
                if done.returncode not in (0, 1):
                    sys.exit("%s failed (%d): %s" % (name, done.returncode, done.stdout[-500:].decode(errors="replace")))
                if run:  # the first round only warms the page cache
                    times[name].append(elapsed)
    rates = {}
    for name, runs in times.items():
        median = statistics.median(runs)
        rates[name] = total / 1e6 / median
        print("%-18s median %7.2f s  (min %.2f, max %.2f)  %8.1f MB/s" % (name, median, min(runs), max(runs),
                                                                          rates[name]))
    print("vurscan / clamscan: %.1fx MB/s (target at least 3x)" % (rates["vurscan engine"] / rates["clamscan"]))
    print("vurscan / cat:      %.2fx MB/s (target at least 0.5x)" % (rates["vurscan engine"] / rates["cat"]))
    if args.heuristics:
        with tempfile.TemporaryDirectory() as work:
            print_heuristic_figures("tree", heuristic_figures([tree], args.runs, work)[0])


if __name__ == "__main__":
    main()
