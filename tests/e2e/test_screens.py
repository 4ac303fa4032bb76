#!/usr/bin/env python3
"""Every window as a user sees it, light, dark (qt6ct's "darker") and at twice the size: its texts
read by OCR, each word at least 4.5:1 against its background, no control cut off or on another,
every control named; one start, in a network of the case's own, online then offline."""

import datetime
import glob
import os
import re

from accessibility import AccessibilityBus, find, misplaced, unnamed
from desktop import Desktop
from harness import CaseFailed, case_folder, expect, main, poll, settle, step, write_file
from lumeno import OUTAGES, Lumeno, history_log, outages_not_red, settings_file
from netns import INSIDE_ADDRESS, Network
import screen

OLD_LOG = ("[Requested Hostname] : lumenobox , Date : 12/1/2026 , Time : 09:15:02\r\n"
           "[Refreshed Local IP] : 198.51.100.2 , Date : 12/1/2026 , Time : 09:16:40\r\n"
           "[Connection Lost] , Date : 12/1/2026 , Time : 09:20:11\r\n")
OLD_LINES = ("Requested Hostname", "Refreshed Local IP", "Connection Lost")
ALERT_WITHIN = 35.0  # the offline alert comes at a tick of its 30 s timer


def same(node, window):
    """The node is the window seen before (a tree is read afresh each time)."""
    return (node.role, node.name, node.box) == (window.role, window.name, window.box)


