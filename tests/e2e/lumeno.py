"""The built program as a user installs it: in a folder of its own with Lumeno.ini beside it (it
keeps log.txt and its result files there too), started on a desktop."""

import datetime
import os
import re
import shutil
import time

from harness import DEADLINE, CaseFailed, describe_status, expect, poll, spawn, steady, write_file
from screen import Region


def settings_file(uselog=0, trayatstartup=0, alertifoffline=0, **options):
    """Every option off, as the program ships, but those given (more [Options] keys by name)."""
    extra = "".join(f"{key}={value}\r\n" for key, value in options.items())
    return (f"[Options]\r\nalertifoffline={alertifoffline}\r\nhostnameintext1.text=0\r\nuselog={uselog}\r\n"
            f"{extra}\r\n[Automation]\r\ntrayatstartup={trayatstartup}\r\nautostartup=0\r\n").encode("ascii")


# The stamp ending each activity log line, in the C locale the cases run in.
LOG_STAMP = r" , Date : \d{1,4}/\d{1,2}/\d{1,4} , Time : \d{1,2}:\d{2}:\d{2}(?: [AP]M)?\r\n"
STRIP_HEIGHT = 41  # the main window's client area below its menu bar (615 twips)


class Lumeno:
    def __init__(self, desktop, folder, ini=settings_file(), installed=None):
        """The program folder with a link to the built program and ini (unless None) beside it;
        or, with installed, that installed program. Home and runtime folders of its own keep the
        single-instance lock and any desktop entry inside the case."""
        self.desktop, self.processes, self.main_window, self.exe = desktop, [], None, installed
        self.folder, self.home, self.runtime = (os.path.join(folder, name) for name in ("program", "home", "runtime"))
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        if installed:
            return
        built = os.environ.get("LUMENO_EXE")
        expect(built and os.access(built, os.X_OK), f"LUMENO_EXE does not name the built program: {built!r}")
        os.makedirs(self.folder)
        # The program finds its folder from its executable's path, which a symbolic link would
        # resolve back to the build tree.
        self.exe = os.path.join(self.folder, "lumeno")
        try:
            os.link(built, self.exe)
        except OSError:
            shutil.copy2(built, self.exe)
        if ini is not None:
            write_file(self.file("Lumeno.ini"), ini)

    def file(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        """The file's bytes (name: beside the program, or a whole path); None if it is not."""
        try:
            with open(self.file(name), "rb") as source:
                return source.read()
        except FileNotFoundError:
            return None

    def log_text(self):
        return (self.read("log.txt") or b"").decode("ascii", "replace")

    def wait_for_log(self, text, timeout=None):
        self.wait(f"{text!r} in log.txt", lambda: text in self.log_text(), timeout, self.log_text)

    def start(self, prefix=(), env=None, shown=True):
        """Starts one copy, from another folder than its own, under the command prefix; with shown,
        gives its main window once that shows."""
        env = self.desktop.env({"HOME": self.home, "XDG_RUNTIME_DIR": self.runtime,
                                "XDG_CONFIG_HOME": os.path.join(self.home, ".config"), **(env or {})})
        log = os.path.join(os.path.dirname(self.folder), f"lumeno-{len(self.processes) + 1}.log")
        self.processes.append(spawn([*prefix, self.exe], env, log, cwd=os.path.dirname(self.folder)))
        return self.wait_for_main_window() if shown else None

    @property
    def process(self):
        return self.processes[0]

    def check_alive(self, waiting_for=None):
        if self.process.poll() is not None:
            during = f" while the case waited for {waiting_for}" if waiting_for else ""
            raise CaseFailed(f"Lumeno ended unasked ({describe_status(self.process.returncode)}){during}")

    def wait(self, description, probe, timeout=None, detail=None):
        """poll(), failing at once should the program end meanwhile."""
        return poll(description, lambda: self.check_alive(description) or probe(), timeout or DEADLINE,
                    detail=detail)

    def wait_for_window(self, title):
        def shown():
            return next((window for window in self.desktop.windows() if (place := self.desktop.geometry(window))
                         and place.viewable and place.name == title and place.width > 100), None)

        return self.wait(f"the window {title!r} to show", shown, detail=lambda: [
            (window, self.desktop.geometry(window)) for window in self.desktop.windows()])

    def wait_for_main_window(self):
        self.main_window = self.wait_for_window("Lumeno")
        return self.main_window

    def minimise(self):
        """The main window's caption once minimised: the tray tip, set at each status tick (one is past)."""
        window = self.main_window
        self.desktop.xdotool("windowminimize", window)
        self.wait("the window to leave the screen", lambda: not self.desktop.viewable(window))
        return self.wait("the tray tip as the minimised window's caption",
                         lambda: (self.desktop.title(window) or "").startswith("IP : ") and self.desktop.title(window),
                         detail=lambda: self.desktop.title(window))

    def restored(self):
        window = self.main_window
        self.wait("the window to come back", lambda: self.desktop.viewable(window))
        self.wait("the restored window's caption to be 'Lumeno'", lambda: self.desktop.title(window) == "Lumeno",
                  detail=lambda: self.desktop.title(window))

    def open_menu(self, what, click, again_after=1.0, looks=1):
        """Clicks until a pop-up menu opens and stays the same for looks looks in a row; a click
        that a window just restored or activated has taken is repeated again_after seconds later."""
        clicked = [0.0]

        def menus():
            shown = tuple(self.desktop.windows(kind="menu"))
            if not shown and time.monotonic() - clicked[0] > again_after:
                click()
                clicked[0] = time.monotonic()
            return shown

        return self.wait(what, steady(menus, looks))

    def open_file_menu(self):
        place = self.desktop.geometry(self.main_window)
        self.open_menu("the File menu to open",
                       lambda: self.desktop.click_in(self.main_window, 12, (place.height - STRIP_HEIGHT) // 2))

    def copy_from_file_menu(self, keys=("Down", "Down")):
        """File > Copy, or the item the keys pick: the text it puts on the clipboard."""
        before = self.desktop.clipboard()
        self.open_file_menu()
        self.desktop.key(*keys, "Return")
        return self.wait("the copy on the clipboard", lambda: self.desktop.clipboard() != before and
                         self.desktop.clipboard())

    def expect_copy(self, wanted, keys=("Down", "Down")):
        copied = self.copy_from_file_menu(keys)
        expect(copied == wanted, f"File menu item {keys} should copy {wanted!r}, copies {copied!r}")

    def ended(self, how, copy=0):
        """processes[copy] ends cleanly and leaves the list: the first gone, a start is the first again."""
        process = self.processes.pop(copy)
        poll("Lumeno to end", lambda: process.poll() is not None)
        expect(process.returncode == 0,
               f"{how} should end Lumeno with status 0; it ended: {describe_status(process.returncode)}")

    def choose_exit(self):
        self.open_file_menu()
        self.desktop.key("Up", "Return")  # Exit, the File menu's last item

    def expect_log(self, *heads, path="log.txt"):
        """log.txt holds exactly one well-formed line per head, in order."""
        content = self.read(path)
        expect(content is not None, "log.txt was not written")
        pattern = b"".join(re.escape(head.encode()) + LOG_STAMP.encode() for head in heads)
        expect(re.fullmatch(pattern, content, re.S),
               f"log.txt should hold exactly the lines {list(heads)}, holds {content!r}")


HOUR = datetime.timedelta(hours=1)
# Three outages in the last day, (start before now, length) each, in a watch from 23 h to 1 h ago.
OUTAGES = [(20 * HOUR, datetime.timedelta(minutes=5)), (12 * HOUR, datetime.timedelta(seconds=30)),
           (6 * HOUR, 2 * HOUR)]


def history_log(now, stamp):
    """The activity log of OUTAGES, each line stamped by stamp(datetime)."""
    lines = [f"[Lumeno Loaded]{stamp(now - 23 * HOUR)}"]
    for before, length in OUTAGES:
        seconds = int(length.total_seconds())
        lines += [f"[Went Offline]{stamp(now - before)}", f"[Back Online]{stamp(now - before + length)} , "
                  f"Offline for : {seconds // 3600:02}:{seconds // 60 % 60:02}:{seconds % 60:02}"]
    lines.append(f"[Program Exit]{stamp(now - HOUR)}")
    return "".join(line + "\r\n" for line in lines)


def outages_not_red(picture, strip, slack):
    """The OUTAGES not shown red on the strip of the last 24 hours (a Region of the picture),
    looked for slack pixels either side of the outage's middle."""
    found = []
    for before, length in OUTAGES:
        x = strip.x + round((1 - (before - length / 2).total_seconds() / 86400) * strip.width)
        pixels = picture.region_pixels(Region(x - slack, strip.y + strip.height // 2, 2 * slack + 1, 1))
        if not any(r > 180 and g < 60 and b < 60 for r, g, b in pixels):
            found.append(f"no red at the outage {before} ago (x={x}): {pixels}")
    return found
