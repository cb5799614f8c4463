#!/usr/bin/env python3
"""The installer end to end under Wine on an X display: the real program,
real clicks (xdotool), screenshots (import) compared with the program's own
skin pictures (skin-render), a local update service (nginx) on a free port,
and the stand-in installer, client and browser recording what they got.

Run through scripts/with-display (CTest runs it inside scripts/test's display).
"""
import argparse
import glob
import json
import ntpath
import os
import shutil
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "ui-driver"))
import kelo_ui as ui  # noqa: E402

SERVICE = os.path.join(ROOT, "tools", "demo-service", "demo_service.py")
ARGS = None
SKINS = {}
DEFAULT_DIR = "C:\\Program Files\\Brightfen\\KeloVoice\\"  # a 64-bit process's program files folder
MB = 1024 * 1024


def page(**settings):
    """Download-page reference settings: NAME__ATTR=value -> NAME.ATTR."""
    return ui.download_page({k.replace("__", "."): v for k, v in settings.items()})


class Service:
    """One local update service in its own folder, on a free port."""

    def __init__(self, name, seed, rate=""):
        self.dir = os.path.join(ARGS.work, name)
        os.makedirs(self.dir, exist_ok=True)
        os.chmod(self.dir, 0o755)
        cmd = [sys.executable, SERVICE, "start", "--dir", self.dir, "--package", ARGS.installer,
               "--pad-to", str(50 * MB + 4321), "--pad-seed", seed]
        if rate:
            cmd += ["--rate", rate]
        subprocess.run(cmd, check=True, capture_output=True, timeout=300)
        with open(os.path.join(self.dir, "package.json")) as f:
            info = json.load(f)
        self.base, self.md5, self.size = info["base"], info["md5"], info["size"]
        self.download = os.path.join(ui.wine_temp_dir(), "Kelo_%s.exe" % self.md5)

    def files(self):
        return glob.glob(os.path.join(self.dir, "www", "files", "*"))

    def break_sources(self):
        """Every source answers 404 for the package."""
        for f in self.files():
            os.rename(f, f + ".off")

    def mend_sources(self):
        for f in glob.glob(os.path.join(self.dir, "www", "files", "*.off")):
            os.rename(f, f[:-4])

    def stop(self):
        subprocess.run([sys.executable, SERVICE, "stop", "--dir", self.dir], capture_output=True)
        for f in glob.glob(self.download[:-4] + ".*"):
            os.remove(f)


