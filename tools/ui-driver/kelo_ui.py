"""Drives the installer's live window under Wine on an X display, the way a
user would: real clicks with xdotool, screenshots with ImageMagick's import.

Where the controls are comes from the program's own skin (skin-render --tree
on the shipped archive), and what a state should look like comes from
skin-render's picture of that state, never from guessed coordinates or
colours. Used by the end-to-end tests and by scripts/demo.
"""
import os
import re
import subprocess
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")


class Image:
    """8-bit pixels, RGB or RGBA, row-major."""

    def __init__(self, width, height, channels, data):
        self.width, self.height, self.channels, self.data = width, height, channels, data

    def pixel(self, x, y):
        i = (y * self.width + x) * self.channels
        return tuple(self.data[i:i + self.channels])

    def crop(self, left, top, right, bottom):
        rows = []
        for y in range(top, bottom):
            i = (y * self.width + left) * self.channels
            rows.append(self.data[i:i + (right - left) * self.channels])
        return Image(right - left, bottom - top, self.channels, b"".join(rows))

    def save(self, path):
        kind = "rgba" if self.channels == 4 else "rgb"
        subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8",
                        "%s:-" % kind, path], input=self.data, check=True)


def load_png(path):
    """A PNG as straight RGBA (ImageMagick decodes it)."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                          check=True).stdout.split()
    data = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], capture_output=True, check=True).stdout
    return Image(int(size[0]), int(size[1]), 4, data)


def mismatch(live, reference, tolerance=40):
    """Share of the reference's opaque pixels whose colour differs by more
    than `tolerance` in some channel from the live picture of the same size.
    Transparent reference pixels (the window's rounded corners) are skipped."""
    assert (live.width, live.height) == (reference.width, reference.height)
    counted = differ = 0
    lc, rc = live.channels, reference.channels
    ld, rd = live.data, reference.data
    for p in range(live.width * live.height):
        r = p * rc
        if rc == 4 and rd[r + 3] != 255:
            continue
        counted += 1
        l = p * lc
        if (abs(ld[l] - rd[r]) > tolerance or abs(ld[l + 1] - rd[r + 1]) > tolerance
                or abs(ld[l + 2] - rd[r + 2]) > tolerance):
            differ += 1
    return differ / counted if counted else 0.0


class Skin:
    """Control rectangles (window coordinates) and reference pictures of one
    skin file, made by skin-render from the program's own archive."""

    def __init__(self, skin_render, source, file, workdir, reveal=()):
        """`reveal` names controls hidden at start whose places are wanted:
        a layout gives hidden controls no rectangle, so they are laid out
        once shown."""
        self.skin_render, self.source, self.file = skin_render, source, file
        self.workdir = workdir
        self.rects = {}
        self.classes = {}
        self._renders = {}
        self.size = None
        if reveal:
            self.render({name + ".visible": "true" for name in reveal}, tree=True)
        self.base = self.render({}, tree=not reveal)

    def render(self, settings, tree=False):
        """The skin painted with NAME.ATTR=VALUE settings applied (cached)."""
        key = tuple(sorted(settings.items()))
        if key in self._renders and not tree:
            return self._renders[key]
        out = os.path.join(self.workdir, "ref-%s-%d.png" % (os.path.splitext(self.file)[0], len(self._renders)))
        cmd = [WINE_RUN, self.skin_render, self.source, self.file, "--out", out]
        for name_attr, value in settings.items():
            cmd += ["--set", "%s=%s" % (name_attr, value)]
        if tree:
            cmd.append("--tree")
        result = subprocess.run(cmd, capture_output=True, timeout=120)
        if result.returncode != 0 or not os.path.exists(out):
            raise RuntimeError("skin-render failed: %s" % result.stderr.decode(errors="replace"))
        if tree:
            self._read_tree(result.stdout.decode("utf-8", errors="replace"))
        image = load_png(out)
        self.size = (image.width, image.height)
        self._renders[key] = image
        return image

    def _read_tree(self, text):
        for line in text.splitlines():
            m = re.match(r"\s*(\S+) (\S+) (-?\d+),(-?\d+),(-?\d+),(-?\d+) ([01])$", line)
            if m and m.group(2) != "-" and m.group(7) == "1":
                self.rects[m.group(2)] = tuple(int(m.group(i)) for i in range(3, 7))
                self.classes[m.group(2)] = m.group(1)

    def centre(self, name):
        left, top, right, bottom = self.rects[name]
        return (left + right) // 2, (top + bottom) // 2


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True)


