#!/usr/bin/env python3
"""What Lumeno costs at rest, read from /proc while it runs under Xvfb with every timer running:
CPU share of one core, wake-ups per second of the main thread, resident memory, and the time from
start to a mapped window beside that of a bare Qt window (menu bar and line edit) started the
same way. Usage: idle_cost.py BUILD_DIR [DISPLAY] [SECONDS]"""
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
display = sys.argv[2] if len(sys.argv) > 2 else ":71"
seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 60.0
source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Xlib through ctypes: a MapNotify on the root window marks the moment a window is mapped.
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY = 1 << 19


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


def wait_for_display():
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if subprocess.run(["xdpyinfo", "-display", display], capture_output=True).returncode == 0:
            return
        time.sleep(0.1)
    sys.exit("Xvfb did not start on " + display)


def start_to_map(argv, cwd):
    """Seconds from starting the program to its first top-level window being mapped, and the process."""
    dpy = x11.XOpenDisplay(display.encode())
    x11.XSelectInput(dpy, x11.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY)
    x11.XPending(dpy)
    event = (ctypes.c_char * 192)()
    start = time.monotonic()
    process = subprocess.Popen(argv, cwd=cwd, env=dict(os.environ, DISPLAY=display),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped = None
    while time.monotonic() - start < 15 and mapped is None:
        while x11.XPending(dpy) and mapped is None:
            x11.XNextEvent(dpy, event)
            e = MapEvent.from_buffer(event)
            if e.type == MAP_NOTIFY and not e.override_redirect:
                mapped = time.monotonic() - start
        if mapped is None:
            time.sleep(0.001)
    x11.XCloseDisplay(ctypes.c_void_p(dpy))
    return mapped, process


def stop(process):
    process.terminate()
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def proc_figures(pid):
    # CPU time of every thread in nanoseconds (schedstat), finer than the 10 ms ticks of stat.
    cpu_ns = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                cpu_ns += int(f.read().split()[0])
        except OSError:
            pass  # a thread that just ended
    switches = 0
    rss_kb = 0
    with open(f"/proc/{pid}/task/{pid}/status") as f:
        for line in f:
            if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                switches += int(line.split()[1])
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS"):
                rss_kb = int(line.split()[1])
    return cpu_ns, switches, rss_kb


def main():
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    folder = tempfile.mkdtemp(prefix="lumeno-idle-")
    try:
        wait_for_display()
        shutil.copy(os.path.join(build, "lumeno"), folder)
        shutil.copy(os.path.join(source, "packaging", "Lumeno.ini"), folder)
        os.environ["XDG_RUNTIME_DIR"] = folder
        os.environ["XDG_CONFIG_HOME"] = folder
        bare = os.path.join(build, "bench", "bare_qt_window")

        # Start-up, five times each, alternating; the median of each.
        lumeno_times, bare_times = [], []
        for _ in range(5):
            for argv, times in (([bare], bare_times), ([os.path.join(folder, "lumeno")], lumeno_times)):
                mapped, process = start_to_map(argv, folder)
                stop(process)
                if mapped is None:
                    sys.exit(f"{argv[0]} mapped no window")
                times.append(mapped)
        lumeno_start, bare_start = statistics.median(lumeno_times), statistics.median(bare_times)

        # At rest: one run, settled for a few seconds, then read over `seconds`.
        mapped, process = start_to_map([os.path.join(folder, "lumeno")], folder)
        time.sleep(5)
        cpu0, switches0, _ = proc_figures(process.pid)
        t0 = time.monotonic()
        rss_peak = 0
        while time.monotonic() - t0 < seconds:
            time.sleep(1)
            rss_peak = max(rss_peak, proc_figures(process.pid)[2])
        cpu1, switches1, rss = proc_figures(process.pid)
        elapsed = time.monotonic() - t0
        stop(process)

        cpu_percent = 100.0 * (cpu1 - cpu0) / 1e9 / elapsed
        wakeups = (switches1 - switches0) / elapsed
        print(f"start to mapped window: Lumeno {lumeno_start * 1e3:.0f} ms, bare Qt window "
              f"{bare_start * 1e3:.0f} ms, ratio {lumeno_start / bare_start:.2f} (goal <= 1.5)")
        print(f"over {elapsed:.0f} s at rest: {cpu_percent:.3f} % of a core (goal < 0.05), "
              f"{wakeups:.2f} wake-ups/s of the main thread (goal <= 2.5)")
        print(f"resident memory: {rss / 1024:.1f} MB at the end, {rss_peak / 1024:.1f} MB at most (goal <= 38)")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


main()
