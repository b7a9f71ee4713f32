"""Prints the time from a dialer's start to its termination by the monitor at "Infizierte Anwendung" 2 under
Wine: the median of several runs (target at most 700 ms). Run under xvfb-run after scripts/build:
    xvfb-run -a python3 bench/dialer_latency.py [--runs 10]"""
import argparse
import os
import shutil
import statistics
import subprocess
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(here)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--version", default="winxp")
    args = parser.parse_args()
    prefix = os.path.join(root, "build", "bench", "prefix-" + args.version)
    if not os.path.isdir(prefix):
        subprocess.run([os.path.join(root, "tests", "wine", "make-prefix"), prefix, args.version], check=True)
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH="win32", WINEDEBUG="-all")
    folder = os.path.join(prefix, "drive_c", "VUR Bench")
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(os.path.join(root, "build", "win32", "dist"), folder)
    dialer = os.path.join(prefix, "drive_c", "bench_dialer.exe")
    shutil.copy(os.path.join(root, "build", "win32", "e2e-programs", "test_dialer.exe"), dialer)
    subprocess.run([os.path.join(root, "build", "native", "bin", "vurconf"), "set", "--owner", "",
                    "--product", "12345-oem-0000001-54321", os.path.join(folder, "vur.conf"), "Generell",
                    "Infizierte Anwendung", "2"], check=True)
    monitor = subprocess.Popen(["wine", "C:\\VUR Bench\\fast.exe"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        time.sleep(4)
        # A program that ends on its own at once shows what starting a process under Wine costs by itself.
        start = time.time()
        subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        baseline = time.time() - start
        times = []
        for _ in range(args.runs):
            start = time.time()
            process = subprocess.Popen(["wine", "C:\\bench_dialer.exe"], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            process.wait(timeout=30)
            times.append(time.time() - start)
            time.sleep(0.3)
        print("dialer start to termination at \"Infizierte Anwendung\" 2 under Wine (%s), %d runs:" %
              (args.version, args.runs))
        print("  median %.0f ms, min %.0f ms, max %.0f ms (target: median at most 700 ms)" %
              (statistics.median(times) * 1000, min(times) * 1000, max(times) * 1000))
        print("  a process that ends by itself at once takes %.0f ms under Wine" % (baseline * 1000))
    finally:
        monitor.kill()
        subprocess.run(["wineserver", "-k"], env=env)


if __name__ == "__main__":
    main()
