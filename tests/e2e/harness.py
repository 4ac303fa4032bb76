"""What every end-to-end case shares: waiting for an outcome with a deadline, the processes a
case starts (each in a process group of its own, ended when the case ends, however it ends),
clean-up steps, and the entry point that runs one named case and reports it to CTest."""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback

# CTest reads this exit status as "skipped" (SKIP_RETURN_CODE).
SKIP_CODE = 77
# How long a case waits for something a user would see happen at once.
DEADLINE = 10.0


class CaseFailed(AssertionError):
    """What the user would have seen is not what the program should show."""


class Skipped(Exception):
    """The machine cannot run this case; the message says why."""


def poll(description, probe, timeout=DEADLINE, interval=0.05, detail=None):
    """Calls probe until it returns something true and returns that; fails after timeout seconds,
    telling detail(), when given, as the state last seen."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() >= deadline:
            seen = f" (last seen: {detail()})" if detail else ""
            raise CaseFailed(f"{description}: not within {timeout:g} s{seen}")
        time.sleep(interval)
    return value


_started = time.monotonic()


def step(what):
    print(f"[{time.monotonic() - _started:5.1f} s] {what}", flush=True)


def expect(condition, message):
    if not condition:
        raise CaseFailed(message)


def describe_status(returncode):
    if returncode is None or returncode >= 0:
        return "still running" if returncode is None else f"exit status {returncode}"
    try:
        return f"killed by {signal.Signals(-returncode).name}"
    except ValueError:
        return f"killed by signal {-returncode}"


_cleanups = []
_failure_notes = []


def at_end(step):
    """Runs step when the case ends, last registered first, whether the case passed or not."""
    _cleanups.append(step)


def on_failure(step):
    """Runs step when the case fails, before the clean-up: to keep what the user would have seen."""
    _failure_notes.append(step)


def _run_all(steps):
    while steps:
        try:
            steps.pop()()
        except Exception:  # one failed step must not keep the others from running
            traceback.print_exc()


_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_case():
    # Should CTest kill the case outright, its children do not outlive it (PR_SET_PDEATHSIG).
    _libc.prctl(1, signal.SIGKILL)


def spawn(args, env, log_path, cwd=None, pass_fds=()):
    """Starts args in a process group of its own, output to log_path; stopped at the case's end."""
    with open(log_path, "ab") as log:
        process = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT, start_new_session=True, preexec_fn=_die_with_case,
                                   pass_fds=pass_fds)
    at_end(lambda: stop(process))
    return process


def stop(process, grace=2.0):
    """Ends the process and everything in its group: politely first, then for good; whatever
    else the group started goes too, even when its leader has ended."""
    for number in (signal.SIGTERM, signal.SIGKILL):
        if number == signal.SIGTERM and process.poll() is not None:
            continue
        try:
            os.killpg(process.pid, number)
        except (ProcessLookupError, PermissionError):
            pass
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            if number == signal.SIGKILL:
                print(f"process {process.pid} did not end", file=sys.stderr)


def require_tools(*names):
    missing = [name for name in names if shutil.which(name) is None]
    expect(not missing, f"missing tools: {', '.join(missing)} (scripts/deps.sh installs them)")


def case_folder(name):
    """A fresh, empty folder for one case; kept after the run so a failure can be looked at."""
    root = os.environ.get("LUMENO_E2E_WORK") or os.path.join(os.getcwd(), "e2e-work")
    folder = os.path.join(root, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def _end_on_signal(number, _frame):
    raise SystemExit(128 + number)


def main(cases):
    """Runs the case named on the command line: 0 passed, 1 failed, SKIP_CODE skipped."""
    if len(sys.argv) != 2 or sys.argv[1] not in cases:
        sys.exit(f"usage: {sys.argv[0]} {{{'|'.join(sorted(cases))}}}")
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, _end_on_signal)
    name, code, started = sys.argv[1], 1, time.monotonic()
    try:
        cases[name]()
        code = 0
        print(f"PASSED {name}")
    except Skipped as reason:
        code = SKIP_CODE
        print(f"SKIPPED {name}: {reason}")
    except CaseFailed as failure:
        print(f"FAILED {name}: {failure}")
    except Exception:
        traceback.print_exc()
        print(f"FAILED {name}: error in the case itself")
    finally:
        if code == 1:
            _run_all(_failure_notes)
        _run_all(_cleanups)
    print(f"({time.monotonic() - started:.1f} s)", flush=True)
    sys.exit(code)
