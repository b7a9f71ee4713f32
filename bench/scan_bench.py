#!/usr/bin/env python3
"""Runs scan_bench under Wine over a folder tree of at least 1 GB, at normal and at idle priority, and prints
the figures of both: the scan rate, the engines' share and the share outside the engine calls.

Each architecture gets a Wine prefix of its own (build/native/wine/bench/x64 and x86, made once with
tests/wine/make-prefix), so the runs share no wineserver with tests running at the same time. The dist folder
and scan_bench.exe are copied to C:\\vur_bench of that prefix: the bench loads the engines and the signatures
from its own folder. The tree is the Windows folder of the x64 bench prefix (1.3 GB), scanned by both
architectures through drive Z:, so both read the same files. One warm-up run fills the page cache; then
normal and idle runs alternate, pair by pair, so a drift of the machine's speed hits both alike.

Build first:  cmake --build build/win64 --target scan_bench && cmake --build build/win32 --target scan_bench
Run:          bench/scan_bench.py [--arch x64|x86|both] [--pairs N] [--heuristic] [--show] [--tree DIR]
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ARCHES = {"x64": ("build/win64", "/usr/lib/wine/wine64", "win64"), "x86": ("build/win32", "wine", "win32")}


def prefix_of(arch):
    return os.path.join(ROOT, "build/native/wine/bench", arch)


def wine_env(arch, display):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix_of(arch), WINEARCH=ARCHES[arch][2], WINEDEBUG=env.get("WINEDEBUG", "-all"))
    env["DISPLAY"] = display
    return env


def ensure_prefix(arch):
    if not os.path.isdir(os.path.join(prefix_of(arch), "drive_c/windows")):
        subprocess.run([os.path.join(ROOT, "tests/wine/make-prefix"), prefix_of(arch), "winxp", arch], check=True)


def install(arch):
    """Copies the dist folder and the bench into C:\\vur_bench of the arch's prefix."""
    tree = os.path.join(ROOT, ARCHES[arch][0])
    exe = os.path.join(tree, "bin/scan_bench.exe")
    if not os.path.isfile(exe):
        sys.exit(f"{exe} is missing: cmake --build {ARCHES[arch][0]} --target scan_bench")
    target = os.path.join(prefix_of(arch), "drive_c/vur_bench")
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(os.path.join(tree, "dist"), target)
    shutil.copy2(exe, target)


def tree_size(path):
    files, size = 0, 0
    for folder, _, names in os.walk(path):
        for name in names:
            full = os.path.join(folder, name)
            if not os.path.islink(full):
                files += 1
                size += os.path.getsize(full)
    return files, size


def start_display():
    """A private Xvfb when there is no display: the bench's window needs one. Returns (display, process)."""
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"], None
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(read)
    return ":" + number.decode().strip(), xvfb


def nice_values(pid):
    """The Unix nice values of the process's threads: what the priority class became on the host."""
    values = set()
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/stat") as stat:
                values.add(int(stat.read().rsplit(")", 1)[1].split()[16]))
    except (OSError, IndexError, ValueError):
        pass
    return values


def run_once(arch, env, folder, flags):
    """One bench process; its own figures, the whole process's wall and CPU seconds and the nice values seen."""
    command = [ARCHES[arch][1], "C:\\vur_bench\\scan_bench.exe", folder] + flags
    # A file, not a pipe: Wine's service processes inherit the output and outlive the bench.
    with tempfile.TemporaryFile() as out:
        started = time.perf_counter()
        process = subprocess.Popen(command, env=env, stdout=out, stderr=subprocess.STDOUT)
        nice = set()
        while process.poll() is None:
            nice |= nice_values(process.pid)
            time.sleep(0.05)
        wall = time.perf_counter() - started
        out.seek(0)
        output = out.read().decode(errors="replace")
    if process.returncode != 0:
        sys.exit(f"{' '.join(command)} ended with {process.returncode}:\n{output}")
    match = re.search(r"^figures (.*)$", output, re.M)
    if not match:
        sys.exit(f"no figures in the output of {' '.join(command)}:\n{output}")
    figures = dict(item.split("=", 1) for item in match.group(1).split())
    return {"output": output, "figures": figures, "wall": wall, "nice": nice}


