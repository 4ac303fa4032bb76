#!/usr/bin/env python3
"""Starting and ending the program as a user does, judged by the activity log's exact bytes, the
windows on the screen and the message boxes' texts."""

import os
import signal
import subprocess

from desktop import Desktop
from harness import DEADLINE, case_folder, describe_status, expect, main, poll, spawn, step
from lumeno import Lumeno, settings_file


def expect_box(desktop, lumeno, message):
    """The message box that opens over the program is titled "Lumeno" and reads message, as a user
    copies its text: a triple-click selects it, Ctrl+C copies it."""
    box = lumeno.wait("a message box", lambda: desktop.windows(kind="dialog"))[0]
    place = desktop.geometry(box)
    rows = iter(range(12, place.height // 2, 6))

    def copied():
        # The text sits at the top, right of any icon; try a few heights until one hits it.
        row = next(rows, None)
        if row is not None:
            desktop.click_in(box, place.width * 6 // 10, row, repeat=3, delay_ms=50)
            desktop.key("ctrl+c")
            return desktop.clipboard()

    text = lumeno.wait("the message box's text on the clipboard", copied)
    expect(text == message, f"the message box reads {text!r}, not {message!r}")
    expect(desktop.title(box) == "Lumeno", f"the message box's title is {desktop.title(box)!r}")


def one_copy_minimise_close_box_exit_and_missing_settings():
    folder = case_folder("start_and_exit")
    desktop = Desktop(folder)
    lumeno = Lumeno(desktop, folder, settings_file(uselog=1))
    lumeno.start()
    window = lumeno.wait_for_main_window()
    lumeno.expect_log("[Lumeno Loaded]")

    step("a second copy starts and ends by itself, logging nothing")
    lumeno.expect_clean_exit("the second copy, by itself,", lumeno.start())
    lumeno.processes.pop()
    lumeno.check_alive()
    expect(desktop.windows() == [window], f"one Lumeno window should stay, {window}; there are {desktop.windows()}")

    # With no tray to go to, the window stays minimised on the taskbar, its caption the tray tip.
    step("minimise the window")
    desktop.xdotool("windowminimize", window)
    lumeno.wait("the window to leave the screen", lambda: not desktop.viewable(window))
    tip = lumeno.wait("the tray tip as the minimised window's caption",
                      lambda: (desktop.title(window) or "").startswith("IP : ") and desktop.title(window),
                      detail=lambda: desktop.title(window))
    expect("\r\nStatus : " in tip and "\r\nVersion : " in tip, f"the caption should be the three-line tip: {tip!r}")
    step("restore the window through the window manager")
    desktop.xdotool("windowactivate", window)
    lumeno.wait("the window to come back", lambda: desktop.viewable(window))
    lumeno.wait("the restored window's caption to be 'Lumeno'", lambda: desktop.title(window) == "Lumeno",
                detail=lambda: desktop.title(window))

    step("File > Exit, No (Escape) leaves everything as it was")
    lumeno.choose_exit()
    expect_box(desktop, lumeno, "Exit Lumeno?")
    desktop.key("Escape")
    lumeno.wait("the question to close", lambda: not desktop.windows(kind="dialog"))
    expect(desktop.viewable(window), "after No the window should still be on the screen")

    step("the close box ends the program without a log line")
    desktop.click_close_box(window)
    lumeno.ended("the close box")
    lumeno.expect_log("[Lumeno Loaded]")

    step("started again, File > Exit > Yes, the default answer, ends it with its exit entry")
    lumeno.start()
    lumeno.wait_for_main_window()
    lumeno.wait("the second start entry", lambda: lumeno.log_text().count("[Lumeno Loaded]") == 2)
    lumeno.choose_exit()
    expect_box(desktop, lumeno, "Exit Lumeno?")
    desktop.key("Return")
    lumeno.ended("File > Exit > Yes")
    lumeno.expect_log("[Lumeno Loaded]", "[Lumeno Loaded]", "[Program Exit]")
    log = lumeno.read("log.txt")

    step("started again without its settings file")
    os.remove(lumeno.file("Lumeno.ini"))
    lumeno.start()
    expect_box(desktop, lumeno, "Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno")
    desktop.key("Return")
    status = poll("Lumeno to end", lambda: lumeno.process.poll() is not None) and lumeno.process.returncode
    expect(status >= 0, f"Lumeno should end by itself after the message; it ended: {describe_status(status)}")
    expect(desktop.windows() == [], f"no window should stay; there are {desktop.windows()}")
    expect(lumeno.folder_listing() == ["log.txt", "lumeno"] and lumeno.read("log.txt") == log,
           f"nothing should be written beside the program; its folder holds {lumeno.folder_listing()}")


def command_line_needs_no_display():
    folder = case_folder("command_line")
    lumeno = Lumeno(None, folder, settings_file(uselog=1))
    # A terminal with no desktop: no display, no session bus.
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY") and not key.startswith(("QT_", "XDG_", "DBUS_"))}
    env.update({"HOME": lumeno.home, "XDG_RUNTIME_DIR": lumeno.runtime, "LC_ALL": "C.UTF-8"})
    settings = lumeno.read("Lumeno.ini")

    def run(*args):
        return subprocess.run([lumeno.exe, *args], env=env, capture_output=True, text=True, timeout=DEADLINE,
                              cwd=folder)

    version = run("--version")
    expected = f"Lumeno {os.environ['LUMENO_VERSION']}\n"
    expect((version.returncode, version.stdout) == (0, expected),
           f"--version should print {expected!r} with status 0; gave {version.returncode}, {version.stdout!r}")
    usage = run("--help")
    expect(usage.returncode == 0 and usage.stdout.startswith("Usage: lumeno [options]\n") and
           "--version" in usage.stdout, f"--help should print a usage with status 0; gave {usage}")
    plain = run()
    expect(1 <= plain.returncode <= 127 and plain.stdout == "" and plain.stderr.count("\n") == 1 and
           "display" in plain.stderr, f"a start without a display should say so in one line; gave {plain}")
    expect(lumeno.folder_listing() == ["Lumeno.ini", "lumeno"] and lumeno.read("Lumeno.ini") == settings and
           os.listdir(lumeno.runtime) == [] and os.listdir(lumeno.home) == [],
           f"nothing should be written; the program's folder holds {lumeno.folder_listing()}, the runtime folder "
           f"{os.listdir(lumeno.runtime)}, the home {os.listdir(lumeno.home)}")

    # Qt's own options still reach Qt: on its offscreen platform the program needs no display.
    wrong = run("-platform", "offscreen", "--bogus")
    expect(wrong.returncode == 2 and "bogus" in wrong.stderr, f"an unknown option should be refused; gave {wrong}")
    lumeno.processes.append(spawn([lumeno.exe, "-platform", "offscreen", "-style", "Fusion"], env,
                                  os.path.join(folder, "offscreen.log"), cwd=folder))
    lumeno.wait("the start entry of the copy on the offscreen platform", lambda: lumeno.read("log.txt"))
    lumeno.process.send_signal(signal.SIGTERM)
    lumeno.expect_clean_exit("SIGTERM")
    lumeno.expect_log("[Lumeno Loaded]")


if __name__ == "__main__":
    main({case.__name__: case for case in (one_copy_minimise_close_box_exit_and_missing_settings,
                                           command_line_needs_no_display)})
