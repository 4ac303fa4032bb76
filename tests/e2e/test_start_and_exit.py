#!/usr/bin/env python3
"""Starting and ending the program, portable or installed with `cmake --install`, as a user does,
judged by the files, the log's bytes, the windows and the message boxes' texts."""

import os
import signal

from desktop import Desktop
from harness import case_folder, describe_status, expect, main, poll, run_command, spawn, step, write_file
from lumeno import Lumeno, settings_file

APP_ID = "io.github.lumeno.Lumeno"
LAYOUT = ["bin/lumeno", "share/lumeno/Lumeno.ini", "share/lumeno/help.html", f"share/applications/{APP_ID}.desktop",
          f"share/metainfo/{APP_ID}.metainfo.xml", "share/man/man1/lumeno.1.gz", "share/doc/lumeno/copyright",
          f"share/icons/hicolor/scalable/apps/{APP_ID}.svg"]
LAYOUT += [f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png" for size in (16, 32, 48, 128)]


def snapshot(folder):
    paths = [os.path.join(parent, name) for parent, _, names in os.walk(folder) for name in names]
    return {path: (status.st_size, status.st_mtime_ns, status.st_mode) for path, status in
            zip(paths, map(os.lstat, paths))}


def read(path):
    with open(path) as source:
        return source.read()


def close(lumeno):
    lumeno.desktop.click_close_box(lumeno.main_window)
    lumeno.ended("the close box")


def installed_copy_lays_the_gnu_layout_and_keeps_settings_and_log_in_the_home():
    folder = case_folder("install")
    prefix = os.path.join(folder, "prefix")
    run_command([os.environ["LUMENO_CMAKE"], "--install", os.environ["LUMENO_BUILD_DIR"], "--prefix", prefix],
                timeout=120)
    missing = [path for path in LAYOUT if not os.path.isfile(os.path.join(prefix, path))]
    expect(not missing, f"not installed: {missing}")
    expect(not os.path.exists(os.path.join(prefix, "bin", "Lumeno.ini")), "Lumeno.ini beside the installed program")

    program = os.path.join(prefix, "bin", "lumeno")
    lumeno = Lumeno(Desktop(folder), folder, installed=program)
    before = snapshot(prefix)
    settings = os.path.join(lumeno.home, ".config", "lumeno", "Lumeno.ini")
    log = os.path.join(lumeno.home, ".local", "state", "lumeno", "log.txt")

    # First start: the user's settings are made from the packaged default; docks match the window
    # to its desktop entry by its class.
    window = lumeno.start()
    entry = read(os.path.join(prefix, f"share/applications/{APP_ID}.desktop"))
    wm_class = entry.split("\nStartupWMClass=", 1)[1].split("\n", 1)[0]
    window_class = lumeno.desktop.run(["xprop", "-id", window, "WM_CLASS"]).strip()
    expect(window_class.endswith(f', "{wm_class}"'), f"the window's class {window_class!r} is not {wm_class!r}")
    expect(read(settings) == read(os.path.join(prefix, "share/lumeno/Lumeno.ini")),
           "the user's settings should start as the packaged ones")
    expect(os.path.isdir(os.path.dirname(log)), "no folder for the log in the user's state folder")
    close(lumeno)
    expect(not os.path.exists(log), "logging is off by default, yet log.txt was written")

    # Logging on: a start writes its line, the close box none; start at log-in names the program.
    text = read(settings)
    expect("uselog=0" in text and "autostartup=0" in text, f"the packaged settings are not as expected: {text!r}")
    write_file(settings, text.replace("uselog=0", "uselog=1").replace("autostartup=0", "autostartup=1"))
    lumeno.start()
    lumeno.wait("the start entry", lambda: os.path.exists(log))
    autostart = read(os.path.join(lumeno.home, ".config", "autostart", "Lumeno.desktop"))
    expect(f'\nExec="{program}"\n' in autostart and f"\nTryExec={program}\n" in autostart,
           f"the autostart entry should start {program}: {autostart!r}")
    close(lumeno)
    lumeno.expect_log("[Lumeno Loaded]", path=log)

    # The folders the session names take the settings and the log instead.
    config, state = os.path.join(lumeno.home, "xdg-config"), os.path.join(lumeno.home, "xdg-state")
    defaults = [os.path.dirname(settings), os.path.dirname(log)]
    untouched = [snapshot(folder) for folder in defaults]
    lumeno.start(env={"XDG_CONFIG_HOME": config, "XDG_STATE_HOME": state})
    expect(os.path.isfile(os.path.join(config, "lumeno", "Lumeno.ini")), "no Lumeno.ini in XDG_CONFIG_HOME")
    expect(os.path.isdir(os.path.join(state, "lumeno")), "no folder in XDG_STATE_HOME")
    close(lumeno)
    expect([snapshot(folder) for folder in defaults] == untouched, f"{defaults} written all the same")
    expect(snapshot(prefix) == before, "the program wrote under the prefix")


def expect_box(desktop, lumeno, message):
    """The message box is titled "Lumeno" and reads message, copied as a user copies it."""
    box = lumeno.wait("a message box", lambda: desktop.windows(kind="dialog"))[0]
    place = desktop.geometry(box)
    rows = iter(range(12, place.height // 2, 6))

    def copied():
        # A triple-click at the top, right of any icon, at heights until one hits the text.
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
    window = lumeno.start()
    lumeno.expect_log("[Lumeno Loaded]")

    step("a second copy starts and ends by itself, logging nothing")
    lumeno.start(shown=False)
    lumeno.ended("the second copy, by itself,", copy=-1)
    lumeno.check_alive()
    expect(desktop.windows() == [window], f"one Lumeno window should stay, {window}; there are {desktop.windows()}")

    step("minimise the window: with no tray it stays on the taskbar, captioned with the tray tip")
    tip = lumeno.minimise()
    expect("\r\nStatus : " in tip and "\r\nVersion : " in tip, f"the caption should be the three-line tip: {tip!r}")
    step("restore the window through the window manager")
    desktop.xdotool("windowactivate", window)
    lumeno.restored()

    step("File > Exit, No (Escape) leaves everything as it was")
    lumeno.choose_exit()
    expect_box(desktop, lumeno, "Exit Lumeno?")
    desktop.key("Escape")
    lumeno.wait("the question to close", lambda: not desktop.windows(kind="dialog"))
    expect(desktop.viewable(window), "after No the window should still be on the screen")

    step("the close box ends the program without a log line")
    close(lumeno)
    lumeno.expect_log("[Lumeno Loaded]")

    step("started again, File > Exit > Yes, the default answer, ends it with its exit entry")
    lumeno.start()
    lumeno.wait("the second start entry", lambda: lumeno.log_text().count("[Lumeno Loaded]") == 2)
    lumeno.choose_exit()
    expect_box(desktop, lumeno, "Exit Lumeno?")
    desktop.key("Return")
    lumeno.ended("File > Exit > Yes")
    lumeno.expect_log("[Lumeno Loaded]", "[Lumeno Loaded]", "[Program Exit]")
    log = lumeno.read("log.txt")

    step("started again without its settings file")
    os.remove(lumeno.file("Lumeno.ini"))
    lumeno.start(shown=False)
    expect_box(desktop, lumeno, "Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno")
    desktop.key("Return")
    status = poll("Lumeno to end", lambda: lumeno.process.poll() is not None) and lumeno.process.returncode
    expect(status >= 0, f"Lumeno should end by itself after the message; it ended: {describe_status(status)}")
    expect(desktop.windows() == [], f"no window should stay; there are {desktop.windows()}")
    expect(sorted(os.listdir(lumeno.folder)) == ["log.txt", "lumeno"] and lumeno.read("log.txt") == log,
           f"nothing should be written beside the program; its folder holds {sorted(os.listdir(lumeno.folder))}")


def command_line_needs_no_display():
    folder = case_folder("command_line")
    lumeno = Lumeno(None, folder, settings_file(uselog=1))
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY") and not key.startswith(("QT_", "XDG_", "DBUS_"))}
    env.update({"HOME": lumeno.home, "XDG_RUNTIME_DIR": lumeno.runtime, "LC_ALL": "C.UTF-8"})
    settings = lumeno.read("Lumeno.ini")

    def run(*args):
        return run_command([lumeno.exe, *args], env, check=False, cwd=folder)

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
    written = (sorted(os.listdir(lumeno.folder)), os.listdir(lumeno.runtime), os.listdir(lumeno.home))
    expect(written == (["Lumeno.ini", "lumeno"], [], []) and lumeno.read("Lumeno.ini") == settings,
           f"nothing should be written; the program's, runtime and home folders hold {written}")

    # Qt's own options reach Qt: on its offscreen platform the program needs no display.
    wrong = run("-platform", "offscreen", "--bogus")
    expect(wrong.returncode == 2 and "bogus" in wrong.stderr, f"an unknown option should be refused; gave {wrong}")
    lumeno.processes.append(spawn([lumeno.exe, "-platform", "offscreen", "-style", "Fusion"], env,
                                  os.path.join(folder, "offscreen.log"), cwd=folder))
    lumeno.wait("the start entry of the copy on the offscreen platform", lambda: lumeno.read("log.txt"))
    lumeno.process.send_signal(signal.SIGTERM)
    lumeno.ended("SIGTERM")
    lumeno.expect_log("[Lumeno Loaded]")


if __name__ == "__main__":
    main([one_copy_minimise_close_box_exit_and_missing_settings, command_line_needs_no_display,
          installed_copy_lays_the_gnu_layout_and_keeps_settings_and_log_in_the_home])
