#!/usr/bin/env python3
"""Local mirror and update host with faults chosen per URL, for the network
tests. Listens on 127.0.0.1 only, on free ports, over HTTPS and plain HTTP.

  fault_server.py start --state FILE   start in the background; FILE receives
                                       key=value lines (ports, CA path, pid)
  fault_server.py stop --state FILE    stop the server named in FILE
  fault_server.py serve --state FILE   run in the foreground

Besides the HTTPS, HTTP and host-name-mismatch ports, the state file names a
"silent" port that accepts connections and never answers (not even to a TLS
hello) and a "refused" port nobody listens on.

The first path segment picks the behaviour, as NAME or NAME-ARG[-TAG...]
(TAG only makes the URL unique, e.g. for request counts):
  ok          ranges honoured (206), whole file without a Range; the
              connection is kept alive, like a real mirror's
  dropkeep    as ok, but the server closes the kept-alive connection after
              every answer without saying so
  breakkeep   as ok on a connection's first request; a later request on the
              same connection gets half its body, then the connection closes
  norange     Range ignored: 200 with the whole file
  html404     404 with an HTML page
  short       206 with the last byte of the range missing
  long        206 with one byte more than asked
  stall       reads the request, then sends nothing
  drop        full Content-Length, half the body, then the connection closes
  slow        correct answer in 8 KiB pieces, ARG ms apart (default 10)
  wrongbytes  206 of the right length, every byte inverted
  json        200 {"version": "1"} after ARG ms (default 0)
  jsonempty   200 {}          jsonarray  200 []
  html        200 HTML page   empty      200 with an empty body
  redirect    302 to /ok/... with the body "moved"
  count       /count/REST answers how many requests /REST has had
  conns       /conns/REST answers over how many connections they came
  bytes       /bytes/REST answers how many bytes they asked for (range
              lengths; the whole blob for a request without a range)
  md5         /md5/blob-N answers the MD5 hex of blob-N
The last segment blob-N names N bytes of fixed pseudo-random content.
"""
import argparse
import hashlib
import os
import random
import select
import signal
import socket
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_certs  # noqa: E402

STALL_LIMIT_S = 60
_blobs = {}
_blobs_lock = threading.Lock()
_counts = {}
_conns = {}
_asked = {}
_counts_lock = threading.Lock()
_connection_ids = iter(range(1, 1 << 62))


def blob(size):
    with _blobs_lock:
        data = _blobs.get(size)
        if data is None:
            data = random.Random(size).randbytes(size)
            _blobs[size] = data
        return data


