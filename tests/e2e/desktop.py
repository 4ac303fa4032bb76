"""A desktop of the case's own (Xvfb, openbox, trayer when asked); the user's hands (xdotool) and
eyes (xwininfo, xprop, the clipboard, the pixels)."""

import collections
import os
import re
import shlex
import subprocess

from harness import (DEADLINE, CaseFailed, describe_status, expect, on_failure, poll, require_tools, run_command,
                     spawn, stop, write_file)
from screen import Picture, Region


# override_redirect: placed by the program, not the window manager (menus, tooltips, tray icons).
Geometry = collections.namedtuple("Geometry", "x y width height viewable name override_redirect")


class Desktop:
    def __init__(self, folder, tray=False):
        require_tools("Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "xclip", "import",
                      *(["trayer"] if tray else []))
        self.folder = folder
        self._start_x()
        on_failure(lambda: print(f"the screen at the failure: {self.screenshot('failure')}"))
        # A window mapped before openbox manages windows may never be: wait for its start-up command.
        ready = os.path.join(folder, "openbox.ready")
        spawn(["openbox", "--sm-disable", "--startup", shlex.join(["touch", ready])], self.env(), self._log("openbox"))
        poll("the window manager to come up", lambda: os.path.exists(ready))
        if tray:
            self.start_tray()
        self.xdotool("mousemove", "0", "767")

    def _start_x(self):
        # A free display of the server's choosing, or one of LUMENO_E2E_DISPLAYS (50-59).
        first, _, last = os.environ.get("LUMENO_E2E_DISPLAYS", "").partition("-")
        for candidate in [f":{n}" for n in range(int(first), int(last or first) + 1)] if first else [None]:
            # The server writes its display number once it accepts clients, or ends if it is taken.
            with open(self._log("display"), "w+") as number:
                server = spawn(["Xvfb", *([candidate] if candidate else []), "-displayfd", str(number.fileno()),
                                "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten", "tcp", "-noreset"],
                               os.environ.copy(), self._log("xvfb"), pass_fds=(number.fileno(),))
                poll("the X server to come up", lambda: server.poll() is not None or number.seek(0) == 0 and
                     number.read().endswith("\n"))
                if server.poll() is None:
                    self.display = f":{int(number.seek(0) or number.read())}"
                    return
        raise CaseFailed("no X server could start (see xvfb.log)")

    def start_tray(self):
        self.tray_process = tray = spawn(
            ["trayer", "--edge", "top", "--align", "right", "--SetDockType", "true", "--widthtype", "request",
             "--height", "24", "--transparent", "false", "--expand", "true"], self.env(), self._log("trayer"))
        panels = poll("the tray to come up", lambda: self.xdotool("search", "--onlyvisible", "--class", "trayer"),
                      detail=lambda: (self.display, describe_status(tray.poll())))
        self.tray_panel = panels.split()[0]

    def crash_tray(self):
        stop(self.tray_process, grace=0)
        poll("the tray to go away", lambda: not self.xdotool("search", "--class", "trayer"))

    def _log(self, name):
        return os.path.join(self.folder, f"{name}.log")

    def env(self, extra=None):
        """This display, C locale, and no session bus: nothing autolaunches one, the tray is X's."""
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("QT_", "WAYLAND_", "XDG_", "DBUS_", "AT_SPI_", "LC_"))}
        env.update({"DISPLAY": self.display, "QT_QPA_PLATFORM": "xcb", "DBUS_SESSION_BUS_ADDRESS": "disabled:",
                    "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}, **(extra or {}))
        return env

    def run(self, args, check=True):
        return run_command(args, self.env(), check).stdout

    def xdotool(self, *args):
        # A search that finds nothing ends with status 1: an answer, not a failure.
        return self.run(["xdotool", *args], check=False).strip()

    def windows(self, kind=None):
        """The program's viewable windows but tooltips, as ids; kind: "menu" or "dialog" only."""
        def wanted(window):
            types = self.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"], check=False)
            return "_TOOLTIP" not in types and (kind != "dialog" or "_DIALOG" in types) and (
                kind != "menu" or self._pop_up(window))

        return list(filter(wanted, self.xdotool("search", "--onlyvisible", "--class", "lumeno").split()))

    def geometry(self, window):
        out = self.run(["xwininfo", "-id", str(window)], check=False)
        if "Absolute upper-left X" not in out:
            return None
        x, y, width, height = (int(re.search(rf"{label}:\s+(-?\d+)", out).group(1))
                               for label in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
        name = re.search(r'xwininfo: Window id: \S+ "(.*?)"\n', out, re.S)
        return Geometry(x, y, width, height, "IsViewable" in out, name.group(1) if name else "",
                        "Override Redirect State: yes" in out)

    def viewable(self, window):
        return bool((place := self.geometry(window)) and place.viewable)

    def _pop_up(self, window):
        """Placed by the program straight on the root window; a tray icon sits in the tray."""
        return bool((place := self.geometry(window)) and place.override_redirect and re.search(
            r"Parent window id: \S+ \(the root window\)", self.run(["xwininfo", "-children", "-id", window], False)))

    def title(self, window):
        """The window's caption, control characters included (xprop escapes them)."""
        match = re.search(r'= "(.*)"\s*$', self.run(["xprop", "-id", str(window), "WM_NAME"], check=False), re.S)
        return match and re.sub(r"\\([0-7]{3}|.)", lambda escape: chr(int(escape.group(1), 8))
                                if len(escape.group(1)) == 3 else escape.group(1), match.group(1))

    def tray_icons(self):
        """The program's viewable icons in the tray, as (id, x, y, width, height)."""
        tree = self.run(["xwininfo", "-tree", "-id", self.tray_panel], check=False)
        line = r'(0x[0-9a-f]+) .*\("lumeno" "[^"]*"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)'
        return [(window, int(x), int(y), int(width), int(height))
                for window, width, height, x, y in re.findall(line, tree) if self.viewable(window)]

    def pixel(self, window, x, y):
        path = os.path.join(self.folder, "pixel.png")
        self.run(["import", "-silent", "-window", str(window), path])
        pixels = Picture(path).region_pixels(Region(x, y, 1, 1))
        expect(pixels, f"pixel {x},{y} is outside window {window}")
        return pixels[0]

    def screenshot(self, name):
        path = os.path.join(self.folder, f"{name}.png")
        self.run(["import", "-silent", "-window", "root", path], check=False)
        return path

    def clipboard(self):
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env(), capture_output=True,
                                timeout=DEADLINE)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def put_on_clipboard(self, text):
        """As another program would: xclip holds it until a program takes the clipboard over."""
        path = os.path.join(self.folder, "clipboard.txt")
        write_file(path, text)
        spawn(["xclip", "-quiet", "-selection", "clipboard", "-i", path], self.env(), self._log("xclip"))
        poll("the clipboard to hold the text", lambda: self.clipboard() == text)

    def click(self, x, y, button=1, repeat=1, delay_ms=100):
        self.xdotool("mousemove", str(x), str(y), "click", "--repeat", str(repeat), "--delay", str(delay_ms),
                     str(button))

    def click_in(self, window, x, y, repeat=1, delay_ms=100):
        place = self.geometry(window)
        expect(place is not None and place.viewable, f"window {window} is not on the screen to click")
        self.click(place.x + x, place.y + y, repeat=repeat, delay_ms=delay_ms)

    def click_close_box(self, window):
        place = self.geometry(window)
        out = self.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"], check=False)
        frame = re.search(r"= (\d+), (\d+), (\d+), (\d+)", out)  # left, right, top, bottom
        expect(frame, f"window {window} has no frame from the window manager: {out!r}")
        self.click(place.x + place.width + int(frame.group(2)) - 11, place.y - int(frame.group(3)) // 2)

    def key(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", "40", text)
