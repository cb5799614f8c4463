#!/usr/bin/env python3
"""The controls in a real window on the X display (skin-render --window),
driven by xdotool: hovering a button shows its hot image, pressing it the
pushed image, leaving it with the button down the normal image again; a
click on an option shows its selected image and a second click the normal one.
Needs DISPLAY (scripts/with-display), xdotool and ImageMagick."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from ui_checks import Tool, check, finish, grab, pixel, window_test_args, xdotool  # noqa: E402

NORMAL, HOT, PUSHED, SELECTED = (200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 0, 200)


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


def main():
    args = window_test_args("controls_window_test")
    if args is None:
        return 1
    tool = Tool(args.tool, args.emulator)
    skin = tool.path(os.path.join(args.skins, "controls"))
    command = tool.command(skin, "controls.xml", "--window", "--close-after", "90000")
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

    return finish("controls in a real window")


if __name__ == "__main__":
    sys.exit(main())
