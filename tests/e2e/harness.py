"""What every end-to-end case shares: polling with a deadline, processes ended with the case
(however it ends), clean-up steps, and the entry point that runs one named case for CTest."""

import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback

SKIP_CODE = 77  # CTest's SKIP_RETURN_CODE
DEADLINE = 10.0  # for what a user would see happen at once


class CaseFailed(AssertionError):
    pass


class Skipped(Exception):  # the machine cannot run the case; the message says why
    pass


def settle(probe, timeout, done=bool, interval=0.05):
    """probe()'s value once done with it, or its last after timeout seconds."""
    deadline = time.monotonic() + timeout
    while not done(value := probe()) and time.monotonic() < deadline:
        time.sleep(interval)
    return value


def poll(description, probe, timeout=DEADLINE, interval=0.05, detail=None):
    """probe()'s first true value; fails after timeout seconds, telling detail() as last seen."""
    if not (value := settle(probe, timeout, interval=interval)):
        raise CaseFailed(f"{description}: not within {timeout:g} s" + (f" (last seen: {detail()})" if detail else ""))
    return value


def steady(probe, looks=2):
    """A probe for poll(): probe()'s value once it is true and the same for looks looks in a row."""
    seen = []

    def agreed():
        seen.append(probe())
        return seen[-1] if seen[-1] and len(seen) >= looks and len(set(seen[-looks:])) == 1 else None

    return agreed


_started = time.monotonic()


def step(what):
    print(f"[{time.monotonic() - _started:5.1f} s] {what}", flush=True)


def expect(condition, message):
    if not condition:
        raise CaseFailed(message)


def describe_status(code):
    if code is None or code >= 0:
        return "still running" if code is None else f"exit status {code}"
    return f"killed by signal {-code} ({signal.strsignal(-code)})"


_cleanups = []
_failure_notes = []


def at_end(step):
    """Runs step when the case ends, passed or not, last registered first."""
    _cleanups.append(step)


def on_failure(step):
    """Runs step when the case fails, before the clean-up."""
    _failure_notes.append(step)


def _run_all(steps):
    while steps:
        try:
            steps.pop()()
        except Exception:  # one failed step must not keep the others from running
            traceback.print_exc()


_libc = ctypes.CDLL(None, use_errno=True)


def spawn(args, env, log_path, cwd=None, pass_fds=()):
    """Starts args in a process group of its own, output to log_path; stopped at the case's end.
    Should CTest kill the case outright, PR_SET_PDEATHSIG ends the process too."""
    with open(log_path, "ab") as log:
        process = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT, start_new_session=True, pass_fds=pass_fds,
                                   preexec_fn=lambda: _libc.prctl(1, signal.SIGKILL))
    at_end(lambda: stop(process))
    return process


def stop(process, grace=2.0):
    """Ends the process's whole group, politely first; the group goes even when its leader has ended."""
    for number in (signal.SIGTERM, signal.SIGKILL):
        if number == signal.SIGKILL or process.poll() is None:
            with contextlib.suppress(ProcessLookupError, PermissionError):
                os.killpg(process.pid, number)
            with contextlib.suppress(subprocess.TimeoutExpired):
                process.wait(timeout=grace)


def run_command(args, env=None, check=True, timeout=DEADLINE, cwd=None):
    """args run to their end, output kept; with check, a failure fails the case."""
    result = subprocess.run(args, env=env, cwd=cwd, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise CaseFailed(f"{' '.join(args)} failed: {result.stdout}{result.stderr}".strip())
    return result


def require_tools(*names):
    missing = [name for name in names if shutil.which(name) is None]
    expect(not missing, f"missing tools: {', '.join(missing)} (scripts/deps.sh installs them)")


def write_file(path, content):
    """content: bytes, or text written as UTF-8 with its line ends as they are."""
    with open(path, "wb") as out:
        out.write(content if isinstance(content, bytes) else content.encode())


def case_folder(name):
    """A fresh folder for one case, kept after the run so a failure can be looked at."""
    folder = os.path.join(os.environ.get("LUMENO_E2E_WORK") or os.path.join(os.getcwd(), "e2e-work"), name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def main(cases):
    """Runs the case named on the command line (cases: functions, or a dict by name)."""
    cases = cases if isinstance(cases, dict) else {case.__name__: case for case in cases}
    if len(sys.argv) != 2 or sys.argv[1] not in cases:
        sys.exit(f"usage: {sys.argv[0]} {{{'|'.join(sorted(cases))}}}")
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, lambda caught, _frame: sys.exit(128 + caught))
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
