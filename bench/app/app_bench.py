#!/usr/bin/env python3
"""The installer program against its bare peer (bare-layered-peer: a static
GUI program with libcurl and jsoncpp that shows one layered window of the
same size), side by side in the same run:

- size: the shipped 32-bit executables, and where the installer's bytes go;
- start to first painted frame under Wine (win64 builds): from the process
  start until the screen shows the window's pixels at a probe point, polled
  with ImageMagick's import; medians over the runs, the two alternating;
- private memory of the installer during a 50 MB download from the local
  update service (the e2e build, whose host is named by the environment).

Run through scripts/with-display (bench/run-app-bench does).
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "ui-driver"))
import kelo_ui as ui  # noqa: E402

MIB = 1024 * 1024


def sections(exe, objdump):
    out = subprocess.run([objdump, "-h", exe], capture_output=True, text=True).stdout
    sizes = {}
    for line in out.splitlines():
        m = re.match(r"\s*\d+\s+(\S+)\s+([0-9a-f]+)\s", line)
        if m:
            sizes[m.group(1)] = int(m.group(2), 16)
    return sizes


def probe_pixel(x, y):
    data = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "rgb:-"],
                          capture_output=True).stdout
    return tuple(data[:3])


def first_frame(exe, point, env=None):
    """Seconds from the process start until the probe pixel changes."""
    before = probe_pixel(*point)
    start = time.time()
    process = subprocess.Popen([ui.WINE_RUN, exe], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while time.time() - start < 60:
            if probe_pixel(*point) != before:
                return time.time() - start
        raise RuntimeError("no frame from %s" % exe)
    finally:
        process.kill()
        process.wait()
        time.sleep(0.5)
        subprocess.run(["wineserver", "-w"], env=dict(os.environ, WINEPREFIX=ui.wine_prefix()), timeout=30)


def windows_pid(name):
    """The Unix pid of the Wine process running the named program."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                cmd = f.read().split(b"\0")[0].decode(errors="replace")
        except OSError:
            continue
        if cmd.lower().endswith(name.lower()):
            return int(pid)
    return None


def private_bytes(pid):
    with open("/proc/%d/smaps_rollup" % pid) as f:
        values = dict((line.split(":")[0], int(line.split()[1]) * 1024) for line in f if line.strip().endswith("kB"))
    return values.get("Private_Clean", 0) + values.get("Private_Dirty", 0)


def idle_memory(exe, size):
    """Private bytes of a program whose window is up and idle."""
    process = subprocess.Popen([ui.WINE_RUN, exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        ui.AppWindow(process, size)
        time.sleep(1.0)
        return private_bytes(windows_pid(os.path.basename(exe)))
    finally:
        process.kill()
        process.wait()


def download_memory(args, skin):
    service_dir = tempfile.mkdtemp(prefix="kelo-app-bench-")
    os.chmod(service_dir, 0o755)
    service = os.path.join(ROOT, "tools", "demo-service", "demo_service.py")
    subprocess.run([sys.executable, service, "start", "--dir", service_dir, "--package", args.installer,
                    "--pad-to", str(50 * MIB + 777), "--pad-seed", "bench %f" % time.time(), "--rate", "3m"],
                   check=True, capture_output=True)
    info = json.load(open(os.path.join(service_dir, "package.json")))
    target = os.path.join(ui.wine_temp_dir(), "Kelo_%s.exe" % info["md5"])
    log = os.path.join(service_dir, "installer.log")
    env = dict(os.environ, KELO_E2E_UPDATE_HOST=info["base"], KELO_STANDIN_LOG=ui.wine_path(log))
    process = subprocess.Popen([ui.WINE_RUN, args.e2e_program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    peak = 0
    try:
        window = ui.AppWindow(process, skin.size)
        time.sleep(1.0)
        pid = windows_pid(os.path.basename(args.e2e_program))
        before = private_bytes(pid)
        window.click(skin.centre("install"))
        start = time.time()
        while ui.read_log(log) is None and time.time() - start < 180:
            peak = max(peak, private_bytes(pid))
            time.sleep(0.1)
        took = time.time() - start
        done = os.path.exists(target) and os.path.getsize(target) == info["size"]
    finally:
        process.kill()
        process.wait()
        subprocess.run([sys.executable, service, "stop", "--dir", service_dir], capture_output=True)
        for f in (target,):
            if os.path.exists(f):
                os.remove(f)
    return before, peak, took, done


def main():
    parser = argparse.ArgumentParser()
    for name in ("shipped", "shipped-peer", "program", "peer", "e2e-program", "installer", "skin-render",
                 "objdump"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    print("== size of the shipped 32-bit executables (MinSizeRel, stripped)")
    for label, exe in (("KeloVoiceSetup.exe", args.shipped), ("bare peer (libcurl + jsoncpp)", args.shipped_peer)):
        s = sections(exe, args.objdump)
        print("  %-32s %9d bytes (%.2f MiB)   .text %d  .rdata %d  .data %d  .rsrc %d" % (
            label, os.path.getsize(exe), os.path.getsize(exe) / MIB, s.get(".text", 0), s.get(".rdata", 0),
            s.get(".data", 0), s.get(".rsrc", 0)))

    work = tempfile.mkdtemp(prefix="kelo-app-bench-skin-")
    skin = ui.Skin(args.skin_render, args.program, "install_form.xml", work)

    print("== start to first painted frame under Wine (win64), %d runs each, alternating" % args.runs)
    probe = (1280 // 2, 1024 // 2 - 231 + 100)  # inside the banner of a centred 718x463 window
    times = {"installer": [], "peer": []}
    for _ in range(args.runs):
        times["installer"].append(first_frame(args.program, probe))
        times["peer"].append(first_frame(args.peer, probe))
    med_i, med_p = statistics.median(times["installer"]), statistics.median(times["peer"])
    print("  installer  median %.3f s  (%s)" % (med_i, " ".join("%.3f" % t for t in times["installer"])))
    print("  bare peer  median %.3f s  (%s)" % (med_p, " ".join("%.3f" % t for t in times["peer"])))
    print("  ratio %.2f (target at most 1.3)" % (med_i / med_p))

    print("== private memory of the installer during a 50 MB download (3 sources, 3 MB/s each)")
    peer_idle = idle_memory(args.peer, skin.size)
    before, peak, took, done = download_memory(args, skin)
    print("  bare peer, window up and idle: %.1f MiB" % (peer_idle / MIB))
    print("  installer before the download %.1f MiB, peak during it %.1f MiB (target at most 30 MiB); "
          "download %.1f s%s" % (before / MIB, peak / MIB, took, "" if done else " (NOT complete)"))
    print("  installer peak above the idle bare peer: %.1f MiB" % ((peak - peer_idle) / MIB))
    print("  (Private_Clean + Private_Dirty of the Wine process, /proc/PID/smaps_rollup)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
