#!/usr/bin/env python3
"""Lumeno.exe under Wine on a desktop of its own, read as a user reads it: every window opened
through its menus, read by OCR, its words' contrast measured, every tooltip rested on and read;
the connection history, light and dark, read and red at its outages. Needs LUMENO_WINDOWS_BUILD."""

import datetime
import difflib
import itertools
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))

import screen  # noqa: E402
from desktop import Desktop  # noqa: E402
from harness import CaseFailed, Skipped, case_folder, expect, main, poll, settle, spawn, step  # noqa: E402
from lumeno import Region, history_log, outages_not_red, settings_file  # noqa: E402

BUILD = os.environ.get("LUMENO_WINDOWS_BUILD", os.path.join(HERE, "..", "..", "..", "build-windows"))
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
SLOW = 60.0  # Wine starts slowly on a busy machine

# Control identifiers; the IP tools' count up from 500 in the designed order.
OPTIONS_FRAME1, OPTIONS_TABS, IP_TOOLS_FIRST, MAIN_LAMP, MAIN_STATUS = 201, 200, 500, 102, 103
TAB_TEXTS = {
    "Automation": ["Start when computer loads", "Minimize to sys-tray on load"],
    "Extras": ["Show hostname in popup on request", "Done"],
    "Logs": ["Use log file", "View log", "Clear log", "Log contains program"],
    "Connection": ["Alert using popup", "Follow address changes", "Log connection changes", "Interface:", "Automatic"],
}
CONNECTION_ONLY = ["Follow address", "connection changes", "Interface", "loose my connection"]

IP_TOOLS_TIPS = [
    ("txtIP", 2, "Insert Ip or Domain address here to test..."),
    ("Label5", 3, "Amount of true pings"),
    ("amountping", 4, "Amount of true pings"),
    ("lblMain", 5, "How many times to ping IP/Domain"),
    ("txtNumber", 6, "Amount of times to ping."),
    ("cmdPing", 7, "Start ping"),
    ("hops", 15, "Limit the amount of hops."),
    ("timeout", 17, "Time in 'ms' before trace route gives up."),
    ("chkgethostnames", 21, "Display detail on server names if able to.."),
    ("chknetstatall", 25, "Displays all connections and listening ports."),
    ("classlbl", 27, "status"),
]
# Not "Trace" and "Netstat": greyed in Ping mode, they need not stand out.
IP_TOOLS_LABELS = ["pings:", "Value :", "Hops :", "Time out :", "Get host names", "Show all", "Ping", "Ready..."]
LOG_LINES = "".join(f"[Lumeno Loaded] , Date : 12/{day}/2026 , Time : 10:00:{day:02d}\r\n" for day in range(1, 9))
_letters = screen._plain  # letters and digits, without case
# Regional layouts a Wine prefix may have; the history log is written in the program's own.
LAYOUTS = [("%-m/%-d/%Y", "%-I:%M:%S %p"), ("%m/%d/%Y", "%H:%M:%S"), ("%d/%m/%Y", "%H:%M:%S"),
           ("%-d/%-m/%Y", "%H:%M:%S"), ("%m/%d/%y", "%H:%M:%S"), ("%Y-%m-%d", "%H:%M:%S"), ("%d.%m.%Y", "%H:%M:%S")]
DARK = {"Window": "32 32 32", "WindowText": "255 255 255", "ButtonFace": "48 48 48", "ButtonText": "255 255 255"}
CLIENT_WIDTH = 640  # the history's, 9600 twips; its strip at 150, 450 twips, 480 high
STRIP_LEFT, STRIP_TOP, STRIP_HEIGHT = 10, 30, 32


def reads(words, text):
    """As the screen module finds it, or in all the words' letters but for an OCR slip (sparse
    text may put each word of a phrase in a block of its own)."""
    if screen.find_text(words, text):
        return True
    wanted = _letters(text)
    letters = "".join(_letters(word.text) for word in words)
    for start in range(max(len(letters) - len(wanted), 0) + 1):
        piece = letters[start:start + len(wanted) + 2]
        if difflib.SequenceMatcher(None, piece, wanted).ratio() >= 0.85:
            return True
    return False


def missing(words, texts):
    return [text for text in texts if not reads(words, text)]


def faint_words(picture, words, leave_out):
    """Words too faint, of four letters or more: at 8 points a shorter word's strokes are so thin
    that their shades, not the ink, make up most of its dark pixels."""
    long_words = [word for word in words if len(_letters(word.text)) >= 4]
    return screen.faint(screen.measure_contrast(picture, long_words, leave_out))