def median(values):
    return statistics.median(values) if values else float("nan")


def bench(arch, display, folder, pairs, flags):
    env = wine_env(arch, display)
    # A wineserver kept alive for the whole series: no run pays for starting it.
    subprocess.run(["wineserver", "-p"], env=env, check=True)
    try:
        run_once(arch, env, folder, flags)  # warm-up: page cache, Wine's own start-up files
        normal, idle = [], []
        for _ in range(pairs):
            normal.append(run_once(arch, env, folder, flags))
            idle.append(run_once(arch, env, folder, flags + ["--idle"]))
    finally:
        subprocess.run(["wineserver", "-k"], env=env)
    print(f"== {arch}: {ARCHES[arch][0]}, {pairs} pairs normal/idle after one warm-up")
    for name, runs in (("normal", normal), ("idle", idle)):
        print(f"-- first {name} run:")
        print(runs[0]["output"].rstrip())
    print(f"-- medians over {pairs} runs each:")
    print(f"{'':8} {'run s':>8} {'MB/s':>8} {'engines %':>10} {'outside %':>10} {'process wall s':>15}  nice seen")
    for name, runs in (("normal", normal), ("idle", idle)):
        seconds = [float(r["figures"]["seconds"]) for r in runs]
        mbs = [int(r["figures"]["bytes"]) / 2**20 / float(r["figures"]["seconds"]) for r in runs]
        engine = [100 * float(r["figures"]["engine_seconds"]) / float(r["figures"]["seconds"]) for r in runs]
        outside = [100 * float(r["figures"]["outside_seconds"]) / float(r["figures"]["seconds"]) for r in runs]
        nice = sorted(set().union(*(r["nice"] for r in runs)))
        print(f"{name:8} {median(seconds):8.3f} {median(mbs):8.1f} {median(engine):10.2f} {median(outside):10.2f} "
              f"{median([r['wall'] for r in runs]):15.3f}  {nice}")
    run_ratio = [float(i["figures"]["seconds"]) / float(n["figures"]["seconds"]) for n, i in zip(normal, idle)]
    wall_ratio = [i["wall"] / n["wall"] for n, i in zip(normal, idle)]
    print(f"idle/normal, pair by pair: run {median(run_ratio):.3f} (min {min(run_ratio):.3f}, max "
          f"{max(run_ratio):.3f}); whole process {median(wall_ratio):.3f} (min {min(wall_ratio):.3f}, max "
          f"{max(wall_ratio):.3f})")
    worst = max(float(r["figures"]["outside_seconds"]) / float(r["figures"]["seconds"]) for r in normal + idle)
    print(f"targets: outside share at most 10 % (largest of all runs {100 * worst:.2f} %); idle not slower than "
          f"normal (median ratio {median(run_ratio):.3f})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--arch", choices=("x64", "x86", "both"), default="both")
    parser.add_argument("--pairs", type=int, default=5, help="counted normal/idle pairs (default 5)")
    parser.add_argument("--heuristic", action="store_true", help="also run the heuristic engine")
    parser.add_argument("--show", action="store_true", help="show the window, so the status line is painted")
    parser.add_argument("--tree", help="the folder to scan (default: the x64 bench prefix's Windows folder)")
    args = parser.parse_args()

    arches = ["x64", "x86"] if args.arch == "both" else [args.arch]
    ensure_prefix("x64")  # its Windows folder is the default tree
    for arch in arches:
        ensure_prefix(arch)
        install(arch)
    tree = os.path.abspath(args.tree or os.path.join(prefix_of("x64"), "drive_c/windows"))
    files, size = tree_size(tree)
    print(f"tree {tree}: {files} files, {size / 1e9:.2f} GB{'' if size >= 1e9 else ' (less than 1 GB)'}")
    folder = "Z:" + tree.replace("/", "\\")
    flags = (["--heuristic"] if args.heuristic else []) + (["--show"] if args.show else [])

    display, xvfb = start_display()
    try:
        for arch in arches:
            bench(arch, display, folder, args.pairs, flags)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    main()
