#!/usr/bin/env python3
"""Opening the log monitor on a 50 MB log must not hold up the main window: under Xvfb, with
logging on, "log monitor" is chosen from the Tools menu, and for the next 8 s the main window's
File menu is opened and closed again and again; each time from the click to the menu's window
being mapped is measured. Resident memory is read from /proc before and during.
Usage: log_monitor_open.py BUILD_DIR [DISPLAY]"""
import ctypes
import os
import shutil
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
display = sys.argv[2] if len(sys.argv) > 2 else ":70"
env = dict(os.environ, DISPLAY=display)

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst = ctypes.CDLL("libXtst.so.6")
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
MAP_NOTIFY, UNMAP_NOTIFY = 19, 18


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Screen:
    def __init__(self):
        self.dpy = x11.XOpenDisplay(display.encode())
        x11.XSelectInput(self.dpy, x11.XDefaultRootWindow(self.dpy), 1 << 19)
        self.buffer = (ctypes.c_char * 192)()

    def wait(self, kind, override, deadline):
        """Seconds until a window of this kind (override-redirect or not) is mapped or unmapped."""
        start = time.monotonic()
        while time.monotonic() - start < deadline:
            while x11.XPending(self.dpy):
                x11.XNextEvent(self.dpy, self.buffer)
                e = MapEvent.from_buffer(self.buffer)
                if e.type == kind and (kind == UNMAP_NOTIFY or bool(e.override_redirect) == override):
                    return time.monotonic() - start
            time.sleep(0.0005)
        return None

    def click(self, x, y):
        xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        xtst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        xtst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        x11.XFlush(self.dpy)

    def drain(self):
        while x11.XPending(self.dpy):
            x11.XNextEvent(self.dpy, self.buffer)


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS"):
                return int(line.split()[1]) / 1024
    return 0.0


def main():
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    folder = tempfile.mkdtemp(prefix="lumeno-logopen-")
    process = None
    try:
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0:
                break
            time.sleep(0.1)
        shutil.copy(os.path.join(build, "lumeno"), folder)
        with open(os.path.join(folder, "Lumeno.ini"), "w") as f:
            f.write("[Options]\nalertifoffline=0\nhostnameintext1.text=0\nuselog=1\n\n"
                    "[Automation]\ntrayatstartup=0\nautostartup=0\n")
        line = "[Refreshed Local IP] : 192.168.1.23 , Date : 05/12/2026 , Time : 11:26:06\r\n"
        with open(os.path.join(folder, "log.txt"), "w", newline="") as f:
            f.write(line * (50 * 1024 * 1024 // len(line)))
        os.environ["XDG_RUNTIME_DIR"] = folder
        screen = Screen()
        process = subprocess.Popen([os.path.join(folder, "lumeno")], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if screen.wait(MAP_NOTIFY, False, 15) is None:
            sys.exit("the main window was not mapped")
        time.sleep(2)
        window = subprocess.run(["xdotool", "search", "--pid", str(process.pid), "--name", "^Lumeno$"],
                                env=env, capture_output=True, text=True).stdout.split()[0]
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=env,
                                  capture_output=True, text=True).stdout
        g = dict(kv.split("=") for kv in geometry.split())
        x, y = int(g["X"]), int(g["Y"])
        screen.drain()

        # Idle: the File menu opened a few times.
        def open_file_menu():
            screen.click(x + 12, y + 8)
            latency = screen.wait(MAP_NOTIFY, True, 5)
            screen.click(x + 12, y + 8)  # a second click on the title closes it
            screen.wait(UNMAP_NOTIFY, True, 5)
            time.sleep(0.02)
            return latency
        idle = [open_file_menu() for _ in range(5)]
        before = rss_mb(process.pid)

        # Tools, then its last item, "log monitor", from the keyboard.
        screen.click(x + 45, y + 8)
        if screen.wait(MAP_NOTIFY, True, 5) is None:
            sys.exit("the Tools menu did not open")
        subprocess.run(["xdotool", "key", "Up", "Return"], env=env)
        opened = time.monotonic()
        if screen.wait(MAP_NOTIFY, False, 5) is None:
            sys.exit("the log monitor was not mapped")
        latencies, peak = [], before
        while time.monotonic() - opened < 8:
            latencies.append(open_file_menu())
            peak = max(peak, rss_mb(process.pid))
        if any(l is None for l in latencies + idle):
            sys.exit("a menu did not open within 5 s")
        print(f"File menu, idle: {max(idle) * 1e3:.0f} ms at most over {len(idle)} openings")
        print(f"File menu in the 8 s after opening the log monitor on a 50 MB log: "
              f"{max(latencies) * 1e3:.0f} ms at most, median {sorted(latencies)[len(latencies) // 2] * 1e3:.0f} ms "
              f"over {len(latencies)} openings (goal: each <= 250 ms)")
        print(f"resident memory: {before:.1f} MB before, {peak:.1f} MB at most after, "
              f"growth {peak - before:.1f} MB (goal <= 60)")
    finally:
        if process:
            process.kill()
            process.wait()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


main()
