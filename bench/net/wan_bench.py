#!/usr/bin/env python3
"""Wide-area download benchmark: kelo-fetch, aria2c and curl side by side
through delaying proxies (delay_proxy.py) in front of three HTTPS nginx
mirrors, at several round-trip times. Started by `bench/run-download-bench --wan`.

Each mirror is a private nginx server with `limit_rate` per connection; the
three mirrors' combined rate is taken as three times that rate. Per round trip
and run the peers go in turn (kelo-fetch, the optional baseline kelo-fetch,
aria2c -x3 -s3 -k1M, curl on one mirror), then kelo-fetch resumes a download
that is 80 % done (file and progress record prepared). Medians are printed.
"""
import argparse
import hashlib
import os
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
UNIT = 512000


def free_ports(n):
    socks = [socket.socket() for _ in range(n)]
    for s in socks:
        s.bind(("127.0.0.1", 0))
    ports = [s.getsockname()[1] for s in socks]
    for s in socks:
        s.close()
    return ports


def wait_port(port, timeout=10):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    raise RuntimeError("nothing listens on %d" % port)


def parse_rate(text):
    units = {"k": 1024, "m": 1048576}
    return int(float(text[:-1]) * units[text[-1].lower()]) if text[-1].lower() in units else int(text)


def record(size, md5, units_done):
    count = (size + UNIT - 1) // UNIT
    bits = bytearray((count + 7) // 8)
    for i in range(units_done):
        bits[i // 8] |= 1 << (i % 8)
    return b"KELOPART" + struct.pack("<III", 1, size, UNIT) + md5.encode() + struct.pack("<I", count) + bytes(bits)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fetch", required=True, help="kelo-fetch to measure")
    parser.add_argument("--baseline", help="an older kelo-fetch, measured alongside")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--size-mib", type=int, default=24)
    parser.add_argument("--rate", default="4m", help="nginx limit_rate per connection")
    parser.add_argument("--rtts", default="0,50,100", help="round-trip times in ms")
    args = parser.parse_args()
    rtts = [int(r) for r in args.rtts.split(",")]
    rate = parse_rate(args.rate)

    work = tempfile.mkdtemp(prefix="kelo-wan-bench.")
    os.chmod(work, 0o755)
    procs = []
    nginx_conf = os.path.join(work, "nginx.conf")
    try:
        subprocess.run([sys.executable, os.path.join(REPO, "tests/support/test_certs.py"), work + "/certs"],
                       check=True, stdout=subprocess.DEVNULL)
        size = args.size_mib * 1048576
        data = os.urandom(size)
        with open(os.path.join(work, "file.bin"), "wb") as f:
            f.write(data)
        os.chmod(os.path.join(work, "file.bin"), 0o644)
        md5 = hashlib.md5(data).hexdigest()
        mirrors = free_ports(3)
        os.makedirs(work + "/tmp")
        with open(nginx_conf, "w") as f:
            f.write("daemon on; worker_processes 1; pid %s/nginx.pid; error_log %s/error.log warn;\n" % (work, work))
            f.write("events { worker_connections 512; }\nhttp {\n  access_log off; sendfile on; keepalive_timeout 30;\n")
            for d in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"):
                f.write("  %s_temp_path %s/tmp;\n" % (d, work))
            f.write("  ssl_certificate %s/certs/server.pem; ssl_certificate_key %s/certs/server.key;\n" % (work, work))
            for p in mirrors:
                f.write("  server { listen 127.0.0.1:%d ssl; root %s; limit_rate %s; }\n" % (p, work, args.rate))
            f.write("}\n")
        subprocess.run(["nginx", "-p", work, "-c", nginx_conf, "-e", work + "/error.log"], check=True)
        for p in mirrors:
            wait_port(p)
        out = os.path.join(work, "out")
        os.makedirs(out)
        load_before = open("/proc/loadavg").read().split()[:3]
        times = {}

        def timed(name, rtt, cmd, path):
            start = time.monotonic()
            proc = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            wall = time.monotonic() - start
            if proc.returncode != 0 or hashlib.md5(open(path, "rb").read()).hexdigest() != md5:
                raise RuntimeError("%s at %d ms failed: %s" % (name, rtt, proc.stderr.decode(errors="replace")))
            times.setdefault((name, rtt), []).append(wall)

        def clean():
            shutil.rmtree(out)
            os.makedirs(out)

        for rtt in rtts:
            proxies = free_ports(3)
            for listen, target in zip(proxies, mirrors):
                procs.append(subprocess.Popen([sys.executable, os.path.join(HERE, "delay_proxy.py"), "--listen",
                                               str(listen), "--target", str(target), "--delay-ms", str(rtt / 2.0)]))
            for p in proxies:
                wait_port(p)
            urls = ["https://127.0.0.1:%d/file.bin" % p for p in proxies]
            target = os.path.join(out, "kelo.bin")
            fetch = ["--size", str(size), "--md5", md5, "--out", target] + urls
            for run in range(args.runs):
                print("round trip %d ms, run %d/%d ..." % (rtt, run + 1, args.runs), file=sys.stderr)
                timed("kelo", rtt, [args.fetch] + fetch, target)
                clean()
                if args.baseline:
                    timed("baseline", rtt, [args.baseline] + fetch, target)
                    clean()
                aria = os.path.join(out, "aria.bin")
                timed("aria2c", rtt, ["aria2c", "-q", "-x3", "-s3", "-k1M", "--check-certificate=false",
                                      "--allow-overwrite=true", "--auto-file-renaming=false",
                                      "--checksum=md5=" + md5, "-d", out, "-o", "aria.bin"] + urls, aria)
                clean()
                timed("curl", rtt, ["curl", "-sS", "-k", "-o", os.path.join(out, "curl.bin"), urls[0]],
                      os.path.join(out, "curl.bin"))
                clean()
                done_units = int(0.8 * ((size + UNIT - 1) // UNIT))
                with open(target, "wb") as f:
                    f.write(data[:done_units * UNIT])
                with open(target + ".parts", "wb") as f:
                    f.write(record(size, md5, done_units))
                timed("resumed", rtt, [args.fetch] + fetch, target)
                clean()
            for p in procs:
                p.terminate()
                p.wait()
            procs.clear()

        load_after = open("/proc/loadavg").read().split()[:3]
        mib = size / 1048576.0
        combined = 3 * rate / 1048576.0
        print("\nload average before: %s, after: %s (%d CPUs)" % (" ".join(load_before), " ".join(load_after),
                                                                os.cpu_count()))
        print("%d MiB from 3 HTTPS mirrors, nginx limit_rate %s per connection (combined %.1f MiB/s = %.2f s);"
              " medians of %d runs; wall seconds (%% of the combined rate)\n"
              % (args.size_mib, args.rate, combined, mib / combined, args.runs))
        peers = [("kelo", "kelo-fetch (3 mirrors)")]
        if args.baseline:
            peers.append(("baseline", "baseline kelo-fetch (3 mirrors)"))
        peers += [("aria2c", "aria2c -x3 -s3 -k1M (3 mirrors)"), ("curl", "curl (1 mirror)")]
        print("| round trip | " + " | ".join(label for _, label in peers) + " | kelo-fetch / aria2c | resumed at 80 % |")
        print("|---" * (len(peers) + 3) + "|")
        for rtt in rtts:
            med = {name: statistics.median(times[(name, rtt)]) for name, _ in peers}
            resumed = statistics.median(times[("resumed", rtt)])
            cells = ["%.2f s (%.0f %%)" % (med[n], 100.0 * mib / med[n] / combined) for n, _ in peers]
            print("| %d ms | %s | %.2f | %.2f s (%.0f %% of the full time) |"
                  % (rtt, " | ".join(cells), med["kelo"] / med["aria2c"], resumed, 100.0 * resumed / med["kelo"]))
    finally:
        for p in procs:
            p.terminate()
        if os.path.exists(work + "/nginx.pid"):
            subprocess.run(["nginx", "-p", work, "-c", nginx_conf, "-e", work + "/error.log", "-s", "quit"],
                           stderr=subprocess.DEVNULL)
            time.sleep(0.3)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
