#!/usr/bin/env python3
"""A full update of the whole dist from loopback nginx: update_bench.exe under Wine (the update run of
update.exe without its window) against curl fetching and storing the same files natively. Prints files/s, MB/s and
processor time per MB of both, and the ratio of the processor times per MB taken pair by pair (target: ours at
most 1.5 x curl).

Usage: xvfb-run -a bench/update_bench.py [build/win32|build/win64]
Ours is the processor time of the run as the Windows process measures it (GetProcessTimes), the wineserver's
share printed beside it; curl's is its whole process, fetching every file in one run as a mirror script would.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))
from bench_support import children_cpu, process_cpu, start_wineserver, stop_wineserver  # noqa: E402
from http_servers import Nginx  # noqa: E402

RUNS = 9
ROUNDS = 30  # full updates per run, so that the processor times are well above the clock's resolution
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "win64"))
arch = "x64" if build.rstrip("/").endswith("win64") else "x86"
loader = "/usr/lib/wine/wine64" if arch == "x64" else "wine"
native_vurconf = os.path.join(here, "..", "build", "native", "bin", "vurconf")


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    work = tempfile.mkdtemp(prefix="vur-update-bench-")
    prefix = os.path.join(work, "prefix")
    subprocess.run([os.path.join(here, "..", "tests", "wine", "make-prefix"), prefix, "winxp", arch], check=True,
                   capture_output=True, timeout=300)
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH="win64" if arch == "x64" else "win32", WINEDEBUG="-all")
    server = start_wineserver(env)
    nginx = Nginx({})
    served = os.path.join(nginx.dir, "root")
    try:
        shutil.rmtree(served)
        shutil.copytree(os.path.join(build, "dist"), served)
        base = "http://%s" % nginx.main
        test_key = os.path.join(here, "..", "keys", "test-update-key.key")
        subprocess.run([native_vurconf, "updates", served, base, "--key", test_key], check=True, capture_output=True)
        files = [os.path.relpath(os.path.join(d, n), served) for d, _, names in os.walk(served) for n in names
                 if n != "updates.dat" and not n.endswith(".sig")]
        size = sum(os.path.getsize(os.path.join(served, f)) for f in files)
        mb = ROUNDS * size / 1e6
        urls = [base + "/" + f.replace(os.sep, "/") for f in files]

        bench = os.path.join(build, "bin", "update_bench.exe")

        def curl_run(run):  # curl stores every file, as the update run does
            target = os.path.join(work, "curl%d" % run)
            command = ["curl", "-s", "--create-dirs"]
            for round_ in range(ROUNDS):
                for f, u in zip(files, urls):
                    command += ["-o", os.path.join(target, str(round_), f), u]
            before_cpu, before = children_cpu(), time.time()
            subprocess.run(command, check=True, timeout=300)
            shutil.rmtree(target, ignore_errors=True)
            return time.time() - before, children_cpu() - before_cpu

        def our_run(run):
            server_before = process_cpu(server.pid)
            with tempfile.TemporaryFile() as out:
                subprocess.run([loader, bench, "C:\\lauf%d-" % run, base, str(ROUNDS)], env=env, stdout=out,
                               timeout=600, check=True)
                out.seek(0)
                lines = out.read().decode("cp1252").splitlines()
            words = lines[-1].split() if lines else []
            figures = dict(zip(words[0::2], words[1::2]))
            assert figures.get("files") == str(len(files) * ROUNDS) and figures.get("messages") == str(ROUNDS), lines
            for round_ in range(ROUNDS):
                shutil.rmtree(os.path.join(prefix, "drive_c", "lauf%d-%d" % (run, round_)), ignore_errors=True)
            return int(figures["wall_ms"]) / 1000, int(figures["cpu_us"]) / 1e6, process_cpu(server.pid) - server_before

        # The two in turn, a pair a run, so that a drift of the machine's speed hits both alike; the ratio is
        # taken pair by pair. The first pair warms Wine, nginx and the page cache and is not counted.
        curl, ours, ratios = [], [], []
        for run in range(RUNS + 1):
            c, o = curl_run(run), our_run(run)
            if run:
                curl.append(c)
                ours.append(o)
                ratios.append(o[1] / c[1])

        curl_wall, curl_cpu = median([w for w, _ in curl]), median([c for _, c in curl])
        wall, cpu, server_cpu = (median([row[i] for row in ours]) for i in range(3))
        print("full update of %s (%d files, %.1f MB) from loopback nginx, %d updates a run, median of %d runs" %
              (build, len(files), size / 1e6, ROUNDS, RUNS))
        print("  curl (native, one process): %6.2f files/s %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB" %
              (ROUNDS * len(files) / curl_wall, mb / curl_wall, curl_cpu, 1000 * curl_cpu / mb))
        print("  update run (%s, Wine):     %6.2f files/s %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB"
              " (wineserver beside it %.3f s)" %
              (arch, ROUNDS * len(files) / wall, mb / wall, cpu, 1000 * cpu / mb, server_cpu))
        print("  cpu per MB ours/curl, pair by pair: median %.2f (min %.2f, max %.2f; target <= 1.5)" %
              (median(ratios), min(ratios), max(ratios)))
    finally:
        nginx.stop()
        stop_wineserver(server, env)
        shutil.rmtree(work, ignore_errors=True)


main()
