#!/usr/bin/env python3
"""skin-render end to end: renders the test skins and checks pixels of the
PNG, the printed tree, --set, --size and the failure exit code."""
import argparse
import os
import struct
import sys
import tempfile
import zlib
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from ui_checks import Tool, check, finish  # noqa: E402


def read_png(path):
    """Decodes an 8-bit RGBA PNG (what stb writes) into rows of bytes."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", chunk[:10])
            assert depth == 8 and colour == 6, "expected 8-bit RGBA"
        elif kind == b"IDAT":
            idat += chunk
    raw = zlib.decompress(idat)
    stride, rows, prev, p = width * 4, [], bytearray(width * 4), 0
    for _ in range(height):
        kind, line = raw[p], bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b = prev[x]
            c = prev[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                est = a + b - c
                pa, pb, pc = abs(est - a), abs(est - b), abs(est - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, rows


def pixel(png, x, y):
    return tuple(png[2][y][x * 4:x * 4 + 4])


def ink_columns(png, y0, y1, x0, x1):
    """Columns between x0 and x1 holding dark text pixels in rows y0..y1."""
    return [x for x in range(x0, x1) if any(pixel(png, x, y)[0] < 160 for y in range(y0, y1))]


def check_controls(r, skin, tmp):
    """Label, button, option and progress bar pixels, states chosen with --set and --event."""
    out = os.path.join(tmp, "controls.png")
    res = r.run(r.path(skin), "controls.xml", "--out", r.path(out), "--set", "bar.value=33",
                "--event", "btn.mouseenter", "--set", "chk.selected=true")
    check(res.returncode == 0, "controls.xml renders: " + res.stderr)
    png = read_png(out)
    # 33 of 100 on 700 pixels: the fill ends at column 231, the track follows.
    # (The whole 800-pixel image is stretched into the fill: its last column
    # has blue 40 and green 240.)
    check(pixel(png, 230, 2)[1:] == (240, 40, 255), "last fill column: %s" % (pixel(png, 230, 2),))
    check(pixel(png, 231, 2) == (220, 220, 220, 255), "track after the fill: %s" % (pixel(png, 231, 2),))
    check(pixel(png, 330, 25) == (0, 200, 0, 255), "hot image: %s" % (pixel(png, 330, 25),))
    check(pixel(png, 380, 25) == (200, 0, 200, 255), "selected image: %s" % (pixel(png, 380, 25),))
    # The path ends in an ellipsis inside the padding: the last ink is a run
    # of three dots low on the line.
    columns = ink_columns(png, 10, 40, 0, 300)
    check(columns and columns[0] >= 20 and columns[-1] < 232, "text inside the padding: %s" % (columns[:1] + columns[-1:],))
    if columns:
        tail = [y for y in range(10, 40) if any(pixel(png, x, y)[0] < 160 for x in range(columns[-1] - 8, columns[-1] + 1))]
        check(len(tail) <= 3, "ellipsis at the end (ink rows %s)" % (tail,))

    res = r.run(r.path(skin), "controls.xml", "--out", r.path(out), "--event", "btn.buttondown")
    check(pixel(read_png(out), 330, 25) == (0, 0, 200, 255), "pushed image")
    res = r.run(r.path(skin), "controls.xml", "--out", r.path(out), "--event", "btn.wobble")
    check(res.returncode == 2, "unknown event: %d" % res.returncode)


def check_gallery(r, gallery, tmp):
    """The control gallery of the docs renders with its states."""
    out = os.path.join(tmp, "gallery.png")
    res = r.run(r.path(gallery), "gallery.xml", "--out", r.path(out), "--event", "b_hot.mouseenter",
                "--event", "b_pushed.mouseenter", "--event", "b_pushed.buttondown", "--event", "b_focused.setfocus")
    check(res.returncode == 0, "gallery renders: " + res.stderr)
    png = read_png(out)
    buttons = [((20, 140), (236, 240, 245, 255), "normal"), ((124, 140), (214, 232, 252, 255), "hot"),
               ((228, 140), (170, 205, 245, 255), "pushed"), ((332, 140), (245, 248, 252, 255), "focused"),
               ((436, 140), (235, 235, 235, 255), "disabled")]
    for (x, y), colour, state in buttons:
        check(pixel(png, x, y) == colour, "gallery %s button: %s" % (state, pixel(png, x, y)))
    check(pixel(png, 240, 273) == (225, 229, 235, 255), "gallery progress track after a third")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--skins", required=True)
    parser.add_argument("--emulator")
    parser.add_argument("--gallery")
    args = parser.parse_args()
    r = Tool(args.tool, args.emulator)
    basic = os.path.join(args.skins, "basic")
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "render.png")
        res = r.run(r.path(basic), "render.xml", "--out", r.path(out), "--tree")
        check(res.returncode == 0, "render.xml renders: " + res.stderr)
        tree = [line for line in res.stdout.splitlines() if line.strip()]
        expected_tree = [
            "VerticalLayoutUI root 0,0,200,120 1",
            "  HorizontalLayoutUI top 10,10,190,40 1",
            "    ControlUI left 10,10,50,40 1",
            "    ControlUI middle 50,10,140,40 1",
            "    ControlUI right 145,15,190,35 1",
            "  ContainerUI body 10,50,190,100 1",
            "    ControlUI badge 160,45,180,65 1",
            "    ControlUI tile 10,50,30,60 1",
        ]
        check(tree == expected_tree, "tree:\n" + "\n".join(tree))
        png = read_png(out)
        check(png[0] == 200 and png[1] == 120, "size from the Window element")
        expectations = [
            ((5, 5), (255, 255, 255, 255), "root background in the inset"),
            ((20, 20), (255, 0, 0, 255), "left child"),
            ((100, 20), (128, 128, 128, 255), "middle child takes the class default colour"),
            ((150, 20), (0, 255, 0, 255), "right child inside its padding"),
            ((143, 20), (0, 0, 255, 255), "row background left of the padded child"),
            ((150, 12), (0, 0, 255, 255), "row background above the padded child"),
            ((100, 45), (255, 255, 255, 255), "child padding gap"),
            ((100, 50), (0, 0, 0, 255), "border of the body, first pixel"),
            ((100, 51), (0, 0, 0, 255), "border of the body, second pixel"),
            ((100, 52), (255, 255, 255, 255), "inside the border"),
            ((170, 55), (255, 255, 0, 255), "floating badge"),
            ((170, 47), (255, 255, 255, 255), "badge clipped to its container"),
            ((15, 55), (0, 0, 255, 255), "floating image control at the image size"),
            ((35, 55), (255, 255, 255, 255), "right of the image control"),
        ]
        for (x, y), colour, what in expectations:
            got = pixel(png, x, y)
            check(got == colour, "%s at %d,%d: %s" % (what, x, y, got))

        # --set before layout, in order; --size overrides the Window size.
        res = r.run(r.path(basic), "render.xml", "--out", r.path(out), "--size", "300,100", "--set",
                    "top.height=50", "--set", "middle.bkcolor=#FF00FFFF", "--set", "badge.visible=false", "--tree")
        check(res.returncode == 0, "--set renders: " + res.stderr)
        png = read_png(out)
        check(png[0] == 300 and png[1] == 100, "--size")
        check(pixel(png, 150, 55) == (0, 255, 255, 255), "--set colour at 150,55: %s" % (pixel(png, 150, 55),))
        check("  HorizontalLayoutUI top 10,10,290,60 1" in res.stdout, "--set height: " + res.stdout)
        check("    ControlUI badge 0,0,0,0 0" in res.stdout, "--set visible: " + res.stdout)

        # The same skin from a ZIP archive.
        archive = os.path.join(tmp, "skin.zip")
        with zipfile.ZipFile(archive, "w") as z:
            for name in ("render.xml", "png/box.png"):
                z.write(os.path.join(basic, name), name)
        res = r.run(r.path(archive), "render.xml", "--out", r.path(out))
        check(res.returncode == 0, "archive renders: " + res.stderr)
        check(pixel(read_png(out), 15, 55) == (0, 0, 255, 255), "image from the archive")

        # A translucent colour keeps its alpha in the file (straight, not premultiplied).
        res = r.run(r.path(basic), "render.xml", "--out", r.path(out), "--set", "root.bkcolor=#80FF0000")
        got = pixel(read_png(out), 5, 5)
        check(abs(got[3] - 128) <= 1 and got[0] >= 254 and got[1] <= 1, "translucent pixel: %s" % (got,))

        # Failures: exit 1 with a message.
        res = r.run(r.path(basic), "missing.xml", "--out", r.path(out))
        check(res.returncode == 1 and "cannot build" in res.stderr, "missing skin: %d %s" % (res.returncode, res.stderr))
        res = r.run(r.path(basic), "render.xml", "--out", r.path(out), "--set", "nobody.text=x")
        check(res.returncode == 1 and "nobody" in res.stderr, "unknown control: " + res.stderr)
        res = r.run(r.path(basic), "render.xml")
        check(res.returncode == 2, "usage error")

        check_controls(r, os.path.join(args.skins, "controls"), tmp)
        if args.gallery:
            check_gallery(r, args.gallery, tmp)

    return finish("skin-render")


if __name__ == "__main__":
    sys.exit(main())
