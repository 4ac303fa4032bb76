#!/usr/bin/env python3
"""The IP tools' ping of loopback: output shows while it runs, Stop ends it as Ctrl+C would (the
summary kept), a double-click on "Ping" runs one whole ping."""

import os
import re

from desktop import Desktop
from harness import case_folder, expect, main
from lumeno import Lumeno, settings_file

# Places in the client area below the menu bar, in pixels (the designed twips / 15).
CLIENT_HEIGHT = 322
HOST_BOX = (96, 180)
COUNT_BOX = (292, 180)
PING_BUTTON = (340, 180)
OUTPUT_BOX = (188, 80)

SUMMARY = re.compile(r"--- 127\.0\.0\.1 ping statistics ---\n(\d+) packets transmitted, (\d+) received")


class IpTools:
    def __init__(self, desktop, lumeno):
        self.desktop, self.lumeno = desktop, lumeno
        lumeno.open_file_menu()
        desktop.key("Right", "Up", "Down", "Return")  # Tools' last item, then round to the first
        self.window = lumeno.wait_for_window("IP Tools")

    def click(self, spot, repeat=1):
        menu_bar = self.desktop.geometry(self.window).height - CLIENT_HEIGHT
        self.desktop.click_in(self.window, spot[0], menu_bar + spot[1], repeat=repeat)

    def fill(self, box, text):
        self.click(box)  # a click selects the box's whole text, so typing replaces it
        self.desktop.type_text(text)

    def output(self):
        """As a user copies it: a click selects it all and pops up a menu, Escape, Ctrl+C."""
        self.click(OUTPUT_BOX)
        self.lumeno.wait("the output box's Options menu", lambda: self.desktop.windows(kind="menu"))
        self.desktop.key("Escape")
        self.lumeno.wait("the Options menu to close", lambda: not self.desktop.windows(kind="menu"))
        self.desktop.key("ctrl+c")
        return (self.desktop.clipboard() or "").replace("\u2029", "\n")


def running_pings(parent_pid):
    found = []
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                name, fields = stat.read().split(" (", 1)[1].rsplit(") ", 1)
        except OSError:
            continue
        state, parent = fields.split()[:2]
        if name == "ping" and state != "Z" and int(parent) == parent_pid:
            found.append(int(entry))
    return found


def ping_stop_keeps_the_summary_and_a_double_click_runs_one_whole_ping():
    folder = case_folder("ping")
    desktop = Desktop(folder)
    lumeno = Lumeno(desktop, folder, settings_file())
    lumeno.start()
    tools = IpTools(desktop, lumeno)
    tools.fill(HOST_BOX, "127.0.0.1")
    pid = lumeno.process.pid

    tools.fill(COUNT_BOX, "99")
    tools.click(PING_BUTTON)
    lumeno.wait("ping to start", lambda: running_pings(pid))

    def replies_while_running():
        text = tools.output()
        return text if "icmp_seq=3 " in text and running_pings(pid) else None

    shown = lumeno.wait("the third reply in the output box while ping still runs", replies_while_running,
                        detail=tools.output)
    expect(shown.startswith("PING 127.0.0.1 "), f"the output should start with ping's own first line: {shown!r}")

    tools.click(PING_BUTTON)
    lumeno.wait("ping to end after Stop", lambda: not running_pings(pid))
    stopped = lumeno.wait("the stopped ping's summary in the output box", lambda: SUMMARY.search(tools.output()),
                          detail=tools.output)
    sent = int(stopped.group(1))
    expect(3 <= sent < 99, f"the stopped ping sent {sent} requests")
    result = lumeno.read("ping.txt").decode()
    expect(SUMMARY.search(result) and result.startswith("PING 127.0.0.1 "),
           f"ping.txt should hold the stopped ping's output with its summary: {result!r}")

    # The second click of a double-click is not a Stop.
    tools.fill(COUNT_BOX, "3")
    tools.click(PING_BUTTON, repeat=2)

    def whole_run():
        content = (lumeno.read("ping.txt") or b"").decode()
        return content if "ping statistics" in content and not running_pings(pid) else None

    result = lumeno.wait("a finished ping in ping.txt", whole_run, detail=lambda: lumeno.read("ping.txt"))
    expect(result.count("ping statistics") == 1 and "3 packets transmitted, 3 received" in result,
           f"ping.txt should hold exactly one whole run of 3 replies: {result!r}")
    shown = tools.output()
    expect(shown == result, f"the output box should show ping.txt as it is: {shown!r}")
    expect(not running_pings(pid), "no second ping should have started")


if __name__ == "__main__":
    main([ping_stop_keeps_the_summary_and_a_double_click_runs_one_whole_ping])
