#!/usr/bin/env python3
"""End-to-end cases of the kelo-fetch tool against the fault server.

  kelo_fetch_test.py --fetch PATH --state FILE [--emulator PROGRAM]

With an emulator (scripts/wine-run for the Windows build) the output path is
handed over as a Z: path, Wine's drive for the Unix root.
"""
import argparse
import hashlib
import os
import pty
import random
import re
import signal
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request

SIZE = 1234567
UNIT = 100000
UNITS = (SIZE + UNIT - 1) // UNIT


def encode_record(md5, bits):
    """The progress record kelo-fetch keeps next to its output (PATH.parts)."""
    data = bytearray((UNITS + 7) // 8)
    for i, done in enumerate(bits):
        if done:
            data[i // 8] |= 1 << (i % 8)
    return b"KELOPART" + struct.pack("<III", 1, SIZE, UNIT) + md5.encode() + struct.pack("<I", UNITS) + bytes(data)


def record_bits(path):
    try:
        data = open(path, "rb").read()
    except OSError:
        return None
    bits = data[8 + 12 + 32 + 4:]
    return [bool(bits[i // 8] >> (i % 8) & 1) for i in range(UNITS)] if len(bits) == (UNITS + 7) // 8 else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fetch", required=True)
    parser.add_argument("--state", required=True)
    parser.add_argument("--emulator")
    args = parser.parse_args()

    state = dict(line.strip().split("=", 1) for line in open(args.state) if "=" in line)
    https = "https://127.0.0.1:%s" % state["https"]
    refused = "http://127.0.0.1:%s" % state["refused"]
    md5 = hashlib.md5(random.Random(SIZE).randbytes(SIZE)).hexdigest()  # the server's blob-N
    blob = "/blob-%d" % SIZE

    def run(urls, expect_code, expect_last_status, extra=()):
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "out.bin")
            out_arg = ("Z:" + out) if args.emulator else out
            cmd = ([args.emulator] if args.emulator else []) + [args.fetch, "--size", str(SIZE), "--md5", md5,
                                                                "--out", out_arg, "--unit", "100000",
                                                                "--stall", "2", *extra, *urls]
            start = time.monotonic()
            proc = subprocess.run(cmd, capture_output=True, text=True, timeout=120)
            elapsed = time.monotonic() - start
            rows = proc.stdout.strip().splitlines()
            problems = []
            if proc.returncode != expect_code:
                problems.append("exit %d, expected %d" % (proc.returncode, expect_code))
            if not all(re.fullmatch(r"\d+ \d+ %d" % SIZE, r) for r in rows):
                problems.append("malformed lines")
            if not rows or int(rows[-1].split()[0]) != expect_last_status:
                problems.append("last report %r, expected status %d" % (rows[-1:] or None, expect_last_status))
            complete = [r for r in rows if r == "0 %d %d" % (SIZE, SIZE)]
            if len(complete) != (1 if expect_code == 0 else 0):
                problems.append("%d completion reports" % len(complete))
            if expect_code == 0 and hashlib.md5(open(out, "rb").read()).hexdigest() != md5:
                problems.append("wrong file")
            if elapsed > 60:
                problems.append("took %.0f s" % elapsed)
            return problems

    cases = [
        ("healthy among faulty", [refused + "/ok" + blob, https + "/html404" + blob, https + "/stall" + blob,
                                  https + "/drop" + blob, https + "/ok" + blob], 0, 0),
        ("only faulty mirrors", [refused + "/ok" + blob, https + "/html404" + blob, https + "/stall" + blob,
                                 https + "/norange" + blob], 1, 4),
        ("wrong bytes", [https + "/wrongbytes" + blob], 1, 1),
    ]
    failed = 0
    for name, urls, code, status in cases:
        problems = run(urls, code, status)
        print("%-22s %s" % (name, "ok" if not problems else "FAILED: " + "; ".join(problems)))
        failed += bool(problems)
    prefix = [args.emulator] if args.emulator else []
    usage = subprocess.run(prefix + [args.fetch, "--size", "x"], capture_output=True, timeout=60)
    if usage.returncode != 1:
        print("bad arguments: exit %d, expected 1" % usage.returncode)
        failed += 1
    helped = subprocess.run(prefix + [args.fetch, "--help"], capture_output=True, text=True, timeout=60)
    if helped.returncode != 0 or "usage: kelo-fetch" not in helped.stdout or "--no-resume" not in helped.stdout:
        print("--help: exit %d, expected 0 and the usage" % helped.returncode)
        failed += 1
    if not args.emulator:  # signals and terminals are the native build's
        for name, check in (("killed, then resumed", resume_after_kill), ("full record, bad file", full_record),
                            ("no-resume", no_resume), ("live line on a terminal", live_line)):
            problems = check(args.fetch, state, md5)
            print("%-22s %s" % (name, "ok" if not problems else "FAILED: " + "; ".join(problems)))
            failed += bool(problems)
    return 1 if failed else 0


def count(state, path, what="count"):
    """Requests for `path` at the fault server, or with what="bytes" the bytes they asked for."""
    url = "http://127.0.0.1:%s/%s%s" % (state["http"], what, path)
    return int(urllib.request.urlopen(url, timeout=30).read())


def fetch_cmd(fetch, md5, out, urls, extra=()):
    return [fetch, "--size", str(SIZE), "--md5", md5, "--out", out, "--unit", str(UNIT), "--stall", "5", *extra, *urls]


def unique(behaviour):
    return "/%s-%d-%d/blob-%d" % (behaviour, random.randrange(1 << 30), os.getpid(), SIZE)


def verified(out, md5):
    return os.path.exists(out) and hashlib.md5(open(out, "rb").read()).hexdigest() == md5


def resume_after_kill(fetch, state, md5):
    """SIGKILL in the middle of a download; the next run fetches only the units the record lacks."""
    https = "https://127.0.0.1:%s" % state["https"]
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.bin")
        slow = unique("slow-40")  # about half a second per unit
        proc = subprocess.Popen(fetch_cmd(fetch, md5, out, [https + slow]), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            bits = record_bits(out + ".parts")
            if bits and sum(bits) >= 3:
                break
            time.sleep(0.05)
        proc.send_signal(signal.SIGKILL)
        proc.wait()
        bits = record_bits(out + ".parts")
        if not bits or not 3 <= sum(bits) < UNITS:
            return ["no usable record after the kill: %r" % bits]
        kept = sum(bits)
        again = unique("ok-0")
        second = subprocess.run(fetch_cmd(fetch, md5, out, [https + again]), capture_output=True, text=True,
                                timeout=120)
        if second.returncode != 0:
            problems.append("second run exit %d: %s" % (second.returncode, second.stderr.strip()))
        missing = SIZE - kept * UNIT  # the last unit is never among the kept ones here
        if count(state, again, "bytes") != missing:
            problems.append("%d bytes asked for, %d missing" % (count(state, again, "bytes"), missing))
        first = second.stdout.split("\n")[0].split()
        if len(first) != 3 or int(first[1]) != (kept + 1) * UNIT:
            problems.append("first report %r, expected %d bytes done" % (first, (kept + 1) * UNIT))
        if "resuming" not in second.stderr or "verified" not in second.stderr:
            problems.append("messages: %r" % second.stderr)
        if not verified(out, md5):
            problems.append("wrong file")
        if os.path.exists(out + ".parts"):
            problems.append("record left after success")
    return problems


def full_record(fetch, state, md5):
    """A record naming every unit of a corrupted file: status 1, neither file nor record left."""
    https = "https://127.0.0.1:%s" % state["https"]
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.bin")
        data = bytearray(random.Random(SIZE).randbytes(SIZE))
        data[SIZE // 2] ^= 0x55
        open(out, "wb").write(data)
        open(out + ".parts", "wb").write(encode_record(md5, [True] * UNITS))
        path = unique("ok-0")
        proc = subprocess.run(fetch_cmd(fetch, md5, out, [https + path]), capture_output=True, text=True, timeout=60)
        if proc.returncode != 1:
            problems.append("exit %d, expected 1" % proc.returncode)
        if proc.stdout.split() != ["1", str(SIZE), str(SIZE)]:
            problems.append("reports %r" % proc.stdout)
        if "MD5" not in proc.stderr:
            problems.append("message %r does not name the MD5 check" % proc.stderr)
        if os.path.exists(out) or os.path.exists(out + ".parts"):
            problems.append("file or record left")
        if count(state, path) != 0:
            problems.append("requests made")
    return problems


def no_resume(fetch, state, md5):
    """--no-resume starts over even with a matching record."""
    https = "https://127.0.0.1:%s" % state["https"]
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.bin")
        open(out, "wb").write(random.Random(SIZE).randbytes(5 * UNIT))
        open(out + ".parts", "wb").write(encode_record(md5, [i < 5 for i in range(UNITS)]))
        path = unique("ok-0")
        proc = subprocess.run(fetch_cmd(fetch, md5, out, [https + path], ["--no-resume"]), capture_output=True,
                              text=True, timeout=60)
        problems = []
        if proc.returncode != 0 or not verified(out, md5):
            problems.append("exit %d" % proc.returncode)
        if count(state, path, "bytes") != SIZE:
            problems.append("%d bytes asked for, expected %d" % (count(state, path, "bytes"), SIZE))
        return problems


def live_line(fetch, state, md5):
    """On a terminal: one redrawn line with percent, bytes, rate and sources, then the result."""
    https = "https://127.0.0.1:%s" % state["https"]
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.bin")
        master, slave = pty.openpty()
        proc = subprocess.Popen(fetch_cmd(fetch, md5, out, [https + unique("slow-5"), https + unique("ok-0")]),
                                stdout=slave, stderr=slave)
        os.close(slave)
        text = b""
        while True:
            try:
                chunk = os.read(master, 4096)
            except OSError:
                break
            if not chunk:
                break
            text += chunk
        os.close(master)
        code = proc.wait(timeout=60)
        text = text.decode(errors="replace")
        problems = []
        if code != 0:
            problems.append("exit %d" % code)
        draws = re.findall(r"\r *(\d+\.\d) %  [\d.]+ / 1\.2 MiB  [\d.]+ MiB/s  \d sources? working", text)
        if not draws or draws[-1] != "100.0":
            problems.append("no live line ending at 100 %%: %r" % text[:300])
        if re.search(r"^\d+ \d+ \d+", text, re.M):
            problems.append("record lines on a terminal")
        if "verified: " not in text:
            problems.append("no result line")
        return problems


if __name__ == "__main__":
    sys.exit(main())
