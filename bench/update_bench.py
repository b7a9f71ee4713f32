#!/usr/bin/env python3
"""A full update of the whole dist from loopback nginx: update_bench.exe under Wine (the update run of
update.exe without its window) against curl fetching and storing the same files: the list, its signature
(the one signed manifest of the update) and every file, in the order the run asks for them. Prints requests/s, MB/s and
processor time per MB, and the ratio of the processor times per MB taken set by set (target: ours at most
1.5 x curl).

curl runs twice over: as curl.exe for Windows (bench/windows-curl) in the same Wine prefix, which pays what the
update run pays for every call into the system, and natively, which does not. Each way it runs as it fetches
by default (one connection kept for all files) and speaking HTTP/1.0 as the update run's client does (the
server ends each body by closing the connection, so every file needs a connection of its own).

Usage: xvfb-run -a bench/update_bench.py [build/win32|build/win64]
Ours is the processor time of the run as the Windows process measures it (GetProcessTimes), the wineserver's
share printed beside it; curl's is its whole process, fetching every file in one run as a mirror script would,
less the processor time curl.exe takes to start and end under Wine (a run of "curl.exe --version").
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))
from bench_support import (children_cpu, make_bench_prefix, median, process_cpu, start_wineserver,  # noqa: E402
                           stop_wineserver, wine_for)
from http_servers import Nginx  # noqa: E402

RUNS = 9
ROUNDS = 30  # full updates per run, so that the processor times are well above the clock's resolution
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "win64"))
arch, loader, winearch = wine_for(build)
native_vurconf = os.path.join(here, "..", "build", "native", "bin", "vurconf")
windows_curl = subprocess.run([os.path.join(here, "windows-curl"), "win64" if arch == "x64" else "win32"], check=True,
                              stdout=subprocess.PIPE, text=True).stdout.strip()


def main():
    work = tempfile.mkdtemp(prefix="vur-update-bench-")
    prefix, env = make_bench_prefix(work, arch, winearch)
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
        # What the update run fetches, in its order: the list, its signature, then each file.
        fetched = ["updates.dat", "updates.dat.sig"] + files
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

        # curl.exe takes its URLs from a file: on Windows a command line holds at most 32767 characters.
        def windows_curl_run(run, protocol):
            folder = "wcurl%d" % run
            with open(os.path.join(prefix, "drive_c", folder + ".txt"), "w") as config:
                for round_ in range(ROUNDS):
                    for f, u in zip(fetched, urls):
                        config.write('output = "C:/%s/%d/%s"\nurl = "%s"\n' % (folder, round_, f, u))
            command = [loader, windows_curl, "-s", "--create-dirs", "-K", "C:\\%s.txt" % folder] + protocol
            server_before, before_cpu, before = process_cpu(server.pid), children_cpu(), time.time()
            subprocess.run(command, env=env, check=True, timeout=600)
            wall, cpu, server_cpu = time.time() - before, children_cpu() - before_cpu, process_cpu(server.pid) - server_before
            before_cpu = children_cpu()
            subprocess.run([loader, windows_curl, "--version"], env=env, check=True, capture_output=True, timeout=60)
            shutil.rmtree(os.path.join(prefix, "drive_c", folder), ignore_errors=True)
            return wall, cpu - (children_cpu() - before_cpu), server_cpu

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
            return (int(figures["wall_ms"]) / 1000, int(figures["cpu_us"]) / 1e6, process_cpu(server.pid) - server_before,
                    int(figures["signature_requests_cpu_us"]) / 1e6, int(figures["signature_checks_cpu_us"]) / 1e6)

        # The three in turn, a set a run, so that a drift of the machine's speed hits all alike; the ratios are
        # taken set by set. The first set warms Wine, nginx and the page cache and is not counted.
        peers = [("curl.exe, Wine", windows_curl_run, []), ("curl.exe, Wine, 1.0", windows_curl_run, ["--http1.0"]),
                 ("curl, one connection", curl_run, []), ("curl, HTTP/1.0", curl_run, ["--http1.0"])]
        curl, ours, ratios = [[] for _ in peers], [], [[] for _ in peers]
        for run in range(RUNS + 1):
            c = [peer(run, protocol) for _, peer, protocol in peers]
            o = our_run(run)
            if run:
                ours.append(o)
                for k in range(len(peers)):
                    curl[k].append(c[k])
                    ratios[k].append(o[1] / c[k][1])

        requests = ROUNDS * len(fetched)
        print("full update of %s (%d files, %.1f MB; %d requests with the list and its signature) from loopback"
              " nginx, %d updates a run, median of %d runs" % (build, len(files), size / 1e6, len(fetched), ROUNDS, RUNS))
        for (name, _, _), rows in zip(peers, curl):
            wall, cpu = median([row[0] for row in rows]), median([row[1] for row in rows])
            beside = " (wineserver beside it %.3f s)" % median([row[2] for row in rows]) if len(rows[0]) > 2 else ""
            print("  %-22s %7.1f requests/s %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB%s" %
                  (name + ":", requests / wall, mb / wall, cpu, 1000 * cpu / mb, beside))
        wall, cpu, server_cpu, requests_cpu, checks_cpu = (median([row[i] for row in ours]) for i in range(5))
        print("  %-22s %7.1f requests/s %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB (wineserver beside it %.3f s)" %
              ("update run (%s, Wine):" % arch, requests / wall, mb / wall, cpu, 1000 * cpu / mb, server_cpu))
        for (name, _, _), values in zip(peers, ratios):
            print("  cpu per MB ours/%s, set by set: median %.2f (min %.2f, max %.2f; target <= 1.5)" %
                  (name, median(values), min(values), max(values)))
        # What verification adds: the run without it would lack the signature's request and the checks (the
        # signature and every file's SHA-512).
        base_cpu = cpu - requests_cpu - checks_cpu
        print("  verification within the run, measured apart: request %.3f s, checks %.3f s; they add %.1f %% + %.1f %%"
              " to the run without them (target: together at most 10 %%; %d request per update)" %
              (requests_cpu, checks_cpu, 100 * requests_cpu / base_cpu, 100 * checks_cpu / base_cpu, 1))
    finally:
        nginx.stop()
        stop_wineserver(server, env)
        shutil.rmtree(work, ignore_errors=True)


main()
