#!/usr/bin/env python3
"""The main job's second half: runs the installer (win64 build) under Wine on
the current X display against the local update service, clicks through a
custom install (or, with --interactive, leaves the clicking to the user),
prints every stage as it happens, saves a screenshot of each under OUT and
ends by printing what the stand-ins recorded.

  demo_run.py --program EXE --skin-render EXE --md5 MD5 --out DIR [--interactive]
"""
import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kelo_ui as ui  # noqa: E402

UNINSTALL = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\BrightfenKeloVoice"
RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def say(text):
    print("[demo %s] %s" % (time.strftime("%H:%M:%S"), text), flush=True)


def registry(key, value=None):
    """The values of a key (or one value) as `reg query` prints them, or ''."""
    cmd = [ui.WINE_RUN, "reg", "query", key] + (["/v", value] if value else [])
    out = subprocess.run(cmd, capture_output=True, timeout=120).stdout.decode("utf-8", errors="replace")
    return "\n".join(line.strip() for line in out.splitlines() if "REG_" in line)


class Demo:
    def __init__(self, args):
        self.args = args
        os.makedirs(args.out, exist_ok=True)
        self.shots = 0
        self.installer_log = os.path.join(args.out, "installer.log")
        for stale in (self.installer_log,):
            if os.path.exists(stale):
                os.remove(stale)

    def shot(self, name, picture=None):
        self.shots += 1
        path = os.path.join(self.args.out, "%02d-%s.png" % (self.shots, name))
        (picture or self.window.grab()).save(path)
        say("  screenshot %s" % os.path.relpath(path))

    def run(self):
        args = self.args
        say("reading the skin's layout from the program (skin-render --tree)")
        work = os.path.join(args.out, ".skin")
        os.makedirs(work, exist_ok=True)
        self.skin = ui.Skin(args.skin_render, args.program, "install_form.xml", work, reveal=ui.INSTALL_REVEAL)

        earlier = registry(UNINSTALL)
        if earlier:
            say("an earlier installation is in the registry:\n    " + earlier.replace("\n", "\n    "))
            run_value = registry(RUN, "BrightfenKeloVoice")
            if run_value:
                say("  and its start-with-Windows value: " + run_value)
        else:
            say("no earlier installation in the registry (a fresh system)")

        cached = os.path.join(ui.wine_temp_dir(), "Kelo_%s.exe" % args.md5)
        if os.path.exists(cached):
            # Would be reused as it is (complete and verified); removed so the
            # download can be watched again.
            os.remove(cached)
            say("removed the earlier run's download %s" % cached)

        env = dict(os.environ, KELO_STANDIN_STEP_MS="1200", KELO_STANDIN_LOG=ui.wine_path(self.installer_log))
        say("starting %s under Wine (DISPLAY=%s)" % (os.path.relpath(args.program), os.environ.get("DISPLAY")))
        process = subprocess.Popen([ui.WINE_RUN, args.program], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            return self.follow(process)
        finally:
            if process.poll() is None:
                process.kill()

    def follow(self, process):
        skin, args = self.skin, self.args
        self.window = ui.AppWindow(process, skin.size)
        picture = self.window.wait_for(ui.looks_like(skin.base, (0, 0, skin.size[0], 60)), 30, "the first frame")
        say("stage: install page (window at %d,%d)" % (self.window.x, self.window.y))
        time.sleep(0.5)
        self.shot("install-page")

        if args.interactive:
            say("your turn: click through the installer; this script follows and records the stages")
        else:
            say("click: 自定义安装 (custom install)")
            self.window.click(skin.centre("custom_install"))
            picture = self.window.wait_for(lambda p: ui.mismatch(
                p.crop(*skin.rects["default_install"]),
                skin.render({"custom_install.visible": "false", "default_install.visible": "true"})
                .crop(*skin.rects["default_install"])) < 0.05, 10, "the custom options")
            shortcut = ui.option_selected(skin, picture, "shortcut")
            autorun = ui.option_selected(skin, picture, "autorun")
            say("stage: custom options - shortcut %s, start with Windows %s%s"
                % ("on" if shortcut else "off", "on" if autorun else "off",
                   " (as the earlier installation chose)" if autorun else ""))
            if not autorun:
                say("click: 开机自动启动 (start with Windows)")
                self.window.click(skin.centre("autorun"))
                time.sleep(0.5)
            self.shot("custom-install")
            say("click: 立即安装 (install now)")
            self.window.click(skin.centre("install"))

        # Follow the download page until the window closes.
        seen = set()
        last_percent = -1
        started = None
        while process.poll() is None:
            try:
                picture = self.window.grab()
            except subprocess.CalledProcessError:
                break
            if not self.window.visible():
                break
            button = ui.stage_button(skin, picture)
            percent = ui.bar_percent(skin, picture)
            log = ui.read_log(self.installer_log)
            if button == "download_cancel":
                if "download" not in seen:
                    seen.add("download")
                    started = time.time()
                    say("stage: downloading (from the update host and two mirrors)")
                if percent != last_percent and percent % 5 == 0 or percent - last_percent >= 5:
                    say("  download %3d%% of the file (bar at %d%%)" % (min(percent * 2, 100), percent))
                    last_percent = percent
                if percent >= 20 and "download-shot" not in seen:
                    seen.add("download-shot")
                    self.shot("downloading", picture)
            if log is not None and "handoff" not in seen:
                seen.add("handoff")
                if started:
                    say("  download complete and verified in %.1f s" % (time.time() - started))
                say("stage: hand-off - the full installer runs:\n    %s" % log.get("command_line"))
                self.shot("hand-off", picture)
            if log is not None and button is None and percent > 55 and "installing" not in seen:
                seen.add("installing")
                say("stage: installing (the installer reports its progress)")
            if "installing" in seen and percent != last_percent and button is None:
                say("  installation: bar at %d%%" % percent)
                last_percent = percent
                if percent >= 60 and "install-shot" not in seen:
                    seen.add("install-shot")
                    self.shot("installing", picture)
            if button == "step_up" and "installed" not in seen:
                seen.add("installed")
                say("stage: 安装成功！ (installed) - the use-now button is shown")
                time.sleep(0.3)
                self.shot("installed")
                if not args.interactive:
                    say("click: 立即使用 (use now)")
                    self.window.click(skin.centre("step_up"))
            if button == "download_retry" and "failed" not in seen:
                seen.add("failed")
                say("stage: failed - the error text and 重新安装 (install again) are shown")
                self.shot("failed", picture)
                if not args.interactive:
                    break
            time.sleep(0.15)

        code = process.wait(60)
        say("the window closed; the program ended with exit code %d" % code)
        return self.report(code)

    def report(self, code):
        say("what the stand-ins recorded:")
        log = ui.read_log(self.installer_log) or {}
        print("  full installer command line: %s" % log.get("command_line", "(not started)"))
        folder = log.get("install_path", "")
        client = None
        if folder:
            unix = os.path.join(ui.wine_prefix(), "drive_c", *folder[3:].strip("\\").split("\\"))
            client = ui.read_log(os.path.join(unix, "KeloVoice.log"))
            if client is None:
                time.sleep(2)
                client = ui.read_log(os.path.join(unix, "KeloVoice.log"))
        print("  registry (uninstall key):\n    %s" % (registry(UNINSTALL) or "(none)").replace("\n", "\n    "))
        print("  registry (run value): %s" % (registry(RUN, "BrightfenKeloVoice") or "(none)"))
        print("  client command line: %s" % (client or {}).get("command_line", "(not started)"))
        print("  screenshots: %s" % os.path.relpath(self.args.out))
        return 0 if code == 0 and (client is not None or self.args.interactive) else 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--skin-render", required=True)
    parser.add_argument("--md5", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--interactive", action="store_true")
    return Demo(parser.parse_args()).run()


if __name__ == "__main__":
    sys.exit(main())