def grab_screen():
    """The whole X screen as RGB."""
    size = subprocess.run(["xdpyinfo"], capture_output=True, text=True).stdout
    m = re.search(r"dimensions:\s+(\d+)x(\d+)", size)
    width, height = int(m.group(1)), int(m.group(2))
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout
    return Image(width, height, 3, data[:width * height * 3])


class AppWindow:
    """The program's top-level window of a known size, found on the screen."""

    def __init__(self, process, size, timeout=60):
        self.process = process
        self.size = size
        self.x = self.y = None
        self._find(timeout)

    def _find(self, timeout):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("the program ended with %s before its window appeared"
                                   % self.process.returncode)
            for wid in xdotool("search", "--onlyvisible", "--name", "").stdout.split():
                geometry = xdotool("getwindowgeometry", "--shell", wid).stdout
                values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
                if (int(values.get("WIDTH", 0)), int(values.get("HEIGHT", 0))) == self.size:
                    self.wid = wid
                    self.x, self.y = int(values["X"]), int(values["Y"])
                    return
            time.sleep(0.2)
        raise RuntimeError("no %dx%d window appeared within %d s" % (self.size + (timeout,)))

    def visible(self):
        """Mapped and viewable. Asks about this window alone: a search over
        all windows can fail while other programs' windows come and go."""
        info = subprocess.run(["xwininfo", "-id", self.wid], capture_output=True, text=True)
        return info.returncode == 0 and "IsViewable" in info.stdout

    def click(self, point):
        x, y = point
        xdotool("mousemove", "--sync", self.x + x, self.y + y)
        time.sleep(0.15)  # the control sees the pointer arrive before the press
        xdotool("click", "1")
        time.sleep(0.1)
        # Away from every control, so no hover image stays in the pictures.
        xdotool("mousemove", "--sync", 0, 0)

    def grab(self):
        screen = grab_screen()
        w, h = self.size
        return screen.crop(self.x, self.y, self.x + w, self.y + h)

    def wait_for(self, predicate, timeout, what, interval=0.2):
        """Grabs the window until predicate(picture) holds; the last picture."""
        deadline = time.time() + timeout
        while True:
            picture = self.grab()
            if predicate(picture):
                return picture
            if time.time() > deadline:
                raise AssertionError("timed out waiting for: %s" % what)
            time.sleep(interval)


def looks_like(reference, rect=None, limit=0.001):
    """A predicate: the window (or the rectangle of it) matches the reference."""
    def check(picture):
        if rect is None:
            return mismatch(picture, reference) <= limit
        return mismatch(picture.crop(*rect), reference.crop(*rect)) <= limit
    return check


