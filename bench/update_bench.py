#!/usr/bin/env python3
"""A full update of the whole dist from loopback nginx: update_bench.exe under Wine (the update run of
update.exe without its window) against curl fetching and storing the same files natively: the list and its
signature, and every file's signature and the file, in the order the run asks for them. Prints requests/s, MB/s
and processor time per MB, and the ratio of the processor times per MB taken set by set (target: ours at most
1.5 x curl), against curl as it fetches by default (one connection kept for all files) and against curl speaking
HTTP/1.0 as the update run's client does (the server ends each body by closing the connection, so every file
needs a connection of its own).

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
from bench_support import children_cpu, process_cpu, start_wineserver, stop_wineserver, wine_for  # noqa: E402
from http_servers import Nginx  # noqa: E402

RUNS = 9
ROUNDS = 30  # full updates per run, so that the processor times are well above the clock's resolution
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "win64"))
arch, loader, winearch = wine_for(build)
native_vurconf = os.path.join(here, "..", "build", "native", "bin", "vurconf")


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    work = tempfile.mkdtemp(prefix="vur-update-bench-")
    prefix = os.path.join(work, "prefix")
    subprocess.run([os.path.join(here, "..", "tests", "wine", "make-prefix"), prefix, "winxp", arch], check=True,
                   capture_output=True, timeout=300)
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH=winearch, WINEDEBUG="-all")
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
        # What the update run fetches, in its order: the list, its signature, then each file's signature and file.
        fetched = ["updates.dat", "updates.dat.sig"]
        for f in files:
            fetched += [f + ".sig", f]
        urls = [base + "/" + f.replace(os.sep, "/") for f in fetched]

        bench = os.path.join(build, "bin", "update_bench.exe")

        def curl_run(run, protocol):  # curl stores every file, as the update run does
            target = os.path.join(work, "curl%d" % run)
            command = ["curl", "-s", "--create-dirs"] + protocol
            for round_ in range(ROUNDS):
                for f, u in zip(fetched, urls):
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

        # The three in turn, a set a run, so that a drift of the machine's speed hits all alike; the ratios are
        # taken set by set. The first set warms Wine, nginx and the page cache and is not counted.
        peers = [("curl, one connection", []), ("curl, HTTP/1.0", ["--http1.0"])]
        curl, ours, ratios = [[] for _ in peers], [], [[] for _ in peers]
        for run in range(RUNS + 1):
            c = [curl_run(run, protocol) for _, protocol in peers]
            o = our_run(run)
            if run:
                ours.append(o)
                for k in range(len(peers)):
                    curl[k].append(c[k])
                    ratios[k].append(o[1] / c[k][1])

        requests = ROUNDS * len(fetched)
        print("full update of %s (%d files, %.1f MB; %d requests with the list and the signatures) from loopback"
              " nginx, %d updates a run, median of %d runs" % (build, len(files), size / 1e6, len(fetched), ROUNDS, RUNS))
        for (name, _), rows in zip(peers, curl):
            wall, cpu = median([w for w, _ in rows]), median([c for _, c in rows])
            print("  %-22s %7.1f requests/s %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB" %
                  (name + ":", requests / wall, mb / wall, cpu, 1000 * cpu / mb))
        wall, cpu, server_cpu = (median([row[i] for row in ours]) for i in range(3))
        print("  %-22s %7.1f requests/s %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB (wineserver beside it %.3f s)" %
              ("update run (%s, Wine):" % arch, requests / wall, mb / wall, cpu, 1000 * cpu / mb, server_cpu))
        for (name, _), values in zip(peers, ratios):
            print("  cpu per MB ours/%s, set by set: median %.2f (min %.2f, max %.2f; target <= 1.5)" %
                  (name, median(values), min(values), max(values)))
    finally:
        nginx.stop()
        stop_wineserver(server, env)
        shutil.rmtree(work, ignore_errors=True)


main()
