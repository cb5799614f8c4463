#!/usr/bin/env python3
"""The installer's own skins: every image they name exists and comes from a
source; the controls the forms look up exist with their classes, places and
start visibility; and the pixels that matter (banner, primary button, check
boxes, progress fill and percent bubble, notice icon, link text) come out of
skin-render as designed."""
import argparse
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from skin_render_test import pixel, read_png  # noqa: E402
from ui_checks import Tool, check, finish  # noqa: E402


def near(got, want, tolerance=14):
    return all(abs(g - w) <= tolerance for g, w in zip(got, want))


def hex_rgba(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5)) + (255,)


BRAND = hex_rgba("#00B496")
WHITE = (255, 255, 255, 255)

# Class and start visibility of every control the install window's
# controller looks up, plus the title; None: inside the hidden download page,
# checked separately with that page shown.
INSTALL_CONTROLS = {
    "title_name": ("LabelUI", 1),
    "install_label": ("ContainerUI", 1),
    "install_path_area": ("ContainerUI", 1),
    "install_path": ("LabelUI", 1),
    "chose_path": ("ButtonUI", 1),
    "install": ("ButtonUI", 1),
    "autorun": ("OptionUI", 0),
    "autorun_text": ("LabelUI", 0),
    "shortcut": ("OptionUI", 0),
    "shortcut_text": ("LabelUI", 0),
    "agreement": ("OptionUI", 1),
    "btn_agreement": ("ButtonUI", 1),
    "custom_install": ("ButtonUI", 1),
    "default_install": ("ButtonUI", 0),
    "download_label": ("ContainerUI", 0),
    "download_tip": ("LabelUI", None),
    "install_tip": ("LabelUI", None),
    "error_tip": ("LabelUI", None),
    "progress_tip": ("LabelUI", None),
    "install_propress": ("ProgressUI", None),
    "download_cancel": ("ButtonUI", None),
    "download_retry": ("ButtonUI", None),
    "step_up": ("ButtonUI", None),
    "btn_official_website": ("ButtonUI", None),
    "minsize": ("ButtonUI", 1),
    "close": ("ButtonUI", 1),
}

DOWNLOAD_PAGE_START = {"download_tip": 1, "install_tip": 0, "error_tip": 0, "progress_tip": 1,
                       "install_propress": 1, "download_cancel": 0, "download_retry": 0, "step_up": 0,
                       "btn_official_website": 1}


def parse_tree(stdout):
    """name -> (class, (l, t, r, b), visible) for the named controls of a --tree listing."""
    controls = {}
    for line in stdout.splitlines():
        parts = line.split()
        if len(parts) != 4 or parts[1] == "-":
            continue
        rect = tuple(int(v) for v in parts[2].split(","))
        controls[parts[1]] = (parts[0], rect, int(parts[3]))
    return controls


