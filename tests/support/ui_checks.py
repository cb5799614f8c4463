"""What the end-to-end UI tests share: checks that collect failures and a
final verdict, running a Windows tool natively or under Wine, and the X
screen (grabs with ImageMagick's import, input with xdotool)."""
import argparse
import os
import subprocess
import time

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def finish(name):
    """The exit code of a test script once all its checks have run."""
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("%s: all checks passed" % name)
    return 0


class Tool:
    """A program of the build, run directly or through an emulator (Wine)."""

    def __init__(self, tool, emulator):
        self.tool, self.emulator = tool, emulator

    def path(self, p):
        # Windows programs under Wine see the Linux root as drive Z:.
        return "Z:" + p if self.emulator else p

    def command(self, *args):
        return ([self.emulator] if self.emulator else []) + [self.tool] + list(args)

    def run(self, *args):
        return subprocess.run(self.command(*args), capture_output=True, text=True, timeout=120)


def window_test_args(name):
    """The arguments of a test of skin-render --window (--tool, --skins,
    --emulator); None, after saying so, when there is no X display."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--skins", required=True)
    parser.add_argument("--emulator")
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("%s needs an X display (run it through scripts/with-display)" % name)
        return None
    return args


def grab():
    """The whole root window as (width, height, rgb bytes)."""
    size = subprocess.run(["xdpyinfo"], capture_output=True, text=True, check=True).stdout
    dims = [line.split()[1] for line in size.splitlines() if "dimensions:" in line][0]
    width, height = (int(v) for v in dims.split("x"))
    raw = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    assert len(raw) == width * height * 3, "unexpected grab size"
    return width, height, raw


def pixel(shot, x, y):
    width, _height, raw = shot
    p = (y * width + x) * 3
    return tuple(raw[p:p + 3])


def wait_for(pred, timeout):
    end = time.time() + timeout
    while time.time() < end:
        if pred():
            return True
        time.sleep(0.2)
    return False


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)