def wine_path(unix_path):
    """A Unix path as Wine's Z: drive sees it."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def wine_prefix():
    return os.environ.get("WINEPREFIX", os.path.join(ROOT, ".wine"))


def wine_user_dir():
    users = os.path.join(wine_prefix(), "drive_c", "users")
    for name in (os.environ.get("USER", ""), "root"):
        if name and os.path.isdir(os.path.join(users, name)):
            return os.path.join(users, name)
    return os.path.join(users, sorted(n for n in os.listdir(users) if n != "Public")[0])


def wine_temp_dir():
    """Where GetTempPath points in the prefix (HKCU\\Environment TEMP)."""
    return os.path.join(wine_user_dir(), "Temp")


def import_registry(lines):
    """Applies registry changes (REGEDIT4 lines) in one Wine start."""
    with tempfile.NamedTemporaryFile("wb", suffix=".reg", delete=False) as f:
        f.write(("REGEDIT4\r\n\r\n" + "\r\n".join(lines) + "\r\n").encode("utf-16"))
        path = f.name
    try:
        subprocess.run([WINE_RUN, "regedit", "/S", wine_path(path)], capture_output=True, timeout=120)
    finally:
        os.remove(path)


def reg_string(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


UNINSTALL_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\BrightfenKeloVoice"
RUN_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run"


def earlier_installation_lines(values):
    """Registry lines that replace what an earlier installation left: `values`
    maps DisplayName / InstallDir / CreateShortcut / run to a text, or is empty
    for a fresh system."""
    lines = ["[-%s]" % UNINSTALL_KEY, "", "[%s]" % RUN_KEY, '"BrightfenKeloVoice"=-', ""]
    uninstall = {k: v for k, v in values.items() if k != "run"}
    if uninstall:
        lines += ["[%s]" % UNINSTALL_KEY] + ["%s=%s" % (reg_string(k), reg_string(v)) for k, v in uninstall.items()]
        lines.append("")
    if "run" in values:
        lines += ["[%s]" % RUN_KEY, '"BrightfenKeloVoice"=%s' % reg_string(values["run"]), ""]
    return lines


def read_log(path):
    """A stand-in's "name=value" log, or None while it does not exist."""
    try:
        with open(path, encoding="utf-8") as f:
            return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    except OSError:
        return None


def wait_for_file(path, timeout, what):
    deadline = time.time() + timeout
    while time.time() < deadline:
        log = read_log(path)
        if log is not None:
            return log
        time.sleep(0.2)
    raise AssertionError("timed out waiting for %s (%s)" % (what, path))


# --- the install window's download page, judged against the skin ----------

DOWNLOAD_PAGE = {"install_label.visible": "false", "download_label.visible": "true"}
STAGE_BUTTONS = ("download_cancel", "download_retry", "step_up")
INSTALL_REVEAL = ("shortcut", "shortcut_text", "autorun", "autorun_text", "default_install", "download_label",
                  "install_tip", "error_tip", "download_cancel", "download_retry", "step_up")


def download_page(settings=None):
    """Reference settings of the download page plus `settings`."""
    out = dict(DOWNLOAD_PAGE)
    out.update(settings or {})
    return out


def stage_button(skin, picture):
    """Which of the download page's buttons the picture shows: one of
    STAGE_BUTTONS, None for none, "unknown" when nothing matches."""
    rect = skin.rects["download_cancel"]
    best, best_share = "unknown", 1.0
    for name in STAGE_BUTTONS + (None,):
        settings = download_page({name + ".visible": "true"} if name else {})
        share = mismatch(picture.crop(*rect), skin.render(settings).crop(*rect))
        if share < best_share:
            best, best_share = name, share
    return best if best_share < 0.05 else "unknown"


def fill_edge(skin, picture):
    """The x (window coordinates) just past the progress bar's filled part:
    the last pixel of the bar's middle row that differs from the empty bar."""
    left, top, right, bottom = skin.rects["install_propress"]
    y = (top + bottom) // 2
    empty = skin.render(download_page({"install_propress.value": "0"}))
    edge = left
    for x in range(left, right):
        if any(abs(a - b) > 40 for a, b in zip(picture.pixel(x, y)[:3], empty.pixel(x, y)[:3])):
            edge = x + 1
    return edge


def bar_percent(skin, picture):
    left, _, right, _ = skin.rects["install_propress"]
    return round((fill_edge(skin, picture) - left) * 100 / (right - left))


def option_selected(skin, picture, name):
    """Whether the check box shows its selected image (judged against both)."""
    rect = skin.rects[name]
    on = mismatch(picture.crop(*rect), skin.render({name + ".visible": "true", name + ".selected": "true"}).crop(*rect))
    off = mismatch(picture.crop(*rect), skin.render({name + ".visible": "true", name + ".selected": "false"}).crop(*rect))
    return on < off
