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
"""
import argparse
import hashlib
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ENGINE = os.path.join(ROOT, "build/bench-native/bin/enginescan")
PREFIX = os.path.join(ROOT, "build/native/wine/bench/x64")


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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--tree")
    parser.add_argument("--heuristics", action="store_true", help="also time the engine with heuristics on")
    parser.add_argument("--matching-sizes", action="store_true",
                        help="hash sizes drawn from the tree's own file sizes, so that most files must be hashed "
                             "(the default spreads them from 4 KB to 4 MB, as the samples of a real list are)")
    args = parser.parse_args()
    if not os.path.exists(ENGINE):
        sys.exit("engine_bench: build %s first (see the docstring)" % ENGINE)
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


if __name__ == "__main__":
    main()