class Program:
    """The program under Wine; its window found by the skin's size."""

    def __init__(self, test, service=None, skin="install", program=None, **env):
        self.log = os.path.join(ARGS.work, "installer.log")
        for f in (self.log,):
            if os.path.exists(f):
                os.remove(f)
        environment = dict(os.environ)
        environment["KELO_STANDIN_LOG"] = ui.wine_path(self.log)
        environment["KELO_E2E_WEBSITE_URL"] = test.website
        if service is not None:
            environment["KELO_E2E_UPDATE_HOST"] = service.base
        environment.update(env)
        self.process = subprocess.Popen([ui.WINE_RUN, program or ARGS.program], env=environment,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        test.addCleanup(self.kill)
        self.skin = SKINS[skin]
        self.window = ui.AppWindow(self.process, self.skin.size)
        # The first frame is painted once the window shows; wait for the skin.
        self.window.wait_for(lambda p: ui.mismatch(p.crop(*self.frame_probe()),
                                                   self.skin.base.crop(*self.frame_probe())) < 0.05,
                             20, "the first painted frame")

    def frame_probe(self):
        w, h = self.skin.size
        return (0, 0, w, min(h, 60))  # the banner / caption band, the same in every state

    def click(self, name):
        self.window.click(self.skin.centre(name))

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end within %d s" % timeout)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class InstallerEndToEnd(unittest.TestCase):
    website = "keloe2e%d://site" % os.getpid()

    # --- helpers ---------------------------------------------------------

    def assertLooks(self, picture, settings, rect_names, what, skin="install", limit=0.0005):
        """The picture matches the skin-render reference in the named rects."""
        skin = SKINS[skin]
        reference = skin.render(settings)
        for name in rect_names:
            rect = skin.rects[name] if isinstance(name, str) else name
            share = ui.mismatch(picture.crop(*rect), reference.crop(*rect))
            if share > limit:
                stem = os.path.join(ARGS.work, "fail-%s-%s" % (self.id().split(".")[-1], name if isinstance(name, str) else "region"))
                picture.save(stem + "-live.png")
                reference.save(stem + "-expected.png")
                self.fail("%s: %s differs from the skin's picture in %.1f%% of its pixels (%s-*.png)"
                          % (what, name, share * 100, stem))

    def stage_button(self, picture):
        return ui.stage_button(SKINS["install"], picture)

    def fill_edge(self, picture):
        return ui.fill_edge(SKINS["install"], picture)

    def fresh_registry(self, values=None):
        ui.import_registry(ui.earlier_installation_lines(values or {}))

    # --- install page ------------------------------------------------------

    def test_1_fresh_system_install_page(self):
        self.fresh_registry()
        p = Program(self)
        shown = p.window.grab()
        custom = {"install_path.text": DEFAULT_DIR}
        self.assertLooks(shown, custom, ["install_path_area", "agreement", "install", "custom_install"],
                         "fresh start")

        p.click("custom_install")
        options = dict(custom, **{"shortcut.visible": "true", "shortcut_text.visible": "true",
                                  "autorun.visible": "true", "autorun_text.visible": "true",
                                  "custom_install.visible": "false", "default_install.visible": "true"})
        picture = p.window.wait_for(ui.looks_like(SKINS["install"].render(options), SKINS["install"].rects["default_install"]),
                                    10, "the custom options")
        # Shortcut selected, autorun not, the default folder.
        self.assertLooks(picture, options, ["shortcut", "autorun", "install_path_area", "shortcut_text"],
                         "custom install")

        p.click("agreement")
        unchecked = dict(options, **{"agreement.selected": "false", "install.enabled": "false"})
        picture = p.window.wait_for(ui.looks_like(SKINS["install"].render(unchecked), SKINS["install"].rects["install"]),
                                    10, "install disabled after unchecking the agreement")
        self.assertLooks(picture, unchecked, ["agreement", "install"], "agreement unchecked")
        p.click("install")  # disabled: nothing happens
        p.click("agreement")
        picture = p.window.wait_for(ui.looks_like(SKINS["install"].render(options), SKINS["install"].rects["install"]),
                                    10, "install enabled again")
        self.assertLooks(picture, options, ["agreement", "install", "install_label"], "agreement checked again")

        p.click("default_install")
        folded = dict(custom, **{"install_path_area.visible": "false"})
        picture = p.window.wait_for(ui.looks_like(SKINS["install"].render(folded), SKINS["install"].rects["custom_install"]),
                                    10, "back to the default install")
        self.assertLooks(picture, folded, ["install_label"], "default install: the folder field is hidden")
        p.click("close")
        self.assertEqual(p.wait_exit(30), 0)

    def test_2_earlier_installation_cases(self):
        existing = "C:\\KeloE2E\\Earlier"
        os.makedirs(os.path.join(ui.wine_prefix(), "drive_c", "KeloE2E", "Earlier"), exist_ok=True)
        cases = [
            ("folder exists: shown as stored, options from the registry",
             {"DisplayName": "KeloVoice", "InstallDir": existing, "run": '"x.exe"'}, existing, False, True),
            ("folder missing: the default folder, options still from the registry",
             {"DisplayName": "KeloVoice", "InstallDir": "C:\\KeloE2E\\Gone\\", "CreateShortcut": "1", "run": "1"},
             DEFAULT_DIR, True, True),
            ("no DisplayName: the rest is ignored",
             {"InstallDir": existing}, DEFAULT_DIR, True, False),
        ]
        for what, values, folder, shortcut, autorun in cases:
            with self.subTest(what):
                self.fresh_registry(values)
                p = Program(self)
                p.click("custom_install")
                expected = {"install_path.text": folder, "shortcut.visible": "true", "autorun.visible": "true",
                            "shortcut.selected": "true" if shortcut else "false",
                            "autorun.selected": "true" if autorun else "false",
                            "custom_install.visible": "false", "default_install.visible": "true"}
                picture = p.window.wait_for(
                    ui.looks_like(SKINS["install"].render(expected), SKINS["install"].rects["default_install"]),
                    10, "the custom options")
                self.assertLooks(picture, expected, ["install_path", "shortcut", "autorun"], what)
                p.click("close")
                self.assertEqual(p.wait_exit(30), 0)
        self.fresh_registry()

    # --- the whole install ------------------------------------------------------

    def test_3_happy_path_to_use_now(self):
        self.fresh_registry()
        client_dir = os.path.join(ui.wine_prefix(), "drive_c", "Program Files", "Brightfen", "KeloVoice")
        shutil.rmtree(client_dir, ignore_errors=True)
        service = HAPPY
        p = Program(self, service, KELO_STANDIN_STEP_MS="1500")
        p.click("install")

        edges = []
        deadline = time.time() + 120
        while ui.read_log(p.log) is None and time.time() < deadline:
            picture = p.window.grab()
            edges.append(self.fill_edge(picture))
            time.sleep(0.1)
        log = ui.wait_for_file(p.log, 5, "the stand-in installer's log")
        # The bar moved with the download, never back, and ended half full.
        self.assertEqual(edges, sorted(edges), "the bar went back during the download")
        left = SKINS["install"].rects["install_propress"][0]
        self.assertTrue(any(left < e < left + 340 for e in edges), "no partial progress seen: %s" % edges[-5:])
        picture = p.window.grab()
        self.assertLessEqual(abs(self.fill_edge(picture) - 359), 3, "fill edge at 50 %")
        # The percent label rides on the end of the fill (x = 50 % of 700 - 32).
        half = page(**{"progress_tip.padding": "318,296,0,0", "progress_tip.text": "50%",
                       "install_propress.value": "50"})
        left, _, right, bottom = SKINS["install"].rects["install_propress"]
        self.assertLooks(picture, half, [(left, bottom - 30, right, bottom)], "percent label and bar at 50 %")

        # The hand-off: the exact command line. The program is the download
        # itself or, where the hand-off stages it, its verified copy of the
        # same name in a folder of its own.
        program, switches = log["command_line"][1:].split('"', 1)
        self.assertEqual(ntpath.basename(program), "Kelo_%s.exe" % service.md5)
        self.assertTrue(ntpath.isabs(program), program)
        self.assertRegex(log["call_wnd"], r"^-?\d+$")
        self.assertEqual(switches, ' /install /call_wnd %s /install_path "%s" /install_createshortcut'
                         % (log["call_wnd"], DEFAULT_DIR))

        # The reports move the bar and the tip, then success and use-now.
        installing = p.window.wait_for(lambda pic: self.fill_edge(pic) > 359 + 100, 30, "installation progress")
        self.assertEqual(self.stage_button(installing), None)
        installed = page(**{"install_tip.visible": "true", "install_tip.text": "安装成功！",
                            "download_tip.visible": "false", "step_up.visible": "true",
                            "install_propress.value": "100", "progress_tip.visible": "false"})
        picture = p.window.wait_for(lambda pic: self.stage_button(pic) == "step_up", 30, "use-now")
        self.assertLooks(picture, installed, ["install_tip", "step_up", "install_propress", "progress_tip"],
                         "installed")

        client_log = os.path.join(client_dir, "KeloVoice.log")
        p.click("step_up")
        self.assertEqual(p.wait_exit(30), 0)
        client = ui.wait_for_file(client_log, 20, "the stand-in client's log")
        self.assertEqual(client["command_line"],
                         '"%sKeloVoice.exe" /install_shortcut 1 /install_autorun 0' % DEFAULT_DIR)

    def test_4_faulty_mirrors_then_retry(self):
        service = Service("faulty", "faulty %f" % time.time())
        self.addCleanup(service.stop)
        service.break_sources()
        p = Program(self, service)
        p.click("install")
        failed = p.window.wait_for(lambda pic: self.stage_button(pic) == "download_retry", 120,
                                   "the retry button")
        self.assertLooks(failed, page(**{"error_tip.visible": "true", "download_tip.visible": "false",
                                         "error_tip.text": "下载安装文件失败,错误:无法连接下载服务器",
                                         "download_retry.visible": "true"}),
                         ["error_tip", "download_retry"], "all sources failing")
        service.mend_sources()
        p.click("download_retry")
        p.window.wait_for(lambda pic: self.stage_button(pic) == "step_up", 180, "success after the retry")
        p.click("close")
        self.assertEqual(p.wait_exit(30), 0)

    def test_5_failure_at_100_then_retry_keeps_the_label_hidden(self):
        p = Program(self, HAPPY, KELO_STANDIN_MODE="fail_late", KELO_STANDIN_STEP_MS="2500")
        p.click("install")
        p.window.wait_for(lambda pic: self.stage_button(pic) == "download_retry", 120, "the late failure")
        first = ui.read_log(p.log)
        p.click("download_retry")
        # The complete download is reused: the installer starts again at once.
        deadline = time.time() + 60
        while time.time() < deadline:
            again = ui.read_log(p.log)
            if again is not None and again.get("pid") != first.get("pid"):
                break
            time.sleep(0.1)
        else:
            self.fail("the installer was not started again")
        picture = p.window.grab()  # the bar at 50 again, the installer paused before its next report
        hidden = page(**{"progress_tip.visible": "false", "install_propress.value": "50"})
        left, _, right, bottom = SKINS["install"].rects["install_propress"]
        self.assertLooks(picture, hidden, [(left, bottom - 30, right, bottom)], "percent label after a retry")
        p.window.wait_for(lambda pic: self.stage_button(pic) == "download_retry", 60, "the second failure")
        p.click("close")
        self.assertEqual(p.wait_exit(30), 0)

    def test_6_installer_failure_shows_its_own_text(self):
        p = Program(self, HAPPY, KELO_STANDIN_MODE="fail")
        p.click("install")
        picture = p.window.wait_for(lambda pic: self.stage_button(pic) == "download_retry", 120, "the failure")
        text = "Installation failed on purpose (stand-in fail mode)."
        self.assertLooks(picture, page(**{"error_tip.visible": "true", "download_tip.visible": "false",
                                          "error_tip.text": text, "download_retry.visible": "true"}),
                         ["error_tip"], "the installer's own text")
        # The installer reported 0 %: the bar stands at 50, filled to x = 9 + 350.
        self.assertLessEqual(abs(self.fill_edge(picture) - 359), 3)
        p.click("close")
        self.assertEqual(p.wait_exit(30), 0)

    def test_7_close_during_the_download(self):
        service = Service("slow", "slow %f" % time.time(), rate="1m")
        self.addCleanup(service.stop)
        p = Program(self, service)
        p.click("install")
        deadline = time.time() + 60
        while time.time() < deadline and not (os.path.exists(service.download)
                                              and os.path.getsize(service.download) > 0):
            time.sleep(0.2)
        time.sleep(1.0)
        p.click("close")
        closed_at = time.time()
        # Hidden at once, while the download threads are still running.
        while p.window.visible() and time.time() - closed_at < 2:
            time.sleep(0.05)
        self.assertFalse(p.window.visible(), "the window stayed on the screen after close")
        code = p.wait_exit(15)
        self.assertEqual(code, 0)
        self.assertLess(time.time() - closed_at, 10)
        self.assertTrue(os.path.exists(service.download), "the partial file was removed")
        self.assertLess(self.received(service), service.size)

    def received(self, service):
        return os.path.getsize(service.download)

    # --- unsupported system ----------------------------------------------------

    def test_8_unsupported_system(self):
        xp = os.path.join(ARGS.work, "KeloVoiceSetup-xp.exe")
        shutil.copy(ARGS.program, xp)
        browser_dir = os.path.join(ARGS.work, "browser")
        os.makedirs(browser_dir, exist_ok=True)
        browser = os.path.join(browser_dir, "stand-in-browser.exe")
        shutil.copy(ARGS.client, browser)
        scheme = self.website.split(":")[0]
        command = '"%s" "%%1"' % ui.wine_path(browser)
        ui.import_registry([
            r"[HKEY_CURRENT_USER\Software\Wine\AppDefaults\KeloVoiceSetup-xp.exe]", '"Version"="winxp"', "",
            r"[HKEY_LOCAL_MACHINE\Software\Classes\%s]" % scheme, '"URL Protocol"=""', "",
            r"[HKEY_LOCAL_MACHINE\Software\Classes\%s\shell\open\command]" % scheme,
            "@=%s" % ui.reg_string(command), "",
        ])
        self.addCleanup(ui.import_registry, [r"[-HKEY_LOCAL_MACHINE\Software\Classes\%s]" % scheme])
        p = Program(self, skin="error", program=xp)
        picture = p.window.grab()
        self.assertLooks(picture, {}, [(0, 0) + SKINS["error"].size], "the unsupported-system window", skin="error")
        log_path = os.path.join(browser_dir, "stand-in-browser.log")
        for attempt in range(2):
            if os.path.exists(log_path):
                os.remove(log_path)
            p.click("btn_web")
            log = ui.wait_for_file(log_path, 30, "the browser, click %d" % (attempt + 1))
            self.assertEqual(log["command_line"], '%s "%s/im"' % (command.split(" ")[0], self.website))
            self.assertIsNone(p.process.poll(), "the program ended after the web link")
            self.assertTrue(p.window.visible(), "the window closed after the web link")
        p.click("close")
        self.assertEqual(p.wait_exit(30), 0)


HAPPY = None


def main():
    global ARGS, HAPPY
    parser = argparse.ArgumentParser()
    for name in ("program", "installer", "client", "skin-render", "work"):
        parser.add_argument("--" + name, required=True)
    ARGS, rest = parser.parse_known_args()
    shutil.rmtree(ARGS.work, ignore_errors=True)
    os.makedirs(ARGS.work)
    os.chmod(ARGS.work, 0o755)
    if not os.environ.get("DISPLAY"):
        print("no X display: run through scripts/with-display", file=sys.stderr)
        return 1
    SKINS["install"] = ui.Skin(ARGS.skin_render, ARGS.program, "install_form.xml", ARGS.work,
                               reveal=ui.INSTALL_REVEAL)
    SKINS["error"] = ui.Skin(ARGS.skin_render, ARGS.program, "os_error.xml", ARGS.work)
    HAPPY = Service("happy", "happy %f" % time.time(), rate="6m")
    try:
        result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    finally:
        HAPPY.stop()
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
