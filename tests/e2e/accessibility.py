"""The program as a screen reader meets it, on an AT-SPI bus of the case's own: its windows'
controls with roles, names, states and places; each must be named, whole and on no other."""

import os
import shutil
import tempfile
from dataclasses import dataclass

from harness import at_end, poll, require_tools, run_command, spawn
from screen import Region

# What a user works, needing a name that says what it is.
CONTROL_ROLES = {"push button", "toggle button", "check box", "radio button", "text", "entry", "password text",
                 "spin button", "combo box", "slider", "page tab", "menu", "menu item", "check menu item",
                 "radio menu item", "link", "list", "table", "tree", "tree table", "list box"}
_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"  # at-spi2-core's


@dataclass
class Node:
    role: str
    name: str
    description: str
    states: set
    box: Region
    children: list

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()

    def __str__(self):
        return f"{self.role} {self.name!r} at {self.box.x},{self.box.y} {self.box.width}x{self.box.height}"


class AccessibilityBus:
    def __init__(self, desktop, folder, scale=1):
        require_tools("dbus-daemon", "dbus-send", _LAUNCHER)
        self.scale = scale  # Qt gives places in its own pixels, scale screen pixels each
        # Socket paths must be short: a folder under /tmp.
        self.runtime = tempfile.mkdtemp(prefix="lumeno-a11y-")
        at_end(lambda: shutil.rmtree(self.runtime, ignore_errors=True))
        self.address = f"unix:path={self.runtime}/bus"
        env = desktop.env({"XDG_RUNTIME_DIR": self.runtime, "DBUS_SESSION_BUS_ADDRESS": self.address})
        spawn(["dbus-daemon", "--session", "--nofork", f"--address={self.address}"], env,
              os.path.join(folder, "session-bus.log"))
        poll("the private session bus", lambda: os.path.exists(os.path.join(self.runtime, "bus")))
        spawn([_LAUNCHER, "--launch-immediately"], env, os.path.join(folder, "at-spi-bus-launcher.log"))
        ask = ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus", "/org/a11y/bus",
               "org.a11y.Bus.GetAddress"]
        os.environ.update({"DISPLAY": desktop.display, "DBUS_SESSION_BUS_ADDRESS": self.address,
                           "AT_SPI_BUS_ADDRESS": poll("the accessibility bus",
                                                      lambda: run_command(ask, env, check=False).stdout.strip())})
        import pyatspi  # reads the buses above when first used
        self._pyatspi = pyatspi

    def env(self):
        """The program's environment for this bus: it asks the session bus for the accessibility
        bus, as on a desktop (given AT_SPI_BUS_ADDRESS, Qt never turns its side on)."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                "QT_ACCESSIBILITY": "1"}

    def windows(self, application_name):
        """The application's shown windows, each a tree of what shows in it."""
        desktop = self._pyatspi.Registry.getDesktop(0)
        applications = self._showing(desktop, lambda application: application.name.lower() == application_name)
        return [self._read(window) for application in applications for window in self._showing(application)]

    def _showing(self, accessible, test=None):
        children = (accessible.getChildAtIndex(index) for index in range(accessible.childCount))
        return [child for child in children if child is not None and (
            test(child) if test else self._pyatspi.STATE_SHOWING in child.getState().getStates())]

    def _read(self, accessible):
        states = {self._pyatspi.stateToString(state) for state in accessible.getState().getStates()}
        try:
            extents = accessible.queryComponent().getExtents(self._pyatspi.DESKTOP_COORDS)
        except NotImplementedError:
            extents = (0, 0, 0, 0)
        return Node(accessible.getRoleName(), accessible.name or "", accessible.description or "", states,
                    Region(*(value * self.scale for value in extents)), [*map(self._read, self._showing(accessible))])


def find(window, role, name=None):
    return next((node for node in window.walk() if node.role == role and name in (None, node.name.strip())), None)


def controls(window):
    """What a user works in the window, and anything offering a tooltip."""
    return [node for node in window.walk()
            if node is not window and (node.role in CONTROL_ROLES or node.description.strip())]


def unnamed(window):
    """Controls a screen reader cannot tell apart: no name, or the name of another focusable
    control of the same kind (two texts may well say the same)."""
    problems, seen = [], set()
    for node in controls(window):
        name = node.name.strip()
        if not name:
            problems.append(f"{node} has no name (tooltip {node.description!r})")
        elif "focusable" in node.states and (node.role, name) in seen:
            problems.append(f"two controls are both named {name!r} ({node.role}): nothing tells them apart")
        elif "focusable" in node.states:
            seen.add((node.role, name))
    return problems


def misplaced(window, slack=1):
    """Controls cut off by the window or on each other by more than slack pixels."""
    placed = [node for node in controls(window) if node.box.width > 0 and node.box.height > 0]
    problems = [f"{node} is cut off by {window}" for node in placed if not window.box.contains(node.box, slack)]
    for index, first in enumerate(placed):
        for second in placed[index + 1:]:
            one, other = first.box, second.box
            width = min(one.x + one.width, other.x + other.width) - max(one.x, other.x)
            height = min(one.y + one.height, other.y + other.height) - max(one.y, other.y)
            nested = any(node is second for node in first.walk()) or any(node is first for node in second.walk())
            if width > slack and height > slack and not nested:
                problems.append(f"{first} and {second} lie on each other")
    return problems
