#!/usr/bin/env python3
"""The connection history of Lumeno.exe under Wine, in the light and a dark window colour: a log
in the formats the program itself writes its stamps in (learned from its start entry), with
three outages in the last day (5 min, 30 s, 2 h). The window must read "Outages: 3" and
"Longest: 2 h" and show red at each outage's place."""

import datetime
import os
import shutil
import subprocess

from test_windows_screens import WINE, WindowsDesktop, poll, screen, step  # noqa: E402
from harness import CaseFailed, case_folder, expect, main  # noqa: E402

HOUR = datetime.timedelta(hours=1)
OUTAGES = [(20 * HOUR, datetime.timedelta(minutes=5)), (12 * HOUR, datetime.timedelta(seconds=30)),
           (6 * HOUR, 2 * HOUR)]
INI = (b"[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=1\r\nlogoutages=1\r\n\r\n"
       b"[Automation]\r\ntrayatstartup=0\r\nautostartup=0\r\n")
# Regional layouts a Wine prefix may have; the one the program wrote its start entry in is used.
LAYOUTS = [("%-m/%-d/%Y", "%-I:%M:%S %p"), ("%m/%d/%Y", "%H:%M:%S"), ("%d/%m/%Y", "%H:%M:%S"),
           ("%-d/%-m/%Y", "%H:%M:%S"), ("%m/%d/%y", "%H:%M:%S"), ("%Y-%m-%d", "%H:%M:%S"), ("%d.%m.%Y", "%H:%M:%S")]
DARK = {"Window": "32 32 32", "WindowText": "255 255 255", "ButtonFace": "48 48 48", "ButtonText": "255 255 255"}
CLIENT_WIDTH = 640  # 9600 twips
STRIP_LEFT, STRIP_TOP, STRIP_HEIGHT = 10, 30, 32  # 150, 450 and 480 twips


def program_layout(program, started):
    """The date and time formats of the program's own "[Lumeno Loaded]" entry."""
    def entry():
        try:
            with open(os.path.join(program, "log.txt"), newline="") as log:
                return next((line for line in log if line.startswith("[Lumeno Loaded]")), None)
        except FileNotFoundError:
            return None

    line = poll("the start entry", entry, timeout=60)
    for date, time in LAYOUTS:
        for moment in (started + datetime.timedelta(seconds=s) for s in range(-2, 120)):
            if f" , Date : {moment.strftime(date)} , Time : {moment.strftime(time)}" in line:
                return date, time
    raise CaseFailed(f"the start entry is in formats this case does not know: {line!r}")


def history_log(now, layout):
    def stamp(when):
        return f" , Date : {when.strftime(layout[0])} , Time : {when.strftime(layout[1])}"

    lines = [f"[Lumeno Loaded]{stamp(now - 23 * HOUR)}"]
    for before, length in OUTAGES:
        seconds = int(length.total_seconds())
        lines += [f"[Went Offline]{stamp(now - before)}",
                  f"[Back Online]{stamp(now - before + length)} , Offline for : "
                  f"{seconds // 3600:02}:{seconds // 60 % 60:02}:{seconds % 60:02}"]
    lines.append(f"[Program Exit]{stamp(now - HOUR)}")
    return "".join(line + "\r\n" for line in lines)


def open_by_keys(wd):
    """Tools > Connection history from the keyboard: the last item of the second menu."""
    outer, _ = wd.wait_for_window("LumenoMainWindow")
    wd.desktop.click((outer.left + outer.right) // 2, outer.top + 6)
    for key in ("F10", "Right", "Down", "Up", "Return"):
        wd.key(key)


def look(wd, name, by_keys=False):
    program = os.path.join(wd.folder, "program")
    started = datetime.datetime.now().replace(microsecond=0)
    wd.start(INI)
    layout = program_layout(program, started)
    now = datetime.datetime.now().replace(microsecond=0)
    with open(os.path.join(program, "log.txt"), "w", newline="") as log:
        log.write(history_log(now, layout))
    if by_keys:
        open_by_keys(wd)
    else:
        wd.choose("LumenoMainWindow", ("Tools", "Connection history"))
    outer, _ = wd.wait_for_window("LumenoHistory")
    left = outer.left + (outer.right - outer.left - CLIENT_WIDTH) // 2
    top = outer.client_top
    region = screen.Region(left, top, CLIENT_WIDTH, outer.bottom - top)

    def looked():
        shot = wd.shot(name)
        words = screen.read_words(shot, region)
        return (shot, words) if not screen.missing_texts(words, ["Outages: 3", "Longest: 2 h"]) else None

    shot, _ = poll(f"the figures of {name}", looked, timeout=30)
    picture = screen.Picture(shot)
    width = CLIENT_WIDTH - 2 * STRIP_LEFT
    for before, length in OUTAGES:
        middle = (before - length / 2).total_seconds()
        x = left + STRIP_LEFT + round((1 - middle / 86400) * width)
        pixels = picture.region_pixels(screen.Region(x - 1, top + STRIP_TOP + STRIP_HEIGHT // 2, 3, 1))
        step(f"{name}: outage {before} ago at x={x}: {pixels}")
        expect(any(r > 180 and g < 60 and b < 60 for r, g, b in pixels),
               f"{name}: no red at the outage {before} ago (x={x}, {shot}): {pixels}")
    wd.end()
    shutil.rmtree(program)
    return picture


def set_colours(wd, colours):
    for key, value in colours.items():
        args = ["reg", "delete", r"HKCU\Control Panel\Colors", "/v", key, "/f"] if value is None else \
            ["reg", "add", r"HKCU\Control Panel\Colors", "/v", key, "/t", "REG_SZ", "/d", value, "/f"]
        subprocess.run([WINE, *args], env=wd.env, capture_output=True, timeout=60)


def history_reads_and_shows_red_at_outages():
    wd = WindowsDesktop(case_folder("windows_history"))
    look(wd, "history-light")
    set_colours(wd, DARK)
    try:
        # Found by its caption in the light run; here the menu is worked from the keyboard.
        look(wd, "history-dark", by_keys=True)
    finally:
        set_colours(wd, dict.fromkeys(DARK))


if __name__ == "__main__":
    main({"history_reads_and_shows_red_at_outages": history_reads_and_shows_red_at_outages})
