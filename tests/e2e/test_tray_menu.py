#!/usr/bin/env python3
"""The tray icon and its menu as a user works them, the tray host lost and back, and a start
straight into the tray."""

from desktop import Desktop
from harness import case_folder, expect, main, steady, step, write_file
from lumeno import Lumeno, settings_file

EARLIER_COPY = "copied earlier by another program"


class TrayUser:
    def __init__(self, desktop, lumeno):
        self.desktop, self.lumeno, self.window = desktop, lumeno, lumeno.main_window

    def icon(self):
        icons = self.desktop.tray_icons()
        return icons[0] if len(icons) == 1 else None

    def minimise_to_tray(self):
        step("minimise the window to the tray")
        self.lumeno.minimise()
        return self.lumeno.wait("the icon to show in the tray", self.icon, detail=self.desktop.tray_icons)

    def click_icon(self, button, repeat=1, part="middle"):
        """part "top": the icon's upper edge, which its menu does not cover."""
        step(f"click the tray icon with button {button}" + (f", {repeat} times" if repeat > 1 else ""))
        _, x, y, width, height = self.lumeno.wait("the tray icon", self.icon)
        spot_y = y + 3 if part == "top" else y + height * 2 // 3
        self.desktop.click(x + width // 2, spot_y, button=button, repeat=repeat, delay_ms=60)

    def open_menu(self):
        """Right-clicks until the menu stays open for three looks: while the host takes the new icon
        in, a click can be lost or its menu closed again; a user clicks again too."""
        self.lumeno.open_menu("the tray menu to open", lambda: self.click_icon(3), again_after=2.0, looks=3)

    def choose(self, keys):
        self.open_menu()
        step(f"choose the menu item with {' '.join(keys)}")
        self.desktop.key(*keys, "Return")

    def place(self):
        return (geometry.x, geometry.y) if (geometry := self.desktop.geometry(self.window)) else None

    def move_to(self, x, y):
        step(f"move the window to {x},{y}")
        before = self.place()
        self.desktop.xdotool("windowmove", "--sync", self.window, str(x), str(y))
        return self.lumeno.wait("the window to settle at its new place",
                                steady(lambda: (place := self.place()) != before and place), detail=self.place)

    def expect_window_back(self, place=None):
        """The window comes back titled "Lumeno", at place give or take 3 pixels; the icon goes."""
        self.lumeno.wait("the window to come back and the icon to leave the tray",
                         lambda: self.desktop.viewable(self.window) and not self.desktop.tray_icons(),
                         detail=lambda: (self.desktop.geometry(self.window), self.desktop.tray_icons()))
        expect((title := self.desktop.title(self.window)) == "Lumeno", f"the restored window's title is {title!r}")
        if place:
            self.lumeno.wait(f"the restored window back at {place}", lambda: (now := self.place()) and abs(
                now[0] - place[0]) <= 3 and abs(now[1] - place[1]) <= 3, detail=self.place)


def tray_menu_host_gone_and_tray_at_start():
    folder = case_folder("tray_menu")
    desktop = Desktop(folder, tray=True)
    lumeno = Lumeno(desktop, folder, settings_file(uselog=1))
    lumeno.start()
    user = TrayUser(desktop, lumeno)

    lumeno.wait("the window to settle where it opened", lambda: user.place() and user.place()[1] > 0)
    place = user.move_to(255, 210)

    # Clicks on the icon while its menu is open are dropped; a right double-click does not end it.
    user.minimise_to_tray()
    for button, repeat in ((3, 1), (1, 1), (3, 2)):
        if repeat == 1:
            user.open_menu()
        user.click_icon(button, repeat, part="top")
        step("close any open menu")
        lumeno.wait("the tray menu to close", lambda: not desktop.windows(kind="menu") or desktop.key("Escape"))
    lumeno.check_alive("clicks on the tray icon")
    if desktop.viewable(user.window):
        step("the right double-click brought the window back")
        user.minimise_to_tray()

    # "Show Lumeno" brings the window back where the user left it.
    user.choose(["Down"])
    user.expect_window_back(place)

    place = user.move_to(155, 610)
    user.minimise_to_tray()
    user.click_icon(1, repeat=2)
    user.expect_window_back(place)

    desktop.put_on_clipboard(EARLIER_COPY)
    from_file_menu = lumeno.copy_from_file_menu()
    desktop.put_on_clipboard(EARLIER_COPY)
    user.minimise_to_tray()
    user.choose(["Up", "Up", "Up", "Up"])  # "Copy", above "Copy IPv6", "Connection history" and "Exit"
    lumeno.wait("the tray menu's Copy on the clipboard", lambda: desktop.clipboard() != EARLIER_COPY)
    expect(desktop.clipboard() == from_file_menu,
           f"tray Copy gave {desktop.clipboard()!r}, File > Copy gave {from_file_menu!r}")

    step("the tray host crashes: the window comes back by itself")
    desktop.crash_tray()
    lumeno.restored()

    step("a new tray host comes up; its menu's Exit ends the program at once, without a log line")
    desktop.start_tray()
    user.minimise_to_tray()
    user.choose(["Up"])
    lumeno.ended("tray Exit")
    lumeno.expect_log("[Lumeno Loaded]")

    step("started again, to the tray at start")
    write_file(lumeno.file("Lumeno.ini"), settings_file(trayatstartup=1))
    lumeno.start(shown=False)
    icon = lumeno.wait("the icon in the tray", user.icon, detail=desktop.tray_icons)
    shown = [w for w in desktop.windows() if desktop.geometry(w) and desktop.geometry(w).width > icon[3]]
    expect(not shown, f"no window should show at start, only the tray icon; shown: {shown}")

    # A restarted tray host may place the icon again once: wait until two reads in a row agree.
    lumeno.wait("the tray icon to stay put", steady(user.icon), detail=desktop.tray_icons)

    user.choose(["Down"])
    user.window = lumeno.wait_for_main_window()
    user.expect_window_back()


if __name__ == "__main__":
    main([tray_menu_host_gone_and_tray_at_start])
