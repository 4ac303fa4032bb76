#!/usr/bin/env python3
"""The status lamp follows the network: the program runs in a network namespace of the case's
own, whose default route and link the case changes, and the lamp's pixels must turn within 5 s."""

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


def expect_lamp(desktop, lumeno, colour, name, after, timeout=WITHIN):
    started = time.monotonic()
    lumeno.wait(f"the lamp to turn {name} after {after}", lambda: lamp(desktop, lumeno.main_window) == colour,
                timeout=timeout, detail=lambda: lamp(desktop, lumeno.main_window))
    print(f"lamp {name} {time.monotonic() - started:.1f} s after {after}")


def lamp_follows_route_and_link():
    folder = case_folder("status_lamp")
    network = Network()
    desktop = Desktop(folder)
    lumeno = Lumeno(desktop, folder, settings_file())
    # Started with a link but no default route: offline until the route comes.
    lumeno.start(prefix=network.run_inside())
    window = lumeno.wait_for_main_window()
    expect_lamp(desktop, lumeno, RED, "red", "a start without a default route", timeout=10.0)
    copied = lumeno.copy_from_file_menu()
    expect(copied == INSIDE_ADDRESS,
           f"the program should show the namespace's address {INSIDE_ADDRESS}, shows {copied!r}")

    network.add_default_route()
    expect_lamp(desktop, lumeno, GREEN, "green", "the default route was added")
    network.delete_default_route()
    expect_lamp(desktop, lumeno, RED, "red", "the default route was deleted")
    network.add_default_route()
    expect_lamp(desktop, lumeno, GREEN, "green", "the default route was restored")

    network.lose_carrier()
    expect_lamp(desktop, lumeno, RED, "red", "the link lost its carrier")
    network.regain_carrier()
    expect_lamp(desktop, lumeno, GREEN, "green", "the carrier came back")

    network.link_down()
    expect_lamp(desktop, lumeno, RED, "red", "the link was taken down")
    network.link_up()
    network.add_default_route()
    expect_lamp(desktop, lumeno, GREEN, "green", "the link came up with its route")
    expect(desktop.viewable(window), "the main window should still be on the screen")


if __name__ == "__main__":
    main({"lamp_follows_route_and_link": lamp_follows_route_and_link})
