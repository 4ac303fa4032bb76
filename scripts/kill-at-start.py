#!/usr/bin/env python3
"""Kills the real program at random moments while its start-up rewrites Lumeno.ini.

scripts/kill-at-start.py [kills] [program]   (defaults: 100, build/lumeno)

Each start begins from a Lumeno.ini whose five options read as on but are not stored as exactly
"1", so loading the options dialog rewrites all five, one after another. Each kill comes 0 to 8 ms
after the 0th to 4th rewrite is seen, so it lands inside later rewrites. After every kill the file
must be one of the six states the rewrites pass through, byte for byte. At the end one normal start
runs, with two planted leftovers beside the file; afterwards no temporary ".Lumeno.ini.XXXXXX" may
be left there. Runs on the
offscreen platform, in a folder of its own; prints the figures and fails on any damage or leftover.
"""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ORDER = [("Options", "alertifoffline"), ("Automation", "trayatstartup"), ("Options", "hostnameintext1.text"),
         ("Options", "uselog"), ("Automation", "autostartup")]
START = ("; Lumeno options\r\n[Options]\r\nalertifoffline= 1 \r\nhostnameintext1.text=\"1\"\r\nuselog=2\r\n\r\n"
         "[Automation]\r\ntrayatstartup=1.0\r\nautostartup= +1\r\n").encode()
TEMPORARY = re.compile(r"^\.Lumeno\.ini\.[A-Za-z0-9]{6}$")


def states():
    """The file after each of the five rewrites, in the order loading makes them."""
    text = START.decode()
    result = [text]
    for _, key in ORDER:
        text = re.sub(r"(?m)^(" + re.escape(key) + r"=)[^\r\n]*", r"\g<1>1", text, count=1)
        result.append(text)
    return [s.encode() for s in result]


def temporaries(folder):
    return [name for name in os.listdir(folder) if TEMPORARY.match(name)]


def start(folder, env):
    return subprocess.Popen([os.path.join(folder, "lumeno")], cwd=folder, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def kill_after(process, file, valid, rewrites):
    """Kills the copy a random few milliseconds after its `rewrites`-th rewrite has landed."""
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and process.poll() is None:
        with open(file, "rb") as f:
            now = f.read()
        if now in valid[rewrites:]:
            break
        time.sleep(0.0005)
    time.sleep(random.uniform(0.0, 0.008))
    process.send_signal(signal.SIGKILL)
    process.wait()


def main():
    kills = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    program = sys.argv[2] if len(sys.argv) > 2 else "build/lumeno"
    valid = states()
    work = tempfile.mkdtemp(prefix="lumeno-kill-")
    try:
        folder = os.path.join(work, "program")
        os.makedirs(folder)
        shutil.copy2(program, os.path.join(folder, "lumeno"))
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=os.path.join(work, "config"))
        seen = [0] * len(valid)
        leftovers = 0
        for kill in range(kills):
            runtime = os.path.join(work, "run%d" % kill)
            os.makedirs(runtime, mode=0o700)
            with open(os.path.join(folder, "Lumeno.ini"), "wb") as out:
                out.write(START)
            process = start(folder, dict(env, XDG_RUNTIME_DIR=runtime))
            kill_after(process, os.path.join(folder, "Lumeno.ini"), valid, kill % len(ORDER))
            with open(os.path.join(folder, "Lumeno.ini"), "rb") as f:
                now = f.read()
            if now not in valid:
                print("kill %d: Lumeno.ini damaged (%d bytes)" % (kill, len(now)))
                return 1
            seen[valid.index(now)] += 1
            leftovers += len(temporaries(folder))
        # One normal start: it runs until its rewrites are done, then is asked to end.
        runtime = os.path.join(work, "run-last")
        os.makedirs(runtime, mode=0o700)
        with open(os.path.join(folder, "Lumeno.ini"), "wb") as out:
            out.write(START)
        # What a kill between naming a temporary and renaming it would leave, one fresh, one old.
        for name, age in ((".Lumeno.ini.Fresh1", 0), (".Lumeno.ini.Old234", 3600)):
            with open(os.path.join(folder, name), "wb") as out:
                out.write(START)
            os.utime(os.path.join(folder, name), (time.time() - age, time.time() - age))
        process = start(folder, dict(env, XDG_RUNTIME_DIR=runtime))
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            with open(os.path.join(folder, "Lumeno.ini"), "rb") as f:
                if f.read() == valid[-1]:
                    break
            time.sleep(0.05)
        process.terminate()
        process.wait()
        left = temporaries(folder)
        print("%d kills during start-up: 0 damaged; files after each kill by rewrites done: %s" %
              (kills, " ".join("%d:%d" % (i, n) for i, n in enumerate(seen))))
        print("temporaries beside Lumeno.ini: %d seen after kills; 2 planted, %d left after one normal start" %
              (leftovers, len(left)))
        return 1 if left else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
