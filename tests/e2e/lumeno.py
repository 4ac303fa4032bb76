"""The built program as a user installs it: the executable in a folder of its own with its
Lumeno.ini beside it (it keeps log.txt and the result files there too), started on a desktop."""

import os
import re
import shutil
import time

from harness import DEADLINE, CaseFailed, describe_status, expect, poll, spawn


def settings_file(uselog=0, trayatstartup=0, alertifoffline=0, **options):
    """The settings file: every option off, as the program ships, except the ones a case turns on
    (further options of the "Options" section given by name, followip=1)."""
    extra = "".join(f"{key}={value}\r\n" for key, value in options.items())
    return (f"[Options]\r\nalertifoffline={alertifoffline}\r\nhostnameintext1.text=0\r\nuselog={uselog}\r\n"
            f"{extra}\r\n[Automation]\r\ntrayatstartup={trayatstartup}\r\nautostartup=0\r\n").encode("ascii")


# One activity log line: head, date and time, CR LF. The date and time formats follow the locale;
# the cases run in the C locale, whose short date is digits and slashes.
LOG_STAMP = r" , Date : \d{1,4}/\d{1,2}/\d{1,4} , Time : \d{1,2}:\d{2}:\d{2}(?: [AP]M)?\r\n"
# The main window's client area: the menu bar above a strip of 41 pixels (615 twips).
STRIP_HEIGHT = 41


class Lumeno:
    def __init__(self, desktop, folder, ini=settings_file(), installed=None):
        """Lays out the program folder: the executable and, unless ini is None, Lumeno.ini. With
        installed, the path of an installed program, that one is started instead."""
        self.desktop = desktop
        self.folder = os.path.join(folder, "program")
        # A home and runtime folder of its own keep the single-instance lock and any desktop
        # entry inside the case.
        self.home = os.path.join(folder, "home")
        self.runtime = os.path.join(folder, "runtime")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        self.processes = []
        self.main_window = None
        self.exe = installed
        if installed:
            return
        built = os.environ.get("LUMENO_EXE")
        expect(built and os.access(built, os.X_OK), f"LUMENO_EXE does not name the built program: {built!r}")
        os.makedirs(self.folder)
        # The program finds its folder from the path of its own executable, which a symbolic link
        # would resolve back to the build tree: a hard link or a copy it is.
        self.exe = os.path.join(self.folder, "lumeno")
        try:
            os.link(built, self.exe)
        except OSError:
            shutil.copy2(built, self.exe)
        if ini is not None:
            with open(self.file("Lumeno.ini"), "wb") as out:
                out.write(ini)

    def file(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        """The file's exact bytes (name: beside the program, or a whole path); None if it is not."""
        try:
            with open(self.file(name), "rb") as source:
                return source.read()
        except FileNotFoundError:
            return None

    def log_text(self):
        return (self.read("log.txt") or b"").decode("ascii", "replace")

    def wait_for_log(self, text, timeout=None):
        self.wait(f"{text!r} in log.txt", lambda: text in self.log_text(), timeout, self.log_text)

    def folder_listing(self):
        return sorted(os.listdir(self.folder))

    def start(self, prefix=(), env=None):
        """Starts one copy (prefix: a command to run it under, such as ip netns exec; env: more
        environment on top of the desktop's)."""
        env = self.desktop.env({"HOME": self.home, "XDG_RUNTIME_DIR": self.runtime,
                                "XDG_CONFIG_HOME": os.path.join(self.home, ".config"), **(env or {})})
        log = os.path.join(os.path.dirname(self.folder), f"lumeno-{len(self.processes) + 1}.log")
        # Started from another folder: the program must find its own.
        process = spawn([*prefix, self.exe], env, log, cwd=os.path.dirname(self.folder))
        self.processes.append(process)
        return process

    @property
    def process(self):
        return self.processes[0]

    def check_alive(self, waiting_for=None):
        if self.process.poll() is not None:
            during = f" while the case waited for {waiting_for}" if waiting_for else ""
            raise CaseFailed(f"Lumeno ended unasked ({describe_status(self.process.returncode)}){during}")

    def wait(self, description, probe, timeout=None, detail=None):
        """poll(), failing at once, with its status, when the program has ended meanwhile."""
        return poll(description, lambda: self.check_alive(description) or probe(), timeout or DEADLINE,
                    detail=detail)

    def wait_for_window(self, title):
        """The program's window titled so, once it is on the screen."""

        def shown():
            for window in self.desktop.windows():
                place = self.desktop.geometry(window)
                if place and place.viewable and place.name == title and place.width > 100:
                    return window
            return None

        return self.wait(f"the window {title!r} to show", shown, detail=lambda: [
            (window, self.desktop.geometry(window)) for window in self.desktop.windows()])

    def wait_for_main_window(self):
        self.main_window = self.wait_for_window("Lumeno")
        return self.main_window

    def open_menu(self, what, click, again_after=1.0, looks=1):
        """Clicks until a pop-up menu opens and has stayed the same for looks looks in a row; a
        click that a window just restored or activated has taken is repeated again_after seconds
        later."""
        clicked, seen = [0.0], []

        def opened():
            seen.append(tuple(self.desktop.windows(kind="menu")))
            if not seen[-1] and time.monotonic() - clicked[0] > again_after:
                click()
                clicked[0] = time.monotonic()
            return seen[-1] if seen[-1] and len(seen) >= looks and len(set(seen[-looks:])) == 1 else None

        return self.wait(what, opened)

    def open_file_menu(self):
        """Clicks "File", the first item of the main window's menu bar, and waits for its menu."""
        place = self.desktop.geometry(self.main_window)
        self.open_menu("the File menu to open",
                       lambda: self.desktop.click_in(self.main_window, 12, (place.height - STRIP_HEIGHT) // 2))

    def copy_from_file_menu(self, keys=("Down", "Down")):
        """File > Copy ("Email", then "Copy"), or the item the keys pick: the text it puts on the
        clipboard."""
        before = self.desktop.clipboard()
        self.open_file_menu()
        self.desktop.key(*keys, "Return")
        return self.wait("the copy on the clipboard", lambda: self.desktop.clipboard() != before and
                         self.desktop.clipboard())

    def expect_clean_exit(self, after, process=None):
        process = process or self.process
        poll("Lumeno to end", lambda: process.poll() is not None)
        expect(process.returncode == 0,
               f"{after} should end Lumeno with status 0; it ended: {describe_status(process.returncode)}")

    def ended(self, how):
        """The copy ends cleanly; the next start is the program's first process again."""
        self.expect_clean_exit(how)
        self.processes.pop(0)

    def choose_exit(self):
        """File > Exit, the last item of the File menu."""
        self.open_file_menu()
        self.desktop.key("Up", "Return")

    def expect_log(self, *heads, path="log.txt"):
        """log.txt holds exactly one well-formed line per head, in order, and nothing else."""
        content = self.read(path)
        expect(content is not None, "log.txt was not written")
        pattern = b"".join(re.escape(head.encode()) + LOG_STAMP.encode() for head in heads)
        expect(re.fullmatch(pattern, content, re.S),
               f"log.txt should hold exactly the lines {list(heads)}, holds {content!r}")
