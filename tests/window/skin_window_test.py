#!/usr/bin/env python3
"""skin-render --window end to end on the X display: the layered window shows
its opaque controls and leaves undrawn pixels as holes to the root window; a
real hover shows a control's tooltip and leaving hides it; a real drag on the
caption moves it; Escape closes it with exit code 0, and so
does --close-after; a skin that does not build fails with a message, not a
message box. Needs DISPLAY (scripts/with-display), xdotool and ImageMagick."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from ui_checks import Tool, check, finish, grab, pixel, wait_for, window_test_args, xdotool  # noqa: E402


def changed_rows(a, b):
    """Rows of the screen where two grabs differ."""
    width, height, _ = a
    stride = width * 3
    return [y for y in range(height) if a[2][y * stride:(y + 1) * stride] != b[2][y * stride:(y + 1) * stride]]


def wait_for_change(base, timeout):
    """The rows that differ from base once the screen changes; [] on timeout."""
    end = time.time() + timeout
    while time.time() < end:
        rows = changed_rows(base, grab())
        if rows:
            return rows
        time.sleep(0.2)
    return []


def main():
    args = window_test_args("skin_window_test")
    if args is None:
        return 1
    tool = Tool(args.tool, args.emulator)
    skin = tool.path(os.path.join(args.skins, "preview"))

    before = grab()
    proc = subprocess.Popen(tool.command(skin, "preview.xml", "--window", "--close-after", "60000"),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        first = proc.stdout.readline().split()
        check(len(first) == 3 and first[0] == "window", "position line: %s" % first)
        x, y = (int(v) for v in first[1].split(","))
        check(first[2] == "200x120", "window size: %s" % first[2])
        # Centred on the screen's work area.
        check(abs(x - (before[0] - 200) // 2) <= 1, "centred horizontally: %d" % x)

        blue = (0, 0, 255)
        shown = wait_for(lambda: pixel(grab(), x + 20, y + 20) == blue, 60)
        check(shown, "the window appears")
        shot = grab()
        check(pixel(shot, x + 100, y + 100) == (0, 255, 0), "opaque bottom control")
        # Undrawn pixels are fully transparent: the root shows through.
        for px, py in ((x + 150, y + 60), (x + 199, y + 79)):
            check(pixel(shot, px, py) == pixel(before, px, py),
                  "hole at %d,%d: %s vs %s" % (px, py, pixel(shot, px, py), pixel(before, px, py)))

        # Real hover: the bottom control's tooltip appears by the pointer and
        # goes when the pointer leaves the window.
        xdotool("mousemove", 5, 5)
        time.sleep(0.5)
        calm = grab()
        xdotool("mousemove", x + 100, y + 100)
        rows = wait_for_change(calm, 20)
        check(bool(rows), "tooltip appears on hover")
        check(rows and y + 100 <= min(rows) and max(rows) <= y + 100 + 80, "tooltip below the pointer: rows %s" % (
            (min(rows), max(rows)) if rows else None,))
        xdotool("mousemove", 5, 5)
        check(wait_for(lambda: not changed_rows(calm, grab()), 20), "tooltip hidden when the pointer leaves")

        # A real drag on the caption (a plain control in the caption band).
        # Pauses let Wine enter its move loop before the pointer moves, also
        # on a loaded machine.
        xdotool("mousemove", x + 100, y + 10, "mousedown", 1, "sleep", 0.5, "mousemove", x + 120, y + 30,
                "sleep", 0.3, "mousemove", x + 160, y + 70, "sleep", 0.5, "mouseup", 1)
        moved = wait_for(lambda: pixel(grab(), x + 60 + 20, y + 60 + 20) == blue, 30)
        check(moved, "caption drag moves the window")

        # Escape closes it; the exit code is 0.
        xdotool("mousemove", x + 60 + 100, y + 60 + 100, "click", 1)
        time.sleep(0.3)
        xdotool("key", "Escape")
        # Well before --close-after would end it.
        try:
            out, err = proc.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            out, err = "", "still open 60 s after Escape"
        check(proc.returncode == 0, "Escape closes with exit code 0: %s %s" % (proc.returncode, err))
        check("closed %d,%d" % (x + 60, y + 60) in out, "closed where it was dragged: %s" % out)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()

    # --close-after closes it on its own.
    start = time.time()
    res = subprocess.run(tool.command(skin, "preview.xml", "--window", "--close-after", "1500"),
                         capture_output=True, text=True, timeout=60)
    check(res.returncode == 0, "--close-after exits 0: %s" % res.stderr)
    check(time.time() - start >= 1.5, "--close-after waits")

    # A skin that does not build: a message and exit code 1, no window.
    res = subprocess.run(tool.command(skin, "missing.xml", "--window"), capture_output=True, text=True,
                         timeout=60)
    check(res.returncode == 1 and "cannot build" in res.stderr, "missing skin: %s" % res.stderr)
    res = subprocess.run(tool.command(skin, "preview.xml", "--close-after", "10"), capture_output=True,
                         text=True, timeout=60)
    check(res.returncode == 2, "--close-after without --window is a usage error")

    return finish("skin-render --window")


if __name__ == "__main__":
    sys.exit(main())
