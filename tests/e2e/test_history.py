#!/usr/bin/env python3
"""The connection history as a user sees it: a log written in the desktop's own date and time
formats, with three outages in the last day (5 min, 30 s and 2 h) between a start and an exit.
The window must read "Outages: 3", "Longest: 2 h" and the online share of the watched time, and
show red at the outages' places, in the light and the dark palette."""

import datetime
import locale
import os

from accessibility import find
from harness import expect, main, step
import screen
from test_screens import Screens

HOUR = datetime.timedelta(hours=1)
# (start before now, length) of each outage; the program watched from 23 h ago to 1 h ago.
OUTAGES = [(20 * HOUR, datetime.timedelta(minutes=5)), (12 * HOUR, datetime.timedelta(seconds=30)),
           (6 * HOUR, 2 * HOUR)]
WATCHED = (23 * HOUR, 1 * HOUR)


def stamp(when):
    """As the program writes it: the desktop's short date and long time (the case's locale)."""
    locale.setlocale(locale.LC_TIME, os.environ.get("LUMENO_E2E_LOCALE", "C.UTF-8"))
    return (f" , Date : {when.strftime(locale.nl_langinfo(locale.D_FMT))}"
            f" , Time : {when.strftime(locale.nl_langinfo(locale.T_FMT))}")


def history_log(now):
    lines = [f"[Lumeno Loaded]{stamp(now - WATCHED[0])}"]
    for before, length in OUTAGES:
        lines.append(f"[Went Offline]{stamp(now - before)}")
        lines.append(f"[Back Online]{stamp(now - before + length)} , Offline for : "
                     f"{int(length.total_seconds()) // 3600:02}:{int(length.total_seconds()) // 60 % 60:02}:"
                     f"{int(length.total_seconds()) % 60:02}")
    lines.append(f"[Program Exit]{stamp(now - WATCHED[1])}")
    return "".join(line + "\r\n" for line in lines)


def history(name, dark):
    screens = Screens(name, dark=dark, logoutages=1)
    main_window = screens.window("the main window", lambda window: window.role == "frame" and window.name == "Lumeno")
    now = datetime.datetime.now().replace(microsecond=0)
    with open(screens.lumeno.file("log.txt"), "w", newline="") as log:
        log.write(history_log(now))
    watched = (WATCHED[0] - WATCHED[1]).total_seconds()
    offline = sum(length.total_seconds() for _, length in OUTAGES)
    share = f"{round(1000 * (watched - offline) / watched) / 10:.1f} %"
    step(f"expected online share {share}")

    screens.choose(main_window, "Tools", "Connection history")
    window = screens.titled("Connection history")
    window = screens.look("connection history", window,
                          ["Last 24 hours", f"Online: {share}", "Outages: 3", "Longest: 2 h", "Last 7 days"],
                          absent=["Log connection changes"])
    if dark:
        screens.palette_is_dark("connection history")

    strip = find(window, "image", "Connection over the last 24 hours") or next(
        (node for node in window.walk() if node.name == "Connection over the last 24 hours"), None)
    expect(strip is not None, f"no strip of the last 24 hours in {window}")
    picture = screen.Picture(screens.shots.path("connection history"))
    left, top = strip.box.x - window.box.x, strip.box.y - window.box.y
    for before, length in OUTAGES:
        middle = (before - length / 2).total_seconds()
        x = left + round((1 - middle / 86400) * (strip.box.width - 1))
        pixels = picture.region_pixels(screen.Region(x - 1, top + strip.box.height // 2, 3, 1))
        red = any(r > 180 and g < 60 and b < 60 for r, g, b in pixels)
        step(f"outage {before} ago at x={x}: {pixels}")
        expect(red, f"no red at the outage {before} ago (x={x}): {pixels}")
    screens.finish()


def history_light():
    history("history_light", dark=False)


def history_dark():
    history("history_dark", dark=True)


if __name__ == "__main__":
    main({case.__name__: case for case in (history_light, history_dark)})
