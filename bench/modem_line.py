#!/usr/bin/env python3
"""A typical update over a 56k modem line: an installation that is current except two changed signature files
of about 30 KB each, updated by update_bench.exe under Wine (the update run of update.exe without its window)
from loopback nginx through a relay of ours that plays the line.

The line carries 7000 bytes/s (56 kbit/s) in each direction, one budget per direction shared by every
connection of a run, and takes a round trip of 150 ms before a connection carries its first byte and before
the first byte of each response to a request. The relay counts every byte it carries (HTTP headers included),
the connections and the requests, whatever the update run asks for.

Prints per run and as median, min and max: the run's wall time, the bytes on the wire, the requests and
connections, and the line's limit: the bytes on the wire at 7000 bytes/s plus one round trip per request; then
the ratio wall/limit (target: at most 1.15), and the requests one run made.

Usage: xvfb-run -a bench/modem_line.py [build/win32|build/win64]
"""
import asyncio
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))
from bench_support import make_bench_prefix, median, start_wineserver, stop_wineserver, wine_for  # noqa: E402
from http_servers import Nginx  # noqa: E402

RUNS = 5
RATE = 7000.0  # bytes/s each way
ROUND_TRIP = 0.15  # s
CHUNK = 256  # bytes put on the line at once: small, so that connections sharing it take turns finely
TARGET = 1.15
CHANGED = ["signaturen\\wahlprogramme.dat", "signaturen\\premium.dat"]  # the two files the update brings

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "win64"))
arch, loader, winearch = wine_for(build)
native_vurconf = os.path.join(here, "..", "build", "native", "bin", "vurconf")


class Request:
    def __init__(self, connection, line, up):
        self.connection, self.line, self.up, self.down, self.status = connection, line, up, 0, ""


class ModemLine:
    """A loopback relay to upstream (host, port) that limits and delays as the module says."""

    def __init__(self, upstream):
        self.upstream = upstream
        self.loop = asyncio.new_event_loop()
        threading.Thread(target=self.loop.run_forever, daemon=True).start()
        self.server = asyncio.run_coroutine_threadsafe(
            asyncio.start_server(self._serve, "127.0.0.1", 0), self.loop).result()
        self.port = self.server.sockets[0].getsockname()[1]
        self.reset()

    def reset(self):
        """A fresh count for the next run; only while no connection is open."""
        self.free = {"up": 0.0, "down": 0.0}  # loop time from which each direction is free again
        self.wire = {"up": 0, "down": 0}
        self.connections = 0
        self.open = 0
        self.requests = []
        self.first = self.last = None  # loop times of the first connection and the last byte delivered

    def wait_idle(self, timeout=30):
        deadline = time.time() + timeout
        while self.open and time.time() < deadline:
            time.sleep(0.05)
        if self.open:
            raise RuntimeError("%d connections still open on the line" % self.open)

    def stop(self):
        self.loop.call_soon_threadsafe(self.server.close)
        self.loop.call_soon_threadsafe(self.loop.stop)

    def _reserve(self, direction, size):
        """Takes the line for size bytes from when it is free; returns when they have arrived."""
        start = max(self.loop.time(), self.free[direction])
        self.free[direction] = start + size / RATE
        self.wire[direction] += size
        return self.free[direction]

    async def _serve(self, client_reader, client_writer):
        self.connections += 1
        self.open += 1
        number = self.connections
        if self.first is None:
            self.first = self.loop.time()
        server_writer = None
        try:
            await asyncio.sleep(ROUND_TRIP)  # the set-up's round trip: the request waits here meanwhile
            server_reader, server_writer = await asyncio.open_connection(*self.upstream)
            exchange = {"answer_due": None, "request": None}
            await asyncio.gather(self._up(number, exchange, client_reader, Delivery(self, server_writer)),
                                 self._down(exchange, server_reader, Delivery(self, client_writer)))
        except OSError:
            pass
        finally:
            for writer in (client_writer, server_writer):
                if writer is not None:
                    writer.close()
            self.open -= 1

    async def _up(self, number, exchange, reader, delivery):
        pending = b""
        while True:
            data = await reader.read(CHUNK)
            if not data:
                break
            arrival = self._reserve("up", len(data))
            pending += data
            # A request is its header (the updater only GETs); its answer may start a round trip after its
            # last byte is through, set before that byte is passed on so that no answer can come first.
            while b"\r\n\r\n" in pending:
                head, pending = pending.split(b"\r\n\r\n", 1)
                request = Request(number, head.split(b"\r\n")[0].decode("latin-1"), len(head) + 4)
                self.requests.append(request)
                exchange["request"] = request
                exchange["answer_due"] = arrival + ROUND_TRIP
            await delivery.put(data, arrival)
        await delivery.end()

    async def _down(self, exchange, reader, delivery):
        while True:
            data = await reader.read(CHUNK)
            if not data:
                break
            request = exchange["request"]
            if exchange["answer_due"] is not None:
                await asyncio.sleep(max(0.0, exchange["answer_due"] - self.loop.time()))
                exchange["answer_due"] = None
                if request is not None:
                    request.status = data.split(b"\r\n")[0].decode("latin-1")
            if request is not None:
                request.down += len(data)
            await delivery.put(data, self._reserve("down", len(data)))
        await delivery.end()