class Screens:
    def __init__(self, name, scale=1, dark=False):
        self.folder, self.scale, self.dark, self.problems = case_folder(name), scale, dark, []
        self.network = Network()
        self.network.route("add")
        self.desktop = Desktop(self.folder)
        self.bus = AccessibilityBus(self.desktop, self.folder, scale)
        self.lumeno = Lumeno(self.desktop, self.folder, settings_file(uselog=1, logoutages=1))
        write_file(self.lumeno.file("log.txt"), OLD_LOG)
        env = self.bus.env()
        if scale != 1:
            env["QT_SCALE_FACTOR"] = str(scale)
        if dark:
            config = os.path.join(self.lumeno.home, ".config", "qt6ct")
            os.makedirs(config)
            write_file(os.path.join(config, "qt6ct.conf"), "[Appearance]\ncustom_palette=true\nstyle=Fusion\n"
                       "color_scheme_path=/usr/share/qt6ct/colors/darker.conf\n")
            env["QT_QPA_PLATFORMTHEME"] = "qt6ct"
        self.lumeno.start(prefix=self.network.run_inside, env=env, shown=False)

    def window(self, what, test, timeout=None):
        return self.lumeno.wait(what, lambda: next(filter(test, self.bus.windows("lumeno")), None), timeout,
                                detail=lambda: [str(window) for window in self.bus.windows("lumeno")])

    def titled(self, title):
        return self.window(f'the window "{title}"', lambda window: window.name == title)

    def message_box(self, text):
        return self.window(f'the message "{text}"', lambda window: window.role in ("dialog", "alert")
                           and any(text in node.name for node in window.walk()))

    def gone(self, window):
        self.lumeno.wait(f"{window} to close",
                         lambda: not any(same(shown, window) for shown in self.bus.windows("lumeno")))

    def click(self, node):
        self.desktop.click(node.box.x + node.box.width // 2, node.box.y + node.box.height // 2)

    def press(self, window, role, name):
        node = find(window, role, name)
        expect(node is not None, f"{window}: no {role} {name!r} to click")
        self.click(node)

    def choose(self, window, menu, item):
        """Clicks menu in the menu bar, again a second later should a window going away take the
        click, then the menu's item."""
        title = find(window, "menu item", menu)
        expect(title is not None, f"{window}: no menu {menu!r}")

        def opened():
            popup = next((shown for shown in self.bus.windows("lumeno")
                          if shown.box.y >= window.box.y and find(shown, "menu item", item) is not None), None)
            if popup is None:
                self.click(title)
            return popup

        popup = poll(f"the {menu} menu", opened, interval=1.0)
        self.press(popup, "menu item", item)

    def look(self, name, window, texts, absent=()):
        """Photographs the window once it shows the texts (or not within 20 s) and notes what a
        user would see wrong."""
        def looked():
            window_now = self.window(name, lambda node: same(node, window))
            shot, box = self.shot(name), window_now.box
            self.desktop.run(["import", "-silent", "-window", "root", "-crop",
                              f"{box.width}x{box.height}+{box.x}+{box.y}", "+repage", shot])
            words = self.read(shot, window_now, [*texts, *absent])
            found = [f"not read: {text!r}" for text in screen.missing_texts(words, texts)]
            found += [f"still on the screen: {text!r}" for text in absent if screen.find_text(words, text)]
            return window_now, shot, words, found

        window_now, shot, words, found = settle(looked, 20.0, lambda seen: not seen[3])
        # Disabled controls need not stand out, and a picture is no text.
        leave_out = [self.inside(window_now, node.box) for node in window_now.walk()
                     if "sensitive" not in node.states or node.role == "image"]
        found += [f"too faint: {screen.describe(measured)}"
                  for measured in screen.faint(screen.measure_contrast(shot, screen.words_to_measure(words, texts),
                                                                       leave_out))]
        found += unnamed(window_now) + misplaced(window_now, slack=self.scale)
        step(f"{name}: {'; '.join(found) if found else 'as it should be'} ({shot})")
        self.problems += [f"{name} ({os.path.basename(shot)}): {problem}" for problem in found]
        return window_now

    def main_window(self, name, label, *texts):
        """The main window once its label tells the state; its lamp must tell a screen reader so too."""
        window = self.window(f"the {name}", lambda window: window.role == "frame" and window.name == "Lumeno"
                             and find(window, "label", label) is not None)
        window = self.look(name, window, ["File", "Tools", "Info", *texts, label])
        lamp = next((node for node in window.walk() if node.description.strip() == "Connection status..."), None)
        if lamp is None or label.rstrip("!") not in lamp.name:
            self.problems.append(f"main window: the lamp is not read as {label.rstrip('!')}: {lamp}")
        return window

    def question(self, name, text):
        box = self.look(name, self.message_box(text), [text, "Yes", "No"])
        self.desktop.key("Escape")
        self.gone(box)

    def inside(self, window, box):
        return screen.Region(box.x - window.box.x, box.y - window.box.y, box.width, box.height)

    def read(self, shot, window, texts):
        """The window's words; where a text is missing, read again inside each field and each
        control that should show it, away from frame lines."""
        words = screen.read_words(shot)
        missing = screen.missing_texts(words, texts)
        if not missing:
            return words
        border = 2 * self.scale
        for node in window.walk():
            if node is window or min(node.box.width, node.box.height) <= 2 * border or (
                    node.role != "text" and not any(text in node.name for text in missing)):
                continue
            inner = screen.Region(node.box.x - window.box.x + border, node.box.y - window.box.y + border,
                                  node.box.width - 2 * border, node.box.height - 2 * border)
            one_line = inner.height < 40 * self.scale
            words += screen.read_words(shot, inner, layout="line" if one_line else "block")
        return words

    def shot(self, name):
        return os.path.join(self.folder, re.sub(r"[^\w.-]+", "_", name) + ".png")

    def finish(self):
        """Fails with every problem seen; a pass throws the pictures away unless they are to be kept."""
        if self.problems:
            raise CaseFailed(f"{len(self.problems)} things a user would see wrong:\n  " +
                             "\n  ".join(self.problems))
        if not os.environ.get("LUMENO_E2E_KEEP_SHOTS"):
            for picture in glob.glob(os.path.join(self.folder, "*.png")):
                os.remove(picture)


def every_window(screens):
    desktop, lumeno = screens.desktop, screens.lumeno
    main_window = screens.main_window("main window", "Online", INSIDE_ADDRESS)
    screens.choose(main_window, "File", "Exit")
    screens.question("exit question", "Exit Lumeno?")

    screens.choose(main_window, "Tools", "Options")
    options = screens.titled("Options")
    tabs = {
        "Automation": ["Start when computer loads", "Minimize to sys-tray on load", "Done"],
        "Extras": ["Show hostname in popup on request"],
        "Connection": ["Alert using popup if i loose my connection", "Follow address changes",
                       "Log connection changes", "Interface"],
        "Logs": ["Use log file", "View log", "Clear log", "Log contains program load/exit, error stat"],
    }
    for tab, texts in tabs.items():
        screens.press(options, "page tab", tab)
        options = screens.look(f"options {tab}", options, list(tabs) + texts)
    if screens.dark:  # without qt6ct the case would prove nothing
        picture = screen.Picture(screens.shot("options Logs"))
        background, _ = screen.dominant_colours(picture.region_pixels(screen.Region(0, 0, 9999, 9999)))
        expect(screen.relative_luminance(background) < 0.2, f"options drawn on {background}: is qt6ct installed?")

    screens.press(options, "push button", "Clear log")
    screens.question("clear-log question", "Clear log file?")

    screens.press(options, "push button", "View log")
    monitor = screens.look("log monitor", screens.titled("Log monitor"), ["File", *OLD_LINES, "Lumeno Loaded"])
    screens.choose(monitor, "File", "Clear log")
    screens.message_box("Clear log file?")
    desktop.key("Return")
    lumeno.wait("the log to be emptied", lambda: lumeno.read("log.txt") == b"")
    screens.look("log monitor cleared", monitor, ["File"], absent=[*OLD_LINES, "Lumeno Loaded"])
    screens.choose(monitor, "File", "Exit")
    screens.gone(monitor)
    screens.press(options, "push button", "Done")
    screens.gone(options)

    screens.choose(main_window, "Tools", "IP tools")
    tools = screens.titled("IP Tools")
    for tooltip, text in (("Insert Ip or Domain", "127.0.0.1"), ("Amount of times to ping.", "1")):
        screens.click(next(node for node in tools.walk() if node.description.startswith(tooltip)))
        desktop.type_text(text)
    screens.press(tools, "push button", "Ping")
    lumeno.wait("ping's result", lambda: b"ping statistics" in (lumeno.read("ping.txt") or b""))
    tools = screens.look("IP tools", tools, ["File", "Options", "PING 127.0.0.1", "ping statistics", "pings:",
                                             "Value", "Ping", "Hops", "Time out", "Get host names", "Trace",
                                             "Show all", "Netstat", "Done..."])
    screens.choose(tools, "File", "Exit")
    screens.gone(tools)

    history(screens, main_window)

    screens.choose(main_window, "Info", "About")
    about = screens.window("the about box", lambda window: find(window, "push button", "Sys Info") is not None)
    version = next((node.name for node in about.walk() if node.name.startswith("Version ")), "Version")
    about = screens.look("about box", about, ["Lumeno", version, "WebSite", "Sys Info", "Done"])
    desktop.key("Escape")
    screens.gone(about)

    step("the link goes down")
    screens.network.link(False)
    screens.main_window("main window offline", "Offline!")
    write_file(lumeno.file("Lumeno.ini"), settings_file(uselog=1, alertifoffline=1))
    alert = screens.window("the offline alert", lambda window: window.role in ("dialog", "alert")
                           and window.name == "Connection Problems", timeout=ALERT_WITHIN)
    screens.look("offline alert", alert, ["Internet connection has been lost!", "Please goto options", "OK"])
    desktop.key("Return")
    screens.finish()


def history(screens, main_window):
    now = datetime.datetime.now().replace(microsecond=0)
    write_file(screens.lumeno.file("log.txt"),
               history_log(now, lambda when: when.strftime(" , Date : %m/%d/%y , Time : %H:%M:%S")))
    watched = 22 * 3600
    offline = sum(length.total_seconds() for _, length in OUTAGES)
    share = f"{round(1000 * (watched - offline) / watched) / 10:.1f} %"
    screens.choose(main_window, "Tools", "Connection history")
    window = screens.look("connection history", screens.titled("Connection history"),
                          ["Last 24 hours", f"Online: {share}", "Outages: 3", "Longest: 2 h", "Last 7 days"],
                          absent=["Log connection changes"])
    strip = next((node for node in window.walk() if node.name == "Connection over the last 24 hours"), None)
    expect(strip is not None, f"no strip of the last 24 hours in {window}")
    screens.problems += [f"connection history: {problem}" for problem in outages_not_red(
        screen.Picture(screens.shot("connection history")), screens.inside(window, strip.box), 2 * screens.scale)]
    screens.desktop.key("alt+F4")
    screens.gone(window)


LOOKS = {"every_window_light": {}, "every_window_dark": {"dark": True}, "every_window_at_twice_the_size": {"scale": 2}}

if __name__ == "__main__":
    main({name: lambda name=name, look=look: every_window(Screens(name, **look)) for name, look in LOOKS.items()})