def parse_range(header, size):
    """(first, last) inclusive, or None when absent or unusable."""
    if not header or not header.startswith("bytes="):
        return None
    spec = header[len("bytes="):].split(",")[0].strip()
    first_text, _, last_text = spec.partition("-")
    try:
        if first_text == "":
            n = int(last_text)
            return (max(0, size - n), size - 1)
        first = int(first_text)
        last = int(last_text) if last_text else size - 1
    except ValueError:
        return None
    return (first, min(last, size - 1))


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = 30

    def setup(self):
        with _counts_lock:
            self.connection_id = next(_connection_ids)
        self.requests_here = 0
        if isinstance(self.request, ssl.SSLSocket):
            self.request.settimeout(10)
            try:
                self.request.do_handshake()
            except (ssl.SSLError, OSError):
                self.close_connection = True
        super().setup()

    def log_message(self, fmt, *args):
        pass

    def _send(self, status, body, ctype="application/octet-stream", extra=None, length=None, keep=False):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        if not keep:
            self.send_header("Connection", "close")
        for k, v in (extra or {}).items():
            self.send_header(k, v)
        self.end_headers()
        self.close_connection = not keep
        return body

    def _write(self, body):
        try:
            self.wfile.write(body)
            self.wfile.flush()
        except OSError:
            pass

    def _stall(self):
        # Hold the connection open without a byte until the client gives up.
        deadline = time.monotonic() + STALL_LIMIT_S
        while time.monotonic() < deadline:
            readable, _, _ = select.select([self.connection], [], [], 0.2)
            if readable:
                try:
                    if not self.connection.recv(1):
                        break
                except (OSError, ssl.SSLError):
                    break
        self.close_connection = True

    def do_GET(self):
        path = self.path.split("?")[0]
        self.requests_here += 1
        with _counts_lock:
            _counts[path] = _counts.get(path, 0) + 1
            _conns.setdefault(path, set()).add(self.connection_id)
        segments = [s for s in path.split("/") if s]
        head = segments[0] if segments else ""
        name, _, rest = head.partition("-")
        arg = rest.split("-")[0] if rest else ""
        arg_num = int(arg) if arg.isdigit() else None
        last = segments[-1] if segments else ""
        data = blob(int(last[5:])) if last.startswith("blob-") and last[5:].isdigit() else b"kelo test body\n"
        size = len(data)
        rng = parse_range(self.headers.get("Range"), size)

        with _counts_lock:
            _asked[path] = _asked.get(path, 0) + (size if rng is None else max(0, min(rng[1], size - 1) - rng[0] + 1))
        if name in ("count", "conns", "bytes"):
            rest_path = "/" + "/".join(segments[1:])
            with _counts_lock:
                n = {"count": _counts, "bytes": _asked}[name].get(rest_path, 0) if name != "conns" \
                    else len(_conns.get(rest_path, ()))
            self._write(self._send(200, str(n).encode(), "text/plain"))
        elif name == "md5":
            self._write(self._send(200, hashlib.md5(data).hexdigest().encode(), "text/plain"))
        elif name == "stall":
            self._stall()
        elif name in ("json", "jsonempty", "jsonarray"):
            if arg_num:
                time.sleep(arg_num / 1000.0)
            body = {"json": b'{"version": "1"}', "jsonempty": b"{}", "jsonarray": b"[]"}[name]
            self._write(self._send(200, body, "application/json"))
        elif name == "html":
            self._write(self._send(200, b"<html><body>maintenance</body></html>", "text/html"))
        elif name == "html404":
            self._write(self._send(404, b"<html><head><title>404 Not Found</title></head>"
                                        b"<body><h1>Not Found</h1></body></html>", "text/html"))
        elif name == "empty":
            self._write(self._send(200, b"", "text/plain"))
        elif name == "redirect":
            self._write(self._send(302, b"moved", "text/plain",
                                   {"Location": "/ok/" + "/".join(segments[1:])}))
        elif name == "norange":
            self._write(self._send(200, data))
        elif name in ("ok", "short", "long", "wrongbytes", "drop", "slow", "dropkeep", "breakkeep"):
            self._blob_answer(name, arg_num, data, rng)
        else:
            self._write(self._send(404, b"unknown behaviour", "text/plain"))

    def _blob_answer(self, name, arg_num, data, rng):
        size = len(data)
        if rng is None:
            status, part, extra = 200, data, {}
        else:
            first, last_byte = rng
            if first >= size or first > last_byte:
                self._write(self._send(416, b"", extra={"Content-Range": "bytes */%d" % size}))
                return
            status, part = 206, data[first:last_byte + 1]
            extra = {"Content-Range": "bytes %d-%d/%d" % (first, last_byte, size)}
        if name == "ok":
            self._write(self._send(status, part, extra=extra, keep=True))
        elif name == "dropkeep":
            self._write(self._send(status, part, extra=extra, keep=True))
            self.close_connection = True
        elif name == "breakkeep":
            if self.requests_here == 1:
                self._write(self._send(status, part, extra=extra, keep=True))
                return
            self._send(status, b"", extra=extra, length=len(part), keep=True)
            self._write(part[:len(part) // 2])
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        elif name == "short":
            self._write(self._send(status, part[:-1], extra=extra))
        elif name == "long":
            self._write(self._send(status, part + b"x", extra=extra))
        elif name == "wrongbytes":
            self._write(self._send(status, bytes(b ^ 0xFF for b in part), extra=extra))
        elif name == "drop":
            self._send(status, b"", extra=extra, length=len(part))
            self._write(part[:len(part) // 2])
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        elif name == "slow":
            self._send(status, b"", extra=extra, length=len(part))
            pause = (arg_num if arg_num is not None else 10) / 1000.0
            for i in range(0, len(part), 8192):
                self._write(part[i:i + 8192])
                time.sleep(pause)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64

    def __init__(self, context):
        self.context = context
        super().__init__(("127.0.0.1", 0), Handler)

    def get_request(self):
        sock, addr = self.socket.accept()
        if self.context is not None:
            sock = self.context.wrap_socket(sock, server_side=True, do_handshake_on_connect=False)
        return sock, addr


def _context(cert, key):
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(cert, key)
    return ctx


def _free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def _silent_listener():
    """Accepts connections and never sends a byte (not even a TLS hello)."""
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(64)
    held = []

    def loop():
        while True:
            conn, _ = listener.accept()
            held.append(conn)
            del held[:-64]  # bounded: the oldest are closed by the collector

    threading.Thread(target=loop, daemon=True).start()
    return listener.getsockname()[1]


def serve(state, lifetime):
    certs = test_certs.make_certs(os.path.join(os.path.dirname(os.path.abspath(state)), "net-server-certs"))
    servers = {
        "https": Server(_context(os.path.join(certs, "server.pem"), os.path.join(certs, "server.key"))),
        "mismatch": Server(_context(os.path.join(certs, "other.pem"), os.path.join(certs, "other.key"))),
        "http": Server(None),
    }
    for srv in servers.values():
        threading.Thread(target=srv.serve_forever, daemon=True).start()
    lines = ["pid=%d" % os.getpid()]
    lines += ["%s=%d" % (k, srv.server_address[1]) for k, srv in servers.items()]
    lines += ["silent=%d" % _silent_listener()]
    lines += ["refused=%d" % _free_port(), "ca=%s" % os.path.join(certs, "ca.pem")]
    tmp = state + ".tmp"
    with open(tmp, "w") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, state)
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    stop.wait(lifetime)
    try:
        os.remove(state)
    except OSError:
        pass


def read_state(state):
    values = {}
    with open(state) as f:
        for line in f:
            k, _, v = line.strip().partition("=")
            values[k] = v
    return values


def stop(state):
    try:
        pid = int(read_state(state)["pid"])
    except (OSError, KeyError, ValueError):
        return
    try:
        os.kill(pid, signal.SIGTERM)
    except OSError:
        pass
    for _ in range(50):
        if not os.path.exists(state):
            break
        time.sleep(0.1)


def start(state, lifetime):
    if os.path.exists(state):
        stop(state)
        try:
            os.remove(state)
        except OSError:
            pass
    pid = os.fork()
    if pid == 0:
        os.setsid()
        null = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(null, fd)
        try:
            serve(state, lifetime)
        finally:
            os._exit(0)
    for _ in range(300):
        if os.path.exists(state):
            sys.stdout.write(open(state).read())
            return 0
        time.sleep(0.1)
    sys.stderr.write("fault_server: did not start\n")
    return 1


def main():
    parser = argparse.ArgumentParser(description="fault-injecting local mirror")
    parser.add_argument("command", choices=["start", "stop", "serve"])
    parser.add_argument("--state", required=True)
    parser.add_argument("--lifetime", type=float, default=1800.0, help="seconds before exiting by itself")
    args = parser.parse_args()
    if args.command == "start":
        return start(args.state, args.lifetime)
    if args.command == "stop":
        stop(args.state)
        return 0
    serve(args.state, args.lifetime)
    return 0


if __name__ == "__main__":
    sys.exit(main())