class Delivery:
    """Passes chunks on at their arrival times. The reading side runs a few chunks ahead, so that the line's
    clock runs on from chunk to chunk and a late wake-up does not leave the line idle."""

    def __init__(self, line, writer):
        self.line, self.writer = line, writer
        self.queue = asyncio.Queue(4)
        self.task = asyncio.ensure_future(self._send())

    async def put(self, data, arrival):
        if self.task.done():  # the far side has gone: what it would get is lost, as on a real line
            return
        await self.queue.put((data, arrival))

    async def end(self):
        if not self.task.done():
            await self.queue.put(None)
        await asyncio.gather(self.task, return_exceptions=True)

    async def _send(self):
        try:
            while True:
                item = await self.queue.get()
                if item is None:
                    if self.writer.can_write_eof():
                        self.writer.write_eof()
                    return
                data, arrival = item
                await asyncio.sleep(max(0.0, arrival - self.line.loop.time()))
                self.writer.write(data)
                await self.writer.drain()
                self.line.last = self.line.loop.time()
        except OSError:
            self.writer.close()
            while not self.queue.empty():  # free a reader waiting to put
                self.queue.get_nowait()


def signature_lines(rng, family, first, count):
    """Signature lines as a publisher writes them: patterns in hex and whole-file hashes."""
    lines = []
    for i in range(first, first + count):
        name = "Dialer.%s.%04d" % (family, i)
        if i % 3:
            lines.append("hash|%s|%d|%s" % (name, rng.randint(20000, 900000),
                                            "".join(rng.choice("0123456789abcdef") for _ in range(128))))
        else:
            hex_bytes = " ".join("%02X" % rng.randrange(256) for _ in range(rng.randint(24, 48)))
            lines.append("pattern|%s|section:.text|%s" % (name, hex_bytes))
    return lines


def write_versions(installation, served):
    """The two files as installed (the last release) and as the server has them: some lines changed, some new,
    about 30 KB each."""
    for k, name in enumerate(CHANGED):
        rng, family = random.Random(k), os.path.splitext(name.split("\\")[-1])[0].capitalize()
        old = ["; VUR-Signaturen " + family] + signature_lines(rng, family, 0, 186)
        new = list(old)
        for i in rng.sample(range(1, len(new)), 12):
            new[i] = new[i].replace("|section:.text|", "|any|")
        new += signature_lines(rng, family, 186, 10)
        for folder, lines in ((installation, old), (served, new)):
            with open(os.path.join(folder, *name.split("\\")), "w", newline="") as f:
                f.write("\r\n".join(lines) + "\r\n")


