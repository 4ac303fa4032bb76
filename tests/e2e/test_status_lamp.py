#!/usr/bin/env python3
"""The status lamp follows the network: the program runs in a network namespace of the case's
own, whose default route and link the case changes, and the lamp's pixels must turn within 5 s.
It follows the address and logs outages meanwhile: a link that is down for 5 s and comes back
with the same address is an outage, logged as one, and no change of address."""

import time

from desktop import Desktop
from harness import case_folder, expect, main
from lumeno import Lumeno, settings_file
from netns import INSIDE_ADDRESS, Network

GREEN = (0, 255, 0)
RED = (255, 0, 0)
# A status tick comes every 1.5 s; a change must show at the next one, with room for a slow machine.
WITHIN = 5.0


def lamp(desktop, window):
    """The lamp: the square at the bottom left of the main window's client area."""
    place = desktop.geometry(window)
    return desktop.pixel(window, 8, place.height - 8)


def expect_lamp(desktop, lumeno, colour, after, timeout=WITHIN):
    name = "green" if colour == GREEN else "red"
    started = time.monotonic()
    lumeno.wait(f"the lamp to turn {name} after {after}", lambda: lamp(desktop, lumeno.main_window) == colour,
                timeout=timeout, detail=lambda: lamp(desktop, lumeno.main_window))
    print(f"lamp {name} {time.monotonic() - started:.1f} s after {after}")


def lamp_follows_route_and_link():
    folder = case_folder("status_lamp")
    network = Network()
    desktop = Desktop(folder)
    lumeno = Lumeno(desktop, folder, settings_file(uselog=1, followip=1, logoutages=1))
    # Started with a link but no default route: offline until the route comes.
    lumeno.start(prefix=network.run_inside())
    window = lumeno.wait_for_main_window()
    expect_lamp(desktop, lumeno, RED, "a start without a default route", timeout=10.0)
    copied = lumeno.copy_from_file_menu()
    expect(copied == INSIDE_ADDRESS,
           f"the program should show the namespace's address {INSIDE_ADDRESS}, shows {copied!r}")

    for change, colour, after in ((network.add_default_route, GREEN, "the default route was added"),
                                  (network.delete_default_route, RED, "the default route was deleted"),
                                  (network.add_default_route, GREEN, "the default route was restored"),
                                  (network.lose_carrier, RED, "the link lost its carrier"),
                                  (network.regain_carrier, GREEN, "the carrier came back")):
        change()
        expect_lamp(desktop, lumeno, colour, after)

    logged_before = lumeno.log_text().count("[Back Online]")
    network.link_down()
    down_at = time.monotonic()
    expect_lamp(desktop, lumeno, RED, "the link was taken down")
    time.sleep(max(0.0, down_at + 5 - time.monotonic()))  # the outage itself lasts 5 s
    network.link_up()
    network.add_default_route()
    expect_lamp(desktop, lumeno, GREEN, "the link came up with its route")
    expect(desktop.viewable(window), "the main window should still be on the screen")
    lumeno.wait("[Back Online] for the link's return", lambda: lumeno.log_text().count("[Back Online]") > logged_before,
                detail=lumeno.log_text)
    desktop.put_on_clipboard("copied before")
    copied = lumeno.copy_from_file_menu()  # by now the address is back in the box too
    expect(copied == INSIDE_ADDRESS, f"the address {INSIDE_ADDRESS} should be back, the box gives {copied!r}")
    log = lumeno.log_text()
    expect("[Went Offline]" in log and "[Local IP Changed]" not in log,
           f"the outages should be logged as outages, never as a change of address: {log!r}")


if __name__ == "__main__":
    main({"lamp_follows_route_and_link": lamp_follows_route_and_link})