class Checks:
    """Every check is made and told; the case fails at the end when any did."""

    def __init__(self):
        self.made, self.failed = 0, []

    def check(self, what, holds, detail=""):
        self.made += 1
        self.failed += [] if holds else [what]
        print(f"ok: {what}" if holds else f"FAILED: {what}: {detail}", flush=True)
        return holds


class Place:
    def __init__(self, left, top, right, bottom):
        self.left, self.top, self.right, self.bottom = left, top, right, bottom

    def region(self, margin=0):
        return screen.Region(self.left - margin, self.top - margin, self.right - self.left + 2 * margin,
                             self.bottom - self.top + 2 * margin)

    def centre(self):
        return (self.left + self.right) // 2, (self.top + self.bottom) // 2


class Control:
    def __init__(self, line):
        left, top, right, bottom, enabled, ident, rest = line.split(" ", 6)
        self.place = Place(int(left), int(top), int(right), int(bottom))
        self.enabled, self.id, self.text = enabled == "1", int(ident), rest.partition("|")[2]


class WindowsDesktop:
    def __init__(self, folder):
        for name in ("Lumeno.exe", "lumeno_window_probe.exe"):
            if not os.path.exists(os.path.join(BUILD, name)):
                raise Skipped(f"{name} is not built in {BUILD} (scripts/windows.sh builds it)")
        self.desktop = Desktop(folder, tray=True)
        self.folder = folder
        self.shots = 0
        # A prefix of its own: the unit tests' draws nowhere.
        self.env = self.desktop.env({"WINEDEBUG": "-all", "WINEPREFIX": os.path.join(BUILD, "wineprefix-e2e")})
        # Programs left in the prefix by an earlier run would keep their display.
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, capture_output=True, timeout=60)
        subprocess.run([WINE, "wineboot", "-i"], env=self.env, capture_output=True, timeout=300)
        # Wine's first program on a display sets up its desktop: the probe's first run does it.
        self.probe("tips")

    def start(self, ini, log=None):
        self.program = os.path.join(self.folder, "program")
        os.makedirs(self.program)
        shutil.copy2(os.path.join(BUILD, "Lumeno.exe"), self.program)
        with open(os.path.join(self.program, "Lumeno.ini"), "wb") as out:
            out.write(ini)
        if log:
            self.write_log(log)
        spawn([WINE, os.path.join(self.program, "Lumeno.exe")], self.env, os.path.join(self.folder, "lumeno.log"),
              cwd=self.program)

    def write_log(self, text):
        with open(os.path.join(self.program, "log.txt"), "w", newline="") as out:
            out.write(text)

    def end(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        shutil.rmtree(self.program)

    def probe(self, *args):
        """What the probe says; nothing if not in time (the callers poll again)."""
        try:
            result = subprocess.run([WINE, os.path.join(BUILD, "lumeno_window_probe.exe"), *args], env=self.env,
                                    capture_output=True, text=True, timeout=30)
        except subprocess.TimeoutExpired:
            print(f"the probe said nothing in 30 s ({' '.join(args)})", flush=True)
            return ""
        return result.stdout

    def window(self, name):
        """The shown window of that title or class: its place and its shown controls; None if none."""
        lines = self.probe("places", name).splitlines()
        if not lines or not lines[0].startswith("window "):
            return None
        values = [int(value) for value in lines[0].split()[1:]]
        outer = Place(*values[:4])
        outer.client_top = values[4]
        return outer, [Control(line) for line in itertools.takewhile(lambda line: not line.startswith("window "),
                                                                      lines[1:])]

    def wait_for_window(self, name, timeout=SLOW):
        return poll(f"the window {name!r}", lambda: self.window(name), timeout=timeout)

    def gone(self, name):
        return poll(f"the window {name!r} to close", lambda: self.window(name) is None)

    def shot(self, name):
        self.shots += 1
        return self.desktop.screenshot(f"{self.shots:02d}-{name}")

    def key(self, name):
        # Down and up apart: a window that goes at the press must not leave the key repeating.
        self.desktop.xdotool("keydown", name)
        self.desktop.xdotool("keyup", name)

    def rest_pointer(self):
        self.desktop.xdotool("mousemove", "1", "400")
        poll("the tooltips to go", lambda: not self.probe("tips").strip())

    def choose(self, window_name, path):
        """Chooses menu, item of the window's menu bar, each found on the screen by its caption."""
        outer, _ = self.wait_for_window(window_name)
        bar = screen.Region(outer.left, outer.client_top, outer.right - outer.left, 24)
        menu, item = path
        self.desktop.click(*self._where(bar, menu, f"{window_name} menu bar"))
        dropped = poll(f"the {menu} menu", lambda: self.probe("menus").split())
        self.desktop.click(*self._where(Place(*(int(value) for value in dropped[1:5])).region(), item,
                                        f"the {menu} menu"))

    def _where(self, region, text, what):
        """The middle of the text where it is read in the region, once it shows."""
        wider = screen.Region(region.x - 8, region.y - 8, region.width + 16, region.height + 16)

        def found():
            picture = self.shot(f"finding-{text}")
            for upscale in (3, 4):
                words = screen.find_text(screen.read_words(picture, wider, upscale), text)
                if words:
                    return words
            return None

        words = poll(f"{text!r} to be read in {what}", found)
        return ((min(word.box.x for word in words) + max(word.box.x + word.box.width for word in words)) // 2,
                (min(word.box.y for word in words) + max(word.box.y + word.box.height for word in words)) // 2)

    def press(self, controls, text):
        self.desktop.click(*next(control for control in controls if control.text == text).place.centre())


def ink_height(picture, place):
    """How many rows of the place hold dark ink, but for a border's lines (dark nearly all across)."""
    inside = screen.Region(place.left + 3, place.top + 1, place.right - place.left - 6, place.bottom - place.top - 2)
    pixels = screen.Picture(picture).region_pixels(inside)
    rows = [pixels[row * inside.width:(row + 1) * inside.width] for row in range(inside.height)]
    inked = [index for index, row in enumerate(rows)
             if 0 < sum(1 for colour in row if screen.relative_luminance(colour) < 0.3) < 0.8 * len(row)]
    return inked[-1] - inked[0] + 1 if inked else 0


def read_window(checks, wd, name, title, texts, leave_out=()):
    """Photographs the window once it shows its texts (or not within 15 s), checks they are read
    and every word stands out; returns the picture, the words and the window's controls."""
    outer, controls = wd.wait_for_window(name)
    region = screen.Region(outer.left - 8, outer.client_top, outer.right - outer.left + 16,
                           outer.bottom - outer.client_top + 8)
    def read():
        picture = wd.shot(title)
        words = every = screen.read_words(picture, region, upscale=4)
        # Read at three sizes, as one reading slips where another does not; then each control with
        # a text still missing on its own, as the eye reads a button by itself.
        for upscale in (3, 2):
            if missing(every, texts):
                every = every + screen.read_words(picture, region, upscale=upscale)
        for control in controls:
            if control.text and any(_letters(control.text) == _letters(text) for text in missing(every, texts)):
                every = every + read_alone(picture, control.place, 1)[1]
        return picture, words, missing(every, texts)

    picture, words, not_read = settle(read, 15, lambda seen: not seen[2])
    checks.check(f"{title}: reads {', '.join(repr(text) for text in texts)}", not not_read,
                 f"not read: {not_read}; read: {' '.join(word.text for word in words)} ({picture})")
    faint = faint_words(picture, words, leave_out)
    checks.check(f"{title}: every word read stands out at least {screen.LEAST_CONTRAST}:1", not faint,
                 "; ".join(screen.describe(measured) for measured in faint) + f" ({picture})")
    return picture, words, controls


def read_alone(picture, place, inset=0, wanted=None):
    """The words of one small place, less its inset (a border), set on white and read at sizes
    until one holds wanted."""
    alone = picture.replace(".png", f"-{place.left}-{place.top}.png")
    width, height = place.right - place.left - 2 * inset, place.bottom - place.top - 2 * inset
    subprocess.run(["convert", picture, "-crop", f"{width}x{height}+{place.left + inset}+{place.top + inset}",
                    "+repage", "-bordercolor", "white", "-border", "12", alone],
                   check=True, capture_output=True, timeout=60)
    words = []
    for upscale in (2, 3, 4, 6):
        words = screen.read_words(alone, upscale=upscale)
        if wanted is None or reads(words, wanted):
            break
    return alone, words


def tooltip_shows(checks, wd, what, control, text):
    wd.rest_pointer()
    x, y = control.place.centre()
    wd.desktop.xdotool("mousemove", str(x), str(y))
    tip = settle(lambda: wd.probe("tips").split(), 5)
    if not checks.check(f"resting on {what} shows its tooltip", tip, "no tooltip showed"):
        return
    place = Place(*(int(value) for value in tip[1:5]))
    shot, words = settle(lambda: read_alone(wd.shot(f"tip-{what}"), place, 0, text), 5,
                         lambda seen: reads(seen[1], text))
    checks.check(f"resting on {what} shows its tooltip {text!r}", reads(words, text),
                 f"read: {' '.join(word.text for word in words)} ({shot})")


def every_window_reads_clearly_and_every_tooltip_shows():
    folder = case_folder("windows_screens")
    checks = Checks()
    wd = WindowsDesktop(folder)
    wd.start(settings_file(uselog=1), LOG_LINES)

    step("the main window")
    _, _, main_controls = read_window(checks, wd, "LumenoMainWindow", "main window", ["File", "Tools", "Info"])
    by_id = {control.id: control for control in main_controls}
    tooltip_shows(checks, wd, "the lamp", by_id[MAIN_LAMP], "Connection status...")
    tooltip_shows(checks, wd, "the status label", by_id[MAIN_STATUS], "Internet Connection")

    step("the options dialog, tab by tab")
    wd.choose("LumenoMainWindow", ("Tools", "Options"))
    picture, _, controls = read_window(checks, wd, "LumenoOptions", "options, Automation tab", TAB_TEXTS["Automation"])
    by_id = {control.id: control for control in controls}
    inside = by_id[OPTIONS_FRAME1].place
    # The frame's inside, below its top line, left of the check boxes' texts.
    patch = screen.Picture(picture).region_pixels(screen.Region(inside.left + 4, inside.top + 10, 10,
                                                                inside.bottom - inside.top - 16))
    dark = sum(1 for colour in patch if screen.relative_luminance(colour) < 0.3)
    checks.check("options: the Automation frame is light inside", patch and dark <= len(patch) // 10,
                 f"{dark} of {len(patch)} pixels dark ({picture})")
    tabs = by_id[OPTIONS_TABS].place
    strip = screen.Region(tabs.left, tabs.top, tabs.right - tabs.left, 30)
    for tab in ("Extras", "Connection", "Automation", "Logs"):
        wd.desktop.click(*wd._where(strip, tab, "the options' tabs"))
        picture, words, controls = read_window(checks, wd, "LumenoOptions", f"options, {tab} tab after switching",
                                               TAB_TEXTS[tab])
        if tab == "Automation":
            stale = [text for text in CONNECTION_ONLY if reads(words, text)]
            checks.check("options: back on Automation after Connection, no Connection text is read", not stale,
                         f"read: {stale} ({picture})")
    log_box = next(control for control in controls if control.text == "Use log file")
    tooltip_shows(checks, wd, "Use log file", log_box, "Monitor Lumeno actions")

    step("the question before clearing the log")
    wd.press(controls, "Clear log")
    _, _, buttons = read_window(checks, wd, "#32770", "the clear-log question", ["Clear log file?", "No"])
    wd.press(buttons, "&No")
    wd.gone("#32770")
    wd.press(controls, "Done")
    wd.gone("LumenoOptions")

    step("the IP tools")
    wd.choose("LumenoMainWindow", ("Tools", "IP tools"))
    _, controls = wd.wait_for_window("LumenoIpTools")
    by_id = {control.id - IP_TOOLS_FIRST: control for control in controls}
    wd.desktop.click(*by_id[6].place.centre())  # the count
    wd.desktop.xdotool("type", "--delay", "60", "20")
    poll("the count 20 to be typed", lambda: any(control.text == "20" for control in wd.window("LumenoIpTools")[1]))
    wd.key("Tab")  # the caret out of the count box
    wd.rest_pointer()
    # Greyed controls need not stand out; a number box's border would be measured as ink: its
    # digits are read on their own below.
    disabled = [control.place.region(2) for control in controls if not control.enabled]
    boxes = (("count", 6, "20"), ("hops", 15, "30"), ("time-out", 17, "3000"))
    picture, _, _ = read_window(checks, wd, "LumenoIpTools", "IP tools with a count of 20", IP_TOOLS_LABELS,
                                disabled + [by_id[index].place.region(2) for _, index, _ in boxes])
    # The counter's "0" is in the boxes' font: a box's digits are as high, or they are cut.
    digits = ink_height(picture, by_id[4].place)
    for name, index, value in boxes:
        alone, words = read_alone(picture, by_id[index].place, 2, value)
        seen = "".join(_letters(word.text) for word in words)
        checks.check(f"IP tools: the {name} box reads {value!r}", seen == value, f"read {seen!r} ({alone})")
        height = ink_height(picture, by_id[index].place)
        checks.check(f"IP tools: the {name} box's digits are whole", digits > 0 and height >= digits,
                     f"{height} rows of ink against {digits} of the counter's 0 ({picture})")
    for name, index, text in IP_TOOLS_TIPS:
        tooltip_shows(checks, wd, name, by_id[index], text)
    wd.rest_pointer()

    step("the log monitor")
    wd.choose("LumenoMainWindow", ("Tools", "log monitor"))
    read_window(checks, wd, "LumenoLogMonitor", "log monitor with lines", ["Lumeno Loaded", "File"])

    step("the about box")
    wd.choose("LumenoMainWindow", ("Info", "About"))
    _, _, controls = read_window(checks, wd, "LumenoAbout", "about box",
                                 ["Lumeno", "Version", "WebSite", "Sys Info", "Done"])
    wd.press(controls, "Done")
    wd.gone("LumenoAbout")

    step("the question before leaving")
    wd.choose("LumenoMainWindow", ("File", "Exit"))
    read_window(checks, wd, "#32770", "the exit question", ["Exit Lumeno?", "No"])
    wd.end()

    print(f"{checks.made} checks, {len(checks.failed)} failed; screenshots in {folder}")
    expect(not checks.failed, f"{len(checks.failed)} of {checks.made} checks failed: {checks.failed}")


def program_layout(wd, started):
    """The date and time formats of the program's own start entry."""
    def entry():
        try:
            with open(os.path.join(wd.program, "log.txt"), newline="") as log:
                return next((line for line in log if line.startswith("[Lumeno Loaded]")), None)
        except FileNotFoundError:
            return None

    line = poll("the start entry", entry, timeout=60)
    for date, time in LAYOUTS:
        for moment in (started + datetime.timedelta(seconds=s) for s in range(-2, 120)):
            if f" , Date : {moment.strftime(date)} , Time : {moment.strftime(time)}" in line:
                return date, time
    raise CaseFailed(f"the start entry is in formats this case does not know: {line!r}")


def look_at_history(wd, name, by_keys=False):
    started = datetime.datetime.now().replace(microsecond=0)
    wd.start(settings_file(uselog=1, logoutages=1))
    date, time = program_layout(wd, started)
    wd.write_log(history_log(datetime.datetime.now().replace(microsecond=0),
                             lambda when: f" , Date : {when.strftime(date)} , Time : {when.strftime(time)}"))
    if by_keys:  # Tools > Connection history, the second menu's last item
        outer, _ = wd.wait_for_window("LumenoMainWindow")
        wd.desktop.click((outer.left + outer.right) // 2, outer.top + 6)
        for key in ("F10", "Right", "Down", "Up", "Return"):
            wd.key(key)
    else:
        wd.choose("LumenoMainWindow", ("Tools", "Connection history"))
    outer, _ = wd.wait_for_window("LumenoHistory")
    left, top = outer.left + (outer.right - outer.left - CLIENT_WIDTH) // 2, outer.client_top
    region = Region(left, top, CLIENT_WIDTH, outer.bottom - top)

    def looked():
        shot = wd.shot(name)
        return shot if not missing(screen.read_words(shot, region), ["Outages: 3", "Longest: 2 h"]) else None

    shot = poll(f"the figures of {name}", looked, timeout=30)
    strip = Region(left + STRIP_LEFT, top + STRIP_TOP, CLIENT_WIDTH - 2 * STRIP_LEFT, STRIP_HEIGHT)
    not_red = outages_not_red(screen.Picture(shot), strip, 1)
    expect(not not_red, f"{name} ({shot}): {not_red}")
    wd.end()


def set_colours(wd, colours):
    for key, value in colours.items():
        args = ["reg", "delete", r"HKCU\Control Panel\Colors", "/v", key, "/f"] if value is None else \
            ["reg", "add", r"HKCU\Control Panel\Colors", "/v", key, "/t", "REG_SZ", "/d", value, "/f"]
        subprocess.run([WINE, *args], env=wd.env, capture_output=True, timeout=60)


def history_reads_and_shows_red_at_outages():
    wd = WindowsDesktop(case_folder("windows_history"))
    look_at_history(wd, "history-light")
    set_colours(wd, DARK)
    try:
        look_at_history(wd, "history-dark", by_keys=True)  # the menu worked from the keyboard this time
    finally:
        set_colours(wd, dict.fromkeys(DARK))


if __name__ == "__main__":
    main([every_window_reads_clearly_and_every_tooltip_shows, history_reads_and_shows_red_at_outages])