def main():
    work = tempfile.mkdtemp(prefix="vur-modem-line-")
    prefix, env = make_bench_prefix(work, arch, winearch)
    server = start_wineserver(env)
    nginx = Nginx({})
    line = ModemLine(("127.0.0.1", nginx.port))
    served = os.path.join(nginx.dir, "root")
    installed = os.path.join(work, "installed")
    try:
        shutil.rmtree(served)
        shutil.copytree(os.path.join(build, "dist"), served)
        shutil.copytree(os.path.join(build, "dist"), installed)
        write_versions(installed, served)
        base = "http://127.0.0.1:%d" % line.port  # the list's URLs lead through the line too
        subprocess.run([native_vurconf, "updates", served, base, "--key",
                        os.path.join(here, "..", "keys", "test-update-key.key")], check=True, capture_output=True)
        bench = os.path.join(build, "bin", "update_bench.exe")
        # Wine's own start-up, once, so that the first run does not pay for what no run measures.
        subprocess.run([loader, bench], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

        runs = []
        for run in range(RUNS):
            folder = "modem%d-" % run
            shutil.copytree(installed, os.path.join(prefix, "drive_c", folder + "0"))
            line.reset()
            with tempfile.TemporaryFile() as output:  # a file: Wine's helper processes keep pipes open
                subprocess.run([loader, bench, "C:\\" + folder, base, "1", "--run-only"], env=env, stdout=output,
                               timeout=600, check=True)
                output.seek(0)
                out = output.read().decode("cp1252").splitlines()
            line.wait_idle()
            words = out[-1].split() if out else []
            figures = dict(zip(words[0::2], words[1::2]))
            assert figures.get("files") == str(len(CHANGED)) and figures.get("messages") == "1", out
            for name in CHANGED:
                path = os.path.join(*name.split("\\"))
                with open(os.path.join(served, path), "rb") as a, \
                        open(os.path.join(prefix, "drive_c", folder + "0", path), "rb") as b:
                    assert a.read() == b.read(), "%s not updated in run %d" % (name, run)
            wire = line.wire["up"] + line.wire["down"]
            limit = wire / RATE + ROUND_TRIP * len(line.requests)
            wall = int(figures["wall_ms"]) / 1000
            runs.append(dict(wall=wall, up=line.wire["up"], down=line.wire["down"], wire=wire,
                             connections=line.connections, requests=list(line.requests),
                             request_count=len(line.requests), limit=limit,
                             ratio=wall / limit, span=line.last - line.first))
            shutil.rmtree(os.path.join(prefix, "drive_c", folder + "0"), ignore_errors=True)

        print("a typical update over a 56k line (%d bytes/s each way, %d ms round trip) of %s: %d changed files"
              " (%s), %d runs" % (RATE, ROUND_TRIP * 1000, build, len(CHANGED),
                                  ", ".join("%s %d bytes" % (n, os.path.getsize(os.path.join(served, *n.split("\\"))))
                                            for n in CHANGED), RUNS))
        for k, r in enumerate(runs):
            print("  run %d: wall %.2f s (first connection to last byte on the line %.2f s), %d bytes on the wire"
                  " (%d up, %d down), %d requests, %d connections, limit %.2f s, wall/limit %.3f" %
                  (k + 1, r["wall"], r["span"], r["wire"], r["up"], r["down"], len(r["requests"]), r["connections"],
                   r["limit"], r["ratio"]))

        def spread(key, form):
            values = [r[key] for r in runs]
            return ("median " + form + " (min " + form + ", max " + form + ")") % (
                median(values), min(values), max(values))
        print("  wall time:      " + spread("wall", "%.2f s"))
        print("  bytes on wire:  " + spread("wire", "%d"))
        print("  requests:       " + spread("request_count", "%d"))
        print("  connections:    " + spread("connections", "%d"))
        print("  line's limit:   " + spread("limit", "%.2f s") + " = bytes / %d B/s + %.2f s per request" %
              (RATE, ROUND_TRIP))
        print("  wall/limit:     " + spread("ratio", "%.3f") + " (target <= %.2f)" % TARGET)
        print("  requests of run 1 (connection, request, answer, bytes up/down):")
        for request in runs[0]["requests"]:
            print("    #%-3d %-60s %-18s %5d %7d" % (request.connection, request.line, request.status, request.up,
                                                   request.down))
    finally:
        line.stop()
        nginx.stop()
        stop_wineserver(server, env)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
