#!/usr/bin/env python3
"""The controls in a real window on the X display (skin-render --window),
driven by xdotool: hovering a button shows its hot image, pressing it the
pushed image, leaving it with the button down the normal image again; a
click on an option shows its selected image and a second click the normal one.
Needs DISPLAY (scripts/with-display), xdotool and ImageMagick."""
import argparse
import os
import subprocess
import sys
import time

failures = []

NORMAL, HOT, PUSHED, SELECTED = (200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 0, 200)


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def grab():
    size = subprocess.run(["xdpyinfo"], capture_output=True, text=True, check=True).stdout
    dims = [line.split()[1] for line in size.splitlines() if "dimensions:" in line][0]
    width, height = (int(v) for v in dims.split("x"))
    raw = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    assert len(raw) == width * height * 3, "unexpected grab size"
    return width, raw


def pixel(shot, x, y):
    width, raw = shot
    p = (y * width + x) * 3
    return tuple(raw[p:p + 3])


def shows(x, y, colour, timeout=10):
    """Waits until the screen shows colour at x, y; the last colour seen otherwise."""
    end = time.time() + timeout
    seen = None
    while time.time() < end:
        seen = pixel(grab(), x, y)
        if seen == colour:
            return True, seen
        time.sleep(0.2)
    return False, seen


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--skins", required=True)
    parser.add_argument("--emulator")
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("controls_window_test needs an X display (run it through scripts/with-display)")
        return 1
    skin = os.path.join(args.skins, "controls")
    if args.emulator:
        skin = "Z:" + skin
    command = ([args.emulator] if args.emulator else []) + [args.tool, skin, "controls.xml", "--window",
                                                            "--close-after", "90000"]
    # The pointer starts away from where the window will be.
    xdotool("mousemove", 0, 0)
    proc = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        first = proc.stdout.readline().split()
        check(len(first) == 3 and first[0] == "window", "position line: %s" % first)
        x, y = (int(v) for v in first[1].split(","))
        btn = (x + 330, y + 25)  # button "btn" at 310,10,350,40
        chk = (x + 380, y + 25)  # option "chk" at 360,10,400,40
        ok, seen = shows(btn[0], btn[1], NORMAL, 20)
        check(ok, "the window shows the button's normal image: %s" % (seen,))

        xdotool("mousemove", btn[0], btn[1])
        ok, seen = shows(btn[0], btn[1], HOT)
        check(ok, "hover shows the hot image: %s" % (seen,))
        xdotool("mousedown", 1)
        ok, seen = shows(btn[0], btn[1], PUSHED)
        check(ok, "pressing shows the pushed image: %s" % (seen,))
        # Out of the button with the button still down: neither pushed nor hot.
        xdotool("mousemove", x + 200, y + 80)
        ok, seen = shows(btn[0], btn[1], NORMAL)
        check(ok, "leaving while pressed shows the normal image: %s" % (seen,))
        xdotool("mouseup", 1)

        xdotool("mousemove", chk[0], chk[1], "click", 1)
        ok, seen = shows(chk[0], chk[1], SELECTED)
        check(ok, "a click selects the option: %s" % (seen,))
        xdotool("click", 1)
        ok, seen = shows(chk[0], chk[1], NORMAL)
        check(ok, "a second click deselects it: %s" % (seen,))

        xdotool("key", "Escape")
        proc.communicate(timeout=30)
        check(proc.returncode == 0, "Escape closes the window: %s" % proc.returncode)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        xdotool("mousemove", 0, 0)

    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("controls in a real window: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
