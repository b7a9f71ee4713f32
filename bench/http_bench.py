#!/usr/bin/env python3
"""Download speed and processor cost of THttpCli under Wine against curl natively, from loopback nginx.

Usage: bench/http_bench.py [build/win32|build/win64]   (needs a display for Wine: run it under xvfb-run)
Prints, for a 100 MB file: wall time, throughput and processor time per MB of both clients (for ours the
time inside Get as the Windows process measures it, and the whole Wine run with the wineserver beside a
run without a download, for reference); and the processor time of our client for a server that sends one
byte per second for 10 seconds.
"""
import os
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))
from bench_support import (children_cpu, make_bench_prefix, process_cpu, start_wineserver,  # noqa: E402
                           stop_wineserver, wine_for)
from http_servers import HostileServer, Nginx  # noqa: E402

SIZE = 100 * 1024 * 1024
RUNS = 5
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "win32")
fetch = os.path.abspath(os.path.join(build, "bin", "vur_http_fetch.exe"))
arch, loader, winearch = wine_for(build)


def timed(command, env=None):
    """Runs a program; its output goes through a file, since Wine's helper processes keep pipes open."""
    with tempfile.TemporaryFile() as out:
        before_cpu, before = children_cpu(), time.time()
        code = subprocess.run(command, env=env, stdout=out, stderr=subprocess.DEVNULL, timeout=600).returncode
        wall, cpu = time.time() - before, children_cpu() - before_cpu
        out.seek(0)
        return code, out.read(), wall, cpu


def fields(out):
    words = out.decode().split()
    return dict(zip(words[0::2], words[1::2]))


def median(rows, column):
    return sorted(row[column] for row in rows)[len(rows) // 2]


def main():
    work = tempfile.mkdtemp(prefix="vur-bench-")
    _, env = make_bench_prefix(work, arch, winearch)
    # Our own wineserver, so that its processor time can be read; it ends with the prefix's last program.
    server = start_wineserver(env)
    nginx = Nginx({"big.bin": os.urandom(1 << 20) * (SIZE >> 20)})
    hostile = HostileServer()
    try:
        url = "http://%s/big.bin" % nginx.main
        mb = SIZE / 1e6
        subprocess.run(["curl", "-s", "-o", "/dev/null", url], check=True)  # file into the page cache
        curl = []
        for _ in range(RUNS):
            _, out, wall, cpu = timed(["curl", "-s", "-o", "/dev/null", "-w", "%{size_download}", url])
            assert int(out) == SIZE, out
            curl.append((wall, cpu))
        timed([loader, fetch, url], env=env)  # Wine's own first start-up work out of the way
        # What a Wine process costs without a download: a request that ends at once.
        base = []
        for _ in range(RUNS):
            before = process_cpu(server.pid)
            _, out, wall, cpu = timed([loader, fetch, "http:///"], env=env)
            base.append((wall, cpu, process_cpu(server.pid) - before))
        ours = []
        for _ in range(RUNS):
            before = process_cpu(server.pid)
            _, out, wall, cpu = timed([loader, fetch, url], env=env)
            figures = fields(out)
            assert int(figures["bytes"]) == SIZE, out
            ours.append((wall, cpu, process_cpu(server.pid) - before, int(figures["wall_ms"]) / 1000,
                         int(figures["cpu_us"]) / 1e6))
        curl_wall, curl_cpu = median(curl, 0), median(curl, 1)
        base_wall, base_cpu, base_server = median(base, 0), median(base, 1), median(base, 2)
        wall, cpu, server_cpu, get_wall, get_cpu = (median(ours, i) for i in range(5))
        print("100 MB from loopback nginx, median of %d runs" % RUNS)
        print("  curl (native):        wall %6.3f s  %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB" %
              (curl_wall, mb / curl_wall, curl_cpu, 1000 * curl_cpu / mb))
        print("  THttpCli.Get (Wine):  wall %6.3f s  %7.1f MB/s  cpu %6.3f s  %6.2f ms/MB (GetProcessTimes)" %
              (get_wall, mb / get_wall, get_cpu, 1000 * get_cpu / mb))
        print("  whole Wine run:       wall %6.3f s, cpu %.3f s, wineserver cpu %.3f s;"
              " without download: wall %.3f s, cpu %.3f s, wineserver %.3f s" %
              (wall, cpu, server_cpu, base_wall, base_cpu, base_server))
        print("  targets, from Get's own figures: throughput ours/curl %.2f (>= 0.5), cpu per MB ours/curl %.2f (<= 2)"
              % (curl_wall / get_wall, get_cpu / curl_cpu))

        server_before = process_cpu(server.pid)
        _, out, drip_wall, drip_cpu = timed([loader, fetch, "http://%s/drip/10" % hostile.address], env=env)
        server_cpu = process_cpu(server.pid) - server_before
        figures = fields(out)
        print("one byte per second for 10 s: wall %.1f s, bytes %s, Get cpu %.3f s (target < 0.2 s);"
              " whole wine process with start-up %.3f s, wineserver %.3f s" %
              (drip_wall, figures["bytes"], int(figures["cpu_us"]) / 1e6, drip_cpu, server_cpu))
    finally:
        hostile.stop()
        nginx.stop()
        stop_wineserver(server, env)
        subprocess.run(["rm", "-rf", work])


main()
