"""A desktop of the case's own: an X server (Xvfb), a window manager (openbox) and, when asked, a
tray host (trayer); the user's hands (xdotool) and eyes (xwininfo, the clipboard, the pixels)."""

import os
import re
import select
import shlex
import subprocess
import time
from dataclasses import dataclass

from harness import DEADLINE, CaseFailed, describe_status, expect, on_failure, poll, require_tools, spawn, stop


@dataclass
class Geometry:
    x: int
    y: int
    width: int
    height: int
    viewable: bool
    name: str
    # Placed by the program itself, not the window manager: pop-up menus, tooltips, tray icons.
    override_redirect: bool


class Desktop:
    def __init__(self, folder, tray=False):
        require_tools("Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "xclip", "import")
        if tray:
            require_tools("trayer")
        self.folder = folder
        self.display = None
        self.tray_panel = None
        self.tray_process = None
        self._start_x()
        on_failure(lambda: print(f"the screen at the failure: {self.screenshot('failure')}"))
        self._start_window_manager()
        if tray:
            self.start_tray()
        # The pointer rests in a corner where it shows no tooltip, until a case moves it.
        self.xdotool("mousemove", "0", "767")

    # ---- start-up ---------------------------------------------------------------------------------

    def _display_candidates(self):
        # The X server picks a free display itself unless a range is given, for a machine where
        # display numbers are shared out (LUMENO_E2E_DISPLAYS=50-59).
        wanted = os.environ.get("LUMENO_E2E_DISPLAYS")
        if not wanted:
            return [None]
        first, _, last = wanted.partition("-")
        return [f":{number}" for number in range(int(first), int(last or first) + 1)]

    def _start_x(self):
        for candidate in self._display_candidates():
            reader, writer = os.pipe()
            args = ["Xvfb"] + ([candidate] if candidate else [])
            args += ["-displayfd", str(writer), "-screen", "0", "1024x768x24", "-dpi", "96"]
            args += ["-nolisten", "tcp", "-noreset"]
            server = spawn(args, os.environ.copy(), self._log("xvfb"), pass_fds=(writer,))
            os.close(writer)
            number = self._read_display_number(reader, server)
            os.close(reader)
            if number is not None:
                self.display = f":{number}"
                return
        raise CaseFailed("no X server could start (see xvfb.log)")

    @staticmethod
    def _read_display_number(reader, server):
        # The server writes its display number once it accepts clients; it ends when the display
        # is taken.
        deadline = time.monotonic() + DEADLINE
        text = b""
        while time.monotonic() < deadline:
            ready, _, _ = select.select([reader], [], [], 0.1)
            if ready:
                chunk = os.read(reader, 64)
                text += chunk
                if text.endswith(b"\n"):
                    return int(text)
                if not chunk:
                    return None
            elif server.poll() is not None:
                return None
        return None

    def _start_window_manager(self):
        # Openbox runs its start-up command once it manages windows; a window mapped before then
        # may never be managed, so nothing else starts until the command has left its mark.
        ready = os.path.join(self.folder, "openbox.ready")
        spawn(["openbox", "--sm-disable", "--startup", shlex.join(["touch", ready])], self.env(),
              self._log("openbox"))
        poll("the window manager to come up", lambda: os.path.exists(ready))

    def start_tray(self):
        self.tray_process = tray = spawn(["trayer", "--edge", "top", "--align", "right", "--SetDockType", "true", "--widthtype",
                      "request", "--height", "24", "--transparent", "false", "--expand", "true"], self.env(),
                     self._log("trayer"))
        panels = poll("the tray to come up", lambda: self.xdotool("search", "--onlyvisible", "--class", "trayer"),
                      detail=lambda: (self.display, describe_status(tray.poll()),
                                      self.xdotool("search", "--class", "trayer")))
        self.tray_panel = panels.split()[0]

    def crash_tray(self):
        """Ends the tray host at once, as a crashed panel ends, and waits until its panel is gone."""
        stop(self.tray_process, grace=0)
        poll("the tray to go away", lambda: not self.xdotool("search", "--class", "trayer"))
        self.tray_panel = None

    def _log(self, name):
        return os.path.join(self.folder, f"{name}.log")

    # ---- running X clients ------------------------------------------------------------------------

    def env(self, extra=None):
        """The environment of a program on this desktop: its display, no session bus, C locale."""
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("QT_", "WAYLAND_", "XDG_", "DBUS_", "AT_SPI_", "LC_"))}
        env.update({
            "DISPLAY": self.display or "",
            "QT_QPA_PLATFORM": "xcb",
            # No session bus: nothing autolaunches one, and the tray is the desktop's own.
            "DBUS_SESSION_BUS_ADDRESS": "disabled:",
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        env.update(extra or {})
        return env

    def run(self, args, check=True, text=True):
        result = subprocess.run(args, env=self.env(), capture_output=True, text=text, timeout=DEADLINE)
        if check and result.returncode != 0:
            raise CaseFailed(f"{' '.join(args)} failed: {result.stderr}")
        return result.stdout

    def xdotool(self, *args):
        # A search that finds nothing ends with status 1; that is an answer, not a failure.
        return self.run(["xdotool", *args], check=False).strip()

    # ---- what the user sees -----------------------------------------------------------------------

    def windows(self, klass="lumeno", kind=None):
        """The viewable windows of the class, as ids; tooltips, which come and go with the pointer,
        left out. kind picks one sort: "menu" (a pop-up menu) or "dialog" (a message box)."""
        found = self.xdotool("search", "--onlyvisible", "--class", klass)
        windows = []
        for window in found.split():
            types = self.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"], check=False)
            if "_TOOLTIP" in types:
                continue
            if kind == "dialog" and "_DIALOG" not in types:
                continue
            if kind == "menu" and not self._pop_up(window):
                continue
            windows.append(window)
        return windows

    def geometry(self, window):
        """Where the window is and whether it is viewable; None once the window is gone."""
        result = subprocess.run(["xwininfo", "-id", str(window)], env=self.env(), capture_output=True, text=True,
                                timeout=DEADLINE)
        if result.returncode != 0:
            return None
        out = result.stdout

        def number(label):
            return int(re.search(rf"{label}:\s+(-?\d+)", out).group(1))

        name = re.search(r'xwininfo: Window id: \S+ (?:"(.*?)"\n|\(has no name\))', out, re.S)
        return Geometry(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                        number("Height"), "IsViewable" in out, (name.group(1) or "") if name else "",
                        "Override Redirect State: yes" in out)

    def viewable(self, window):
        """Whether the window is on the screen (a window that is gone is not)."""
        place = self.geometry(window)
        return bool(place and place.viewable)

    def _pop_up(self, window):
        """A pop-up menu (or tooltip): placed by the program straight on the root window, where a
        tray icon sits inside the tray."""
        place = self.geometry(window)
        if not (place and place.override_redirect):
            return False
        tree = self.run(["xwininfo", "-children", "-id", str(window)], check=False)
        return re.search(r"Parent window id: \S+ \(the root window\)", tree) is not None

    def title(self, window):
        """The window's caption as the window manager shows it (control characters included)."""
        out = self.run(["xprop", "-id", str(window), "WM_NAME"], check=False)
        match = re.search(r'= "(.*)"\s*$', out, re.S)
        if not match:
            return None
        # xprop writes control characters as octal escapes and escapes quotes and backslashes.
        return re.sub(r"\\([0-7]{3}|.)",
                      lambda escape: chr(int(escape.group(1), 8)) if len(escape.group(1)) == 3 else escape.group(1),
                      match.group(1))


    def tray_icons(self, klass="lumeno"):
        """The viewable icons of the class docked in the tray, as (id, x, y, width, height)."""
        tree = self.run(["xwininfo", "-tree", "-id", self.tray_panel], check=False)
        # A line of the tree: id "name": ("instance" "Class")  WxH+x+y  +absolute-x+absolute-y
        line = rf'(0x[0-9a-f]+) .*\("{klass}" "[^"]*"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)'
        icons = []
        for match in re.finditer(line, tree):
            window, width, height, x, y = match.groups()
            geometry = self.geometry(window)
            if geometry and geometry.viewable:
                icons.append((window, int(x), int(y), int(width), int(height)))
        return icons

    def pixel(self, window, x, y):
        """The colour of one pixel of the window as it is on the screen, as (red, green, blue)."""
        data = subprocess.run(["import", "-silent", "-window", str(window), "-depth", "8", "ppm:-"],
                              env=self.env(), capture_output=True, timeout=DEADLINE).stdout
        # P6, width, height, 255, then the pixels.
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        expect(fields, "the screen grab is not an 8-bit colour picture")
        width, height, pixels = int(fields.group(1)), int(fields.group(2)), data[fields.end():]
        expect(0 <= x < width and 0 <= y < height, f"pixel {x},{y} outside a {width}x{height} window")
        offset = (y * width + x) * 3
        return tuple(pixels[offset:offset + 3])

    def screenshot(self, name, window="root"):
        path = os.path.join(self.folder, f"{name}.png")
        subprocess.run(["import", "-silent", "-window", str(window), path], env=self.env(), capture_output=True,
                       timeout=DEADLINE)
        return path

    def clipboard(self):
        """The clipboard's text, or None when it holds none."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env(), capture_output=True,
                                timeout=DEADLINE)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def put_on_clipboard(self, text):
        """Puts text on the clipboard the way another program would: xclip holds it until some
        program takes the clipboard over."""
        path = os.path.join(self.folder, "clipboard.txt")
        with open(path, "w") as out:
            out.write(text)
        spawn(["xclip", "-quiet", "-selection", "clipboard", "-i", path], self.env(), self._log("xclip"))
        poll("the clipboard to hold the text", lambda: self.clipboard() == text)

    # ---- what the user does -----------------------------------------------------------------------

    def click(self, x, y, button=1, repeat=1, delay_ms=None):
        args = ["mousemove", str(x), str(y), "click"]
        if repeat > 1:
            args += ["--repeat", str(repeat)]
        if delay_ms is not None:
            args += ["--delay", str(delay_ms)]
        self.xdotool(*args, str(button))

    def click_in(self, window, x, y, button=1, repeat=1, delay_ms=None):
        """Clicks at x, y inside the window."""
        place = self.geometry(window)
        expect(place is not None and place.viewable, f"window {window} is not on the screen to click")
        self.click(place.x + x, place.y + y, button, repeat, delay_ms)

    def click_close_box(self, window):
        """Clicks the close box at the right end of the window manager's title bar."""
        place = self.geometry(window)
        out = self.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"], check=False)
        frame = re.search(r"= (\d+), (\d+), (\d+), (\d+)", out)  # left, right, top, bottom
        expect(frame, f"window {window} has no frame from the window manager: {out!r}")
        self.click(place.x + place.width + int(frame.group(2)) - 11, place.y - int(frame.group(3)) // 2)

    def key(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", "40", text)
