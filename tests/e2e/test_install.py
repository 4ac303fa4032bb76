#!/usr/bin/env python3
"""An installed copy, as a user meets it: `cmake --install` into a folder of the case's own, the
program started from there on a desktop, as a user whose home is a folder of the case's own."""

import os
import subprocess

from desktop import Desktop
from harness import case_folder, expect, main
from lumeno import Lumeno

APP_ID = "io.github.lumeno.Lumeno"
LAYOUT = ["bin/lumeno", "share/lumeno/Lumeno.ini", "share/lumeno/help.html", f"share/applications/{APP_ID}.desktop",
          f"share/metainfo/{APP_ID}.metainfo.xml", "share/man/man1/lumeno.1.gz", "share/doc/lumeno/copyright",
          f"share/icons/hicolor/scalable/apps/{APP_ID}.svg"]
LAYOUT += [f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png" for size in (16, 32, 48, 128)]


def snapshot(folder):
    """Every file under the folder with its size, modification time and mode."""
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
    done = subprocess.run([os.environ["LUMENO_CMAKE"], "--install", os.environ["LUMENO_BUILD_DIR"], "--prefix",
                           prefix], capture_output=True, text=True, timeout=120)
    expect(done.returncode == 0, f"cmake --install failed: {done.stdout}{done.stderr}")
    missing = [path for path in LAYOUT if not os.path.isfile(os.path.join(prefix, path))]
    expect(not missing, f"not installed: {missing}")
    # Nothing beside the program that would make an installed copy portable.
    expect(not os.path.exists(os.path.join(prefix, "bin", "Lumeno.ini")), "Lumeno.ini beside the installed program")

    program = os.path.join(prefix, "bin", "lumeno")
    lumeno = Lumeno(Desktop(folder), folder, installed=program)
    before = snapshot(prefix)
    settings = os.path.join(lumeno.home, ".config", "lumeno", "Lumeno.ini")
    log = os.path.join(lumeno.home, ".local", "state", "lumeno", "log.txt")

    # First start: the user's settings are made from the packaged default.
    lumeno.start()
    window = lumeno.wait_for_main_window()
    # Docks and task bars match the window to its desktop entry by the class of the window.
    entry = read(os.path.join(prefix, f"share/applications/{APP_ID}.desktop"))
    wm_class = entry.split("\nStartupWMClass=", 1)[1].split("\n", 1)[0]
    window_class = lumeno.desktop.run(["xprop", "-id", window, "WM_CLASS"]).strip()
    expect(window_class.endswith(f', "{wm_class}"'), f"the window's class {window_class!r} is not {wm_class!r}")
    expect(read(settings) == read(os.path.join(prefix, "share/lumeno/Lumeno.ini")),
           "the user's settings should start as the packaged ones")
    expect(os.path.isdir(os.path.dirname(log)), "no folder for the log in the user's state folder")
    close(lumeno)
    expect(not os.path.exists(log), "logging is off by default, yet log.txt was written")

    # With logging on, a start writes its line and closing the window writes none. Start at
    # log-in, on too, names the installed program itself.
    text = read(settings)
    expect("uselog=0" in text and "autostartup=0" in text, f"the packaged settings are not as expected: {text!r}")
    with open(settings, "w", newline="") as out:
        out.write(text.replace("uselog=0", "uselog=1").replace("autostartup=0", "autostartup=1"))
    lumeno.start()
    lumeno.wait_for_main_window()
    lumeno.wait("the start entry", lambda: os.path.exists(log))
    autostart = read(os.path.join(lumeno.home, ".config", "autostart", "Lumeno.desktop"))
    expect(f'\nExec="{program}"\n' in autostart and f"\nTryExec={program}\n" in autostart,
           f"the autostart entry should start {program}: {autostart!r}")
    close(lumeno)
    lumeno.expect_log("[Lumeno Loaded]", path=log)

    # File > Exit > Yes adds the exit line.
    lumeno.start()
    lumeno.wait_for_main_window()
    lumeno.wait("the second start entry", lambda: read(log).count("[Lumeno Loaded]") == 2)
    lumeno.choose_exit()
    lumeno.wait("the exit question", lambda: lumeno.desktop.windows(kind="dialog"))
    lumeno.desktop.key("Return")
    lumeno.ended("File > Exit > Yes")
    lumeno.expect_log("[Lumeno Loaded]", "[Lumeno Loaded]", "[Program Exit]", path=log)

    # The folders the session names take the settings and the log instead.
    config, state = os.path.join(lumeno.home, "xdg-config"), os.path.join(lumeno.home, "xdg-state")
    defaults = [os.path.dirname(settings), os.path.dirname(log)]
    untouched = [snapshot(folder) for folder in defaults]
    lumeno.start(env={"XDG_CONFIG_HOME": config, "XDG_STATE_HOME": state})
    lumeno.wait_for_main_window()
    expect(os.path.isfile(os.path.join(config, "lumeno", "Lumeno.ini")), "no Lumeno.ini in XDG_CONFIG_HOME")
    expect(os.path.isdir(os.path.join(state, "lumeno")), "no folder in XDG_STATE_HOME")
    close(lumeno)
    expect([snapshot(folder) for folder in defaults] == untouched, f"{defaults} written all the same")
    expect(snapshot(prefix) == before, "the program wrote under the prefix")


if __name__ == "__main__":
    main({"installed_copy_lays_the_gnu_layout_and_keeps_settings_and_log_in_the_home":
          installed_copy_lays_the_gnu_layout_and_keeps_settings_and_log_in_the_home})
