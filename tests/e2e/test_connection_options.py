#!/usr/bin/env python3
"""The network followed, in a namespace of the case's own: the lamp turns with the default route,
carrier and link; options on, changes are logged and notified on a session bus whose
StatusNotifierItem tray gives the window back; options off, they leave address and log alone."""

import re
import time

from desktop import Desktop
from harness import case_folder, expect, main, poll, step
from lumeno import LOG_STAMP, Lumeno, settings_file
from netns import INSIDE_ADDRESS, Network
from session_bus import SessionBus

NEW_ADDRESS = "198.51.100.7"
IPV6_ADDRESS = "2001:db8:1::5"
GREEN = (0, 255, 0)
RED = (255, 0, 0)
# A status tick every 1.5 s: a change shows within 3 s, the lamp within 5 s.
WITHIN = 3.0
LAMP_WITHIN = 5.0


def expect_lamp(desktop, lumeno, colour, after, timeout=LAMP_WITHIN):
    """The lamp, at the bottom left of the client area, turns colour."""
    def lamp():
        return desktop.pixel(lumeno.main_window, 8, desktop.geometry(lumeno.main_window).height - 8)

    lumeno.wait(f"the lamp to turn {colour} after {after}", lambda: lamp() == colour, timeout=timeout, detail=lamp)


def started(options_on):
    """The program started with the options, a session bus and a default route, or without."""
    folder = case_folder(f"connection_options_{'on' if options_on else 'off'}")
    network = Network()
    if options_on:
        network.route("add")
    network.add_ipv6(IPV6_ADDRESS, "2001:db8:1::1", route=options_on)
    desktop = Desktop(folder)
    bus = SessionBus(folder) if options_on else None
    options = {"followip": 1, "logoutages": 1} if options_on else {}
    lumeno = Lumeno(desktop, folder, settings_file(uselog=1, **options))
    lumeno.start(prefix=network.run_inside, env={"DBUS_SESSION_BUS_ADDRESS": bus.address} if bus else None)
    lumeno.wait_for_log("[Lumeno Loaded] ,")
    lumeno.expect_copy(INSIDE_ADDRESS)
    return network, desktop, lumeno, bus


def notices(bus):
    return [call["body"] for call in bus.calls("Notify")]


def address_change_and_outage_are_followed_and_logged():
    network, desktop, lumeno, bus = started(True)
    expect_lamp(desktop, lumeno, GREEN, "a start with a default route", timeout=10.0)
    step("the address changes")
    network.move_inside_address(NEW_ADDRESS)
    lumeno.wait_for_log(f"[Local IP Changed] : {NEW_ADDRESS} , Date : ", timeout=WITHIN)
    lumeno.expect_copy(NEW_ADDRESS)
    lumeno.expect_copy(IPV6_ADDRESS, ("Down", "Down", "Down"))  # File > Copy IPv6, the third item

    step("the default routes go for 5 s")
    network.route("delete", ipv6=True)
    outage_began = time.monotonic()
    lumeno.wait_for_log("[Went Offline] , Date : ", timeout=WITHIN)
    expect_lamp(desktop, lumeno, RED, "the default routes were deleted")
    lumeno.wait("the notice of the outage", lambda: "Connection lost" in notices(bus),
                detail=lambda: bus.calls("Notify"))
    for call in bus.calls("Notify"):
        expect(call["app_name"] == "Lumeno" and call["summary"] == "Lumeno" and
               call["app_icon"] == "io.github.lumeno.Lumeno" and
               call["hints"].get("desktop-entry") == ["String", "io.github.lumeno.Lumeno"] and
               call["hints"].get("urgency") == ["Byte", 1], f"a notification is not as it should be: {call}")
    time.sleep(max(0.0, outage_began + 5 - time.monotonic()))  # the outage itself, not a wait for an outcome
    network.route("add", ipv6=True)
    lumeno.wait_for_log("[Back Online] , Date : ", timeout=WITHIN)
    expect_lamp(desktop, lumeno, GREEN, "the default routes came back")
    heads = ("[Lumeno Loaded]", f"[Local IP Changed] : {NEW_ADDRESS}", "[Went Offline]")
    expected = "".join(re.escape(head) + LOG_STAMP for head in heads)
    expected += re.escape("[Back Online]") + LOG_STAMP.replace(r"\r\n", r" , Offline for : 00:00:0\d\r\n")
    expect(re.fullmatch(expected, lumeno.log_text()), f"log.txt is not as expected: {lumeno.log_text()!r}")
    lumeno.wait("the notice of the return", lambda: len(notices(bus)) == 3)
    expect(notices(bus)[0] == f"Local IP changed: {INSIDE_ADDRESS} \u2192 {NEW_ADDRESS}" and
           re.fullmatch(r"Connection restored after 00:00:0\d", notices(bus)[2]),
           f"the notices should tell the address change, the outage and the return: {notices(bus)}")

    step("the carrier goes and comes back; the link goes down for 5 s and comes back")
    for up, after in ((False, "the link lost its carrier"), (True, "the carrier came back")):
        network.carrier(up)
        expect_lamp(desktop, lumeno, GREEN if up else RED, after)
    logged_before = lumeno.log_text().count("[Back Online]")
    network.link(False)
    down_at = time.monotonic()
    expect_lamp(desktop, lumeno, RED, "the link was taken down")
    time.sleep(max(0.0, down_at + 5 - time.monotonic()))  # the outage itself lasts 5 s
    network.link(True)
    network.route("add")
    expect_lamp(desktop, lumeno, GREEN, "the link came up with its route")
    lumeno.wait("[Back Online] for the link's return", lambda: lumeno.log_text().count("[Back Online]") > logged_before,
                detail=lumeno.log_text)
    expect(lumeno.log_text().count("[Local IP Changed]") == 1,
           f"the link's return with its address is an outage, not a change of address: {lumeno.log_text()!r}")

    step("minimise to the StatusNotifierItem tray, then a left click on the item")
    desktop.xdotool("windowminimize", lumeno.main_window)
    item = lumeno.wait("the tray icon on the desktop's StatusNotifierItem host",
                       lambda: bus.calls("RegisterStatusNotifierItem"))[-1]["service"]
    lumeno.wait("the window to go to the tray", lambda: not desktop.viewable(lumeno.main_window))
    service, _, path = item.partition("/")
    bus.call(service, "/" + (path or "StatusNotifierItem"), "org.kde.StatusNotifierItem.Activate", "int32:0",
             "int32:0")
    lumeno.wait("the window back after the left click", lambda: desktop.viewable(lumeno.main_window))


def options_off_add_nothing():
    network, desktop, lumeno, _ = started(False)
    expect_lamp(desktop, lumeno, RED, "a start without a default route", timeout=10.0)
    network.route("add")
    expect_lamp(desktop, lumeno, GREEN, "the default route was added")
    network.move_inside_address(NEW_ADDRESS)
    network.route("delete")
    watched_until = time.monotonic() + WITHIN
    poll("the options-off watch to end", lambda: "Changed" not in lumeno.log_text() and
         "Offline" not in lumeno.log_text() and time.monotonic() >= watched_until, timeout=WITHIN + 2)
    network.route("add")
    desktop.put_on_clipboard("something else")
    lumeno.expect_copy(INSIDE_ADDRESS)  # with the options off the address shown stays
    lumeno.expect_log("[Lumeno Loaded]")


if __name__ == "__main__":
    main([address_change_and_outage_are_followed_and_logged, options_off_add_nothing])
