#!/usr/bin/env python3
"""End-to-end cases of the kelo-fetch tool against the fault server.

  kelo_fetch_test.py --fetch PATH --state FILE [--emulator PROGRAM]

With an emulator (scripts/wine-run for the Windows build) the output path is
handed over as a Z: path, Wine's drive for the Unix root.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

SIZE = 1234567


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fetch", required=True)
    parser.add_argument("--state", required=True)
    parser.add_argument("--emulator")
    args = parser.parse_args()

    state = dict(line.strip().split("=", 1) for line in open(args.state) if "=" in line)
    https = "https://127.0.0.1:%s" % state["https"]
    refused = "http://127.0.0.1:%s" % state["refused"]
    import hashlib
    import random
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
    usage = subprocess.run(([args.emulator] if args.emulator else []) + [args.fetch, "--size", "x"],
                           capture_output=True, timeout=60)
    if usage.returncode != 1:
        print("bad arguments: exit %d, expected 1" % usage.returncode)
        failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
