"""Loopback test servers for the download client: nginx with its own config, and a hostile server of ours."""
import os
import random
import shutil
import socket
import subprocess
import tempfile
import threading
import time

NGINX_CONFIG = """worker_processes 1;
daemon off;
pid {dir}/nginx.pid;
error_log {dir}/error.log;
events {{ worker_connections 64; }}
http {{
  access_log off;
  types {{ text/html html; application/octet-stream bin dat; }}
  default_type application/octet-stream;
  client_body_temp_path {dir}/tmp; proxy_temp_path {dir}/tmp; fastcgi_temp_path {dir}/tmp;
  uwsgi_temp_path {dir}/tmp; scgi_temp_path {dir}/tmp;
  server {{
    listen {main};
    root {dir}/root;
    # SSI output has no known length: nginx answers an HTTP/1.0 request without Content-Length and closes.
    location /nolength/ {{ ssi on; alias {dir}/root/; }}
    location = /moved {{ return 302 http://{other_host}/target.bin; }}
  }}
  server {{
    listen {other_host}:80;
    location = /target.bin {{ return 200 "host=$http_host uri=$request_uri\\n"; }}
  }}
}}
"""


def free_port(host="127.0.0.1"):
    with socket.socket() as s:
        s.bind((host, 0))
        return s.getsockname()[1]


def port_80_address():
    """A loopback address whose port 80 is free, away from 127.0.0.1 so that parallel runs rarely meet."""
    rng = random.Random()
    for _ in range(50):
        host = "127.%d.%d.%d" % (rng.randint(1, 254), rng.randint(0, 255), rng.randint(1, 254))
        with socket.socket() as s:
            try:
                s.bind((host, 80))
                return host
            except OSError:
                continue
    raise RuntimeError("no loopback address with a free port 80")


def wait_listening(host, port, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            socket.create_connection((host, port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    raise RuntimeError("server on %s:%d did not start" % (host, port))


class Nginx:
    """nginx serving a temporary folder on 127.0.0.1:<free port> and a second server on <address>:80."""

    def __init__(self, files):
        self.dir = tempfile.mkdtemp(prefix="vur-nginx-")
        os.chmod(self.dir, 0o755)
        os.makedirs(os.path.join(self.dir, "root"))
        os.makedirs(os.path.join(self.dir, "tmp"))
        for name, data in files.items():
            with open(os.path.join(self.dir, "root", name), "wb") as f:
                f.write(data)
        self.port = free_port()
        self.main = "127.0.0.1:%d" % self.port
        self.other = port_80_address()
        with open(os.path.join(self.dir, "nginx.conf"), "w") as f:
            f.write(NGINX_CONFIG.format(dir=self.dir, main=self.main, other_host=self.other))
        self.process = subprocess.Popen(["nginx", "-c", os.path.join(self.dir, "nginx.conf"), "-p", self.dir],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_listening("127.0.0.1", self.port)
            wait_listening(self.other, 80)
        except RuntimeError:
            self.stop()
            raise

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


def _hostile_answer(path):
    """The behaviour for one path: a list of (bytes to send, seconds to wait afterwards); None: stay open."""
    ok = b"HTTP/1.0 200 OK\r\n"
    plan = {
        "/silent": [None],
        "/open-length": [(ok + b"Content-Length: 5\r\n\r\nhello", 0), None],
        "/open-nolength": [(ok + b"\r\nhello", 0), None],
        "/trickle": [(ok + b"Content-Length: 4\r\n\r\n", 1)] + [(bytes([c]), 1) for c in b"abcd"],
        "/early-body": [(ok + b"Content-Length: 100\r\n\r\nabc", 0)],
        "/early-header": [(ok + b"Content-Le", 0)],
        "/nothing": [],
        "/loop": [(b"HTTP/1.1 302 Found\r\nLocation: /loop\r\n\r\nweiter", 0)],
        "/https": [(b"HTTP/1.1 302 Found\r\nLocation: https://127.0.0.1/x\r\n\r\n", 0)],
        "/long-line": [(ok + b"X-Long: " + b"x" * 9000 + b"\r\n\r\nbody", 0), None],
        "/reset-status": [(b"HTTP/1.0 404 Nope\r\nContent-Length: 100\r\n\r\nx", 0), None],
    }
    if path.startswith("/slow/"):  # /slow/<length>: a body of that length at one byte every 5 s
        length = int(path[6:])
        return [(ok + b"Content-Length: %d\r\n\r\n" % length, 5)] + [(b"x", 5) for _ in range(length)]
    if path.startswith("/drip/"):  # /drip/<seconds>: one byte per second, then close
        seconds = int(path[6:])
        return [(ok + b"\r\n", 1)] + [(b"x", 1) for _ in range(seconds)]
    return plan.get(path, [(b"HTTP/1.0 400 Unknown test path\r\n\r\n", 0)])


class HostileServer:
    """Answers each request by its path as _hostile_answer says; connections it holds open end with stop()."""

    def __init__(self):
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(16)
        self.address = "127.0.0.1:%d" % self.listener.getsockname()[1]
        self.stopping = threading.Event()
        self.open = []
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while not self.stopping.is_set():
            try:
                connection, _ = self.listener.accept()
            except OSError:
                return
            self.open.append(connection)
            threading.Thread(target=self._serve, args=(connection,), daemon=True).start()

    def _serve(self, connection):
        try:
            request = b""
            while b"\r\n\r\n" not in request:
                chunk = connection.recv(4096)
                if not chunk:
                    return
                request += chunk
            path = request.split(b" ")[1].decode("latin-1") if request.count(b" ") >= 2 else "/"
            for step in _hostile_answer(path):
                if step is None:
                    self.stopping.wait()
                    return
                data, pause = step
                connection.sendall(data)
                if pause and self.stopping.wait(pause):
                    return
        except OSError:
            pass
        finally:
            connection.close()

    def stop(self):
        self.stopping.set()
        self.listener.close()
        for connection in self.open:
            try:
                connection.close()
            except OSError:
                pass


def pattern(size):
    """The bytes of the test file "pattern.bin" (the Wine test computes the same)."""
    return bytes(((i * 7 + i // 251) & 0xFF) for i in range(size))
