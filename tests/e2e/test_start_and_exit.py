#!/usr/bin/env python3
"""Starting and ending the program as a user does, judged by the activity log's exact bytes, the
windows on the screen and the message boxes' texts."""

import os
import signal
import subprocess

from desktop import Desktop
from harness import DEADLINE, case_folder, describe_status, expect, main, spawn
from lumeno import Lumeno, settings_file


def wait_for_box(desktop, lumeno):
    """The message box that opens over the program, and its text as a user copies it: a
    triple-click selects the text, Ctrl+C copies it."""
    box = lumeno.wait("a message box", lambda: desktop.windows(kind="dialog"))[0]
    place = desktop.geometry(box)
    rows = iter(range(12, place.height // 2, 6))

    def copied():
        # The text sits at the top, right of any icon; try a few heights until one hits it.
        row = next(rows, None)
        if row is None:
            return None
        desktop.click_in(box, place.width * 6 // 10, row, repeat=3, delay_ms=50)
        desktop.key("ctrl+c")
        return desktop.clipboard()

    return box, lumeno.wait("the message box's text on the clipboard", copied)


def start(name, ini=settings_file(uselog=1)):
    """The program started on a desktop of the case's own; with settings, its window shown."""
    folder = case_folder(name)
    desktop = Desktop(folder)
    lumeno = Lumeno(desktop, folder, ini)
    lumeno.start()
    if ini is not None:
        lumeno.wait_for_main_window()
        lumeno.expect_log("[Lumeno Loaded]")
    return desktop, lumeno


def exit_from_file_menu(desktop, lumeno):
    """File > Exit (the last item); the question that opens and its text."""
    lumeno.open_file_menu()
    desktop.key("Up", "Return")
    return wait_for_box(desktop, lumeno)


def file_exit_no_keeps_running_yes_logs_exit():
    desktop, lumeno = start("file_exit")

    # No (Escape) leaves everything as it was.
    box, text = exit_from_file_menu(desktop, lumeno)
    expect(text == "Exit Lumeno?", f"the exit question reads {text!r}")
    expect(desktop.title(box) == "Lumeno", f"the question's title is {desktop.title(box)!r}")
    desktop.key("Escape")
    lumeno.wait("the question to close", lambda: not desktop.windows(kind="dialog"))
    expect(desktop.viewable(lumeno.main_window), "after No the window should still be on the screen")
    lumeno.expect_log("[Lumeno Loaded]")

    # Yes, the default answer, ends the program with its exit entry.
    exit_from_file_menu(desktop, lumeno)
    desktop.key("Return")
    lumeno.expect_clean_exit("File > Exit > Yes")
    lumeno.expect_log("[Lumeno Loaded]", "[Program Exit]")


def close_box_logs_nothing():
    desktop, lumeno = start("close_box")
    desktop.click_close_box(lumeno.main_window)
    lumeno.expect_clean_exit("the close box")
    lumeno.expect_log("[Lumeno Loaded]")


def second_copy_ends_by_itself():
    desktop, lumeno = start("second_copy")
    first_window = lumeno.main_window

    lumeno.expect_clean_exit("the second copy, by itself,", lumeno.start())
    lumeno.check_alive()
    expect(desktop.windows() == [first_window],
           f"one Lumeno window should stay, the first copy's {first_window}; there are {desktop.windows()}")
    # The second copy logged nothing, not even its start.
    lumeno.expect_log("[Lumeno Loaded]")


def missing_settings_file_shows_message_and_writes_nothing():
    desktop, lumeno = start("missing_settings", ini=None)
    box, text = wait_for_box(desktop, lumeno)
    expect(text == "Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno",
           f"the message reads {text!r}")
    expect(desktop.title(box) == "Lumeno", f"the message's title is {desktop.title(box)!r}")
    desktop.key("Return")

    status = lumeno.wait_for_exit()
    expect(status is not None and status >= 0,
           f"Lumeno should end by itself after the message; it ended: {describe_status(status)}")
    expect(desktop.windows() == [], f"no window should stay; there are {desktop.windows()}")
    expect(lumeno.folder_listing() == ["lumeno"],
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
    main({case.__name__: case for case in (file_exit_no_keeps_running_yes_logs_exit, close_box_logs_nothing,
                                           second_copy_ends_by_itself,
                                           missing_settings_file_shows_message_and_writes_nothing,
                                           command_line_needs_no_display)})