def check_assets(skin, sources):
    """Every image a skin names exists; every shipped image is used and has a source."""
    named = set()
    for xml in ("install_form.xml", "os_error.xml"):
        text = open(os.path.join(skin, xml), encoding="utf-8").read()
        for name in re.findall(r"(png/[A-Za-z0-9_.-]+\.png)", text):
            named.add(name)
            check(os.path.isfile(os.path.join(skin, name)), "%s names %s, which is missing" % (xml, name))
    shipped = {"png/" + n for n in os.listdir(os.path.join(skin, "png"))}
    for name in sorted(shipped - named):
        check(False, "%s is shipped but no skin uses it" % name)
    for name in sorted(shipped):
        svg = os.path.join(sources, os.path.basename(name)[:-4] + ".svg")
        check(os.path.isfile(svg), "%s has no source %s" % (name, svg))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--skin", required=True, help="the installer's skin folder")
    parser.add_argument("--sources", required=True, help="the SVG sources of its images")
    parser.add_argument("--emulator")
    args = parser.parse_args()
    check_assets(args.skin, args.sources)
    r = Tool(args.tool, args.emulator)
    skin = r.path(args.skin)

    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.png")

        def render(xml, *sets, events=()):
            cmd = [skin, xml, "--out", r.path(out), "--tree"]
            for s in sets:
                cmd += ["--set", s]
            for e in events:
                cmd += ["--event", e]
            res = r.run(*cmd)
            check(res.returncode == 0, "%s %s renders: %s" % (xml, sets, res.stderr))
            png = read_png(out) if res.returncode == 0 else None
            return png, parse_tree(res.stdout)

        # Install page at start.
        png, tree = render("install_form.xml")
        check(png is not None and (png[0], png[1]) == (718, 463), "install window is 718 x 463")
        for name, (cls, visible) in INSTALL_CONTROLS.items():
            got = tree.get(name)
            check(got is not None and got[0] == cls, "%s is a %s: %s" % (name, cls, got))
            if got is not None and visible is not None:
                check(got[2] == visible, "%s visible at start = %d: %s" % (name, visible, got))
        if png is None or len(tree) < len(INSTALL_CONTROLS):
            return finish("installer skins")
        check(tree["install_label"][1] == (9, 9, 709, 454), "install page at 9,9-709,454")
        custom_place, start_png = tree["custom_install"][1], png
        for name in ("minsize", "close"):
            l, t, rr, b = tree[name][1]
            check(0 <= l < rr <= 718 and 0 <= t < b <= 50, "%s lies in the caption strip: %s" % (name, tree[name][1]))
        banner = pixel(png, 60, 130)
        check(banner[3] == 255 and banner[1] > banner[0] + 100 and banner[2] > banner[0] + 100,
              "teal banner at 60,130: %s" % (banner,))
        l, t, rr, b = tree["install"][1]
        check(near(pixel(png, l + 14, (t + b) // 2), hex_rgba("#06B696")),
              "primary button colour: %s" % (pixel(png, l + 14, (t + b) // 2),))
        label = [pixel(png, x, (t + b) // 2) for x in range((l + rr) // 2 - 30, (l + rr) // 2 + 30)]
        check(any(p[0] > 230 and p[1] > 230 and p[2] > 230 for p in label), "white caption on the install button")
        l, t, rr, b = tree["agreement"][1]
        check(near(pixel(png, l + 2, t + 8), BRAND), "agreement check box is ticked: %s" % (pixel(png, l + 2, t + 8),))

        # Agreement declined: the install button shows its disabled face.
        png, tree = render("install_form.xml", "install.enabled=false", "agreement.selected=false")
        l, t, rr, b = tree["install"][1]
        face = pixel(png, l + 14, (t + b) // 2)
        check(abs(face[0] - face[1]) < 12 and abs(face[1] - face[2]) < 12 and 180 < face[0] < 230,
              "disabled install button is grey: %s" % (face,))
        l, t, rr, b = tree["agreement"][1]
        check(pixel(png, l + 8, t + 8) == WHITE, "empty agreement box: %s" % (pixel(png, l + 8, t + 8),))

        # Hot and pushed faces (a state image missing or misnamed falls back
        # to the normal face).
        states = {
            "mouseenter": [("install", 14, None, "#17C2A4"), ("close", 4, 4, "#F0544C"),
                           ("agreement", 2, 8, "#12C4A6"), ("chose_path", 7, 5, "#EAF8F5"),
                           ("minsize", 4, 4, None)],
            "buttondown": [("install", 14, None, "#009F83"), ("close", 4, 4, "#D63F37"),
                           ("minsize", 4, 4, None)],
        }
        minsize_faces = []
        for event, cases in states.items():
            png, tree = render("install_form.xml", events=["%s.%s" % (c[0], event) for c in cases])
            for name, dx, dy, want in cases:
                l, t, rr, b = tree[name][1]
                point = (l + dx, (t + b) // 2 if dy is None else t + dy)
                got = pixel(png, *point)
                if want is None:
                    minsize_faces.append(got)
                    continue
                check(near(got, hex_rgba(want), 4), "%s %s face at %s: %s" % (name, event, point, got))
        l, t = tree["minsize"][1][:2]
        normal = pixel(start_png, l + 4, t + 4)
        check(sum(minsize_faces[0][:3]) > sum(normal[:3]) + 30 and
              sum(minsize_faces[1][:3]) > sum(minsize_faces[0][:3]) + 30,
              "minimise button lighter when hot, lighter still when pushed: %s %s %s" % (normal, *minsize_faces))

        # Custom install: the options appear selected / not selected; the
        # switch keeps its place.
        png, tree = render("install_form.xml", "shortcut.visible=true", "shortcut_text.visible=true",
                           "autorun.visible=true", "autorun_text.visible=true", "custom_install.visible=false",
                           "default_install.visible=true")
        check(tree["default_install"][1] == custom_place, "default_install at the place of custom_install: %s %s"
              % (tree["default_install"][1], custom_place))
        l, t, rr, b = tree["shortcut"][1]
        check(near(pixel(png, l + 2, t + 8), BRAND), "shortcut ticked: %s" % (pixel(png, l + 2, t + 8),))
        l, t, rr, b = tree["autorun"][1]
        check(pixel(png, l + 8, t + 8) == WHITE, "autorun empty: %s" % (pixel(png, l + 8, t + 8),))
        for a, b_ in (("shortcut", "install_path_area"), ("autorun", "install_path_area"), ("shortcut", "install")):
            check(tree[a][1][1] >= tree[b_][1][3] or tree[a][1][3] <= tree[b_][1][1],
                  "%s does not overlap %s" % (a, b_))

        # Download page: start visibility, the bar's place, and the fill edge
        # and percent bubble at 50 % as the controller sets them (padding
        # 318,296,0,0 puts the bubble's right edge on the end of the fill).
        png, tree = render("install_form.xml", "install_label.visible=false", "download_label.visible=true",
                           "install_propress.value=50", "progress_tip.padding=318,296,0,0",
                           "progress_tip.text=50%")
        for name, visible in DOWNLOAD_PAGE_START.items():
            check(tree[name][2] == visible, "%s visible on the download page = %d: %s" % (name, visible, tree[name]))
        check(tree["download_label"][1] == (9, 9, 709, 454), "download page at 9,9-709,454")
        check(tree["install_propress"][1][0] == 9 and tree["install_propress"][1][2] == 709,
              "bar 700 px wide at the page's left edge: %s" % (tree["install_propress"][1],))
        bar_y = (tree["install_propress"][1][1] + tree["install_propress"][1][3]) // 2
        fill, track = pixel(png, 358, bar_y), pixel(png, 360, bar_y)
        check(fill[2] > fill[0] + 100 and fill[1] > fill[0] + 80, "filled at x 358: %s" % (fill,))
        check(near(track, hex_rgba("#E4E9EE"), 4), "track at x 360: %s" % (track,))
        check(near(pixel(png, 12, bar_y), hex_rgba("#00C4A2"), 10), "fill starts teal: %s" % (pixel(png, 12, bar_y),))
        check(tree["progress_tip"][1] == (327, 305, 359, 325), "bubble moved by padding: %s" % (tree["progress_tip"][1],))
        bubble = hex_rgba("#0A9FBF")
        check(near(pixel(png, 328, 312), bubble), "bubble body: %s" % (pixel(png, 328, 312),))
        check(near(pixel(png, 357, 322), bubble), "bubble point over the fill end: %s" % (pixel(png, 357, 322),))
        check(pixel(png, 360, 312) == WHITE, "nothing right of the bubble: %s" % (pixel(png, 360, 312),))

        png, tree = render("install_form.xml", "install_label.visible=false", "download_label.visible=true",
                           "download_retry.visible=true", "step_up.visible=true", "download_cancel.visible=true")
        check(tree["download_retry"][1] == tree["download_cancel"][1] == tree["step_up"][1],
              "cancel, retry and use-now share one place")
        check(tree["progress_tip"][1][0] == 9, "bubble at the bar's start before any progress")
        bar = tree["install_propress"][1]
        check(near(pixel(png, 12, (bar[1] + bar[3]) // 2), hex_rgba("#E4E9EE"), 4), "empty bar at 0 %")

        # Unsupported-system window.
        png, tree = render("os_error.xml")
        check(png is not None and (png[0], png[1]) == (460, 205), "error window is 460 x 205")
        check(tree.get("close", ("", None))[1] == (430, 15, 450, 35), "close at 430,15-450,35: %s" % (tree.get("close"),))
        check("btn_web" in tree and tree["btn_web"][0] == "ButtonUI", "btn_web is a button")
        if png is not None and "btn_web" in tree:
            check(near(pixel(png, 222, 82), hex_rgba("#FF752A"), 6), "orange notice icon: %s" % (pixel(png, 222, 82),))
            check(pixel(png, 230, 190) == WHITE, "white window: %s" % (pixel(png, 230, 190),))
            png, tree = render("os_error.xml", events=["close.mouseenter"])
            check(near(pixel(png, 432, 17), hex_rgba("#F0544C"), 4), "hot close: %s" % (pixel(png, 432, 17),))
            l, t, rr, b = tree["btn_web"][1]
            link = [pixel(png, x, y) for x in range(l, rr) for y in range(t, b)]
            check(any(near(p, BRAND, 20) for p in link), "green link text")

    return finish("installer skins")


if __name__ == "__main__":
    sys.exit(main())
