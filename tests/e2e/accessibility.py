"""The program as a screen reader meets it: an accessibility bus (AT-SPI) of the case's own, on a
private session bus, never the user's; the program's windows and controls with their roles,
names, states and places on the screen; and the checks a user of a screen reader, or of a
narrow screen, would make: every control is named, none is cut off by its window, none lies on
another."""

import os
import shutil
import subprocess
import tempfile
from dataclasses import dataclass

from harness import DEADLINE, at_end, poll, require_tools, spawn
from screen import Region

# The roles of things a user works: these need a name that says what they are.
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
    """A session bus and an accessibility bus for one case; the program started with env() on top
    of its own environment shows its accessibility tree there."""

    def __init__(self, desktop, folder, scale=1):
        require_tools("dbus-daemon", "dbus-send", _LAUNCHER)
        # Qt gives places in its own pixels, each the scale factor's number of the screen's.
        self.scale = scale
        # Socket paths are short-lived and must be short: a folder of their own under /tmp.
        self.runtime = tempfile.mkdtemp(prefix="lumeno-a11y-")
        at_end(lambda: shutil.rmtree(self.runtime, ignore_errors=True))
        self.address = f"unix:path={self.runtime}/bus"
        self._env = desktop.env({"XDG_RUNTIME_DIR": self.runtime, "DBUS_SESSION_BUS_ADDRESS": self.address})
        spawn(["dbus-daemon", "--session", "--nofork", f"--address={self.address}"], self._env,
              os.path.join(folder, "session-bus.log"))
        poll("the private session bus", lambda: os.path.exists(os.path.join(self.runtime, "bus")))
        spawn([_LAUNCHER, "--launch-immediately"], self._env, os.path.join(folder, "at-spi-bus-launcher.log"))
        self.a11y_address = poll("the accessibility bus", self._ask_address)
        os.environ.update({"DISPLAY": desktop.display, "DBUS_SESSION_BUS_ADDRESS": self.address,
                           "AT_SPI_BUS_ADDRESS": self.a11y_address})
        import pyatspi  # reads the buses above when first used
        self._pyatspi = pyatspi

    def _ask_address(self):
        result = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"], env=self._env, capture_output=True,
                                text=True, timeout=DEADLINE)
        return result.stdout.strip() if result.returncode == 0 else None

    def env(self):
        """What the program needs to show its tree on this bus, whatever its toolkit thinks of
        the desktop. It asks the session bus for the accessibility bus, as on a desktop (Qt
        given AT_SPI_BUS_ADDRESS never turns its side on)."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                "QT_ACCESSIBILITY": "1"}

    def windows(self, application_name):
        """The application's windows on the screen, each a tree of what shows in it; none while
        the application has not joined the bus."""
        desktop = self._pyatspi.Registry.getDesktop(0)
        applications = self._showing(desktop, lambda application: application.name.lower() == application_name)
        return [self._read(window) for application in applications for window in self._showing(application)]

    def _showing(self, accessible, test=None):
        """The children of the accessible that pass test; without test, those on the screen."""
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
    for node in window.walk():
        if node.role == role and (name is None or node.name.strip() == name):
            return node
    return None


def controls(window):
    """The controls of the window a user can reach: what a user works (buttons, boxes, menus,
    tabs) and anything that offers a tooltip to the pointer."""
    return [node for node in window.walk()
            if node is not window and (node.role in CONTROL_ROLES or node.description.strip())]


def unnamed(window):
    """Controls a screen reader cannot tell apart: no name, or a name that another control of
    the same kind the keyboard reaches in the window has too (two texts may well say the same)."""
    problems = []
    seen = {}
    for node in controls(window):
        name = node.name.strip()
        if not name:
            described = f" (tooltip {node.description!r})" if node.description else ""
            problems.append(f"{node.role} at {node.box.x},{node.box.y} has no name{described}")
            continue
        if "focusable" not in node.states:
            continue
        key = (node.role, name)
        if key in seen:
            problems.append(f"two controls are both named {name!r} ({node.role}): nothing tells them apart")
        seen[key] = node
    return problems


def misplaced(window, slack=1):
    """Controls cut off by the window or lying on each other by more than slack pixels (a
    shared border line is no overlap)."""
    problems = []
    placed = [node for node in controls(window) if node.box.width > 0 and node.box.height > 0]
    frame = window.box
    inner = Region(frame.x - slack, frame.y - slack, frame.width + 2 * slack, frame.height + 2 * slack)
    for node in placed:
        if not inner.contains(node.box, slack=0):
            problems.append(f"{node} is cut off by its window at {frame.x},{frame.y} {frame.width}x{frame.height}")
    for index, first in enumerate(placed):
        for second in placed[index + 1:]:
            one, other = first.box, second.box
            width = min(one.x + one.width, other.x + other.width) - max(one.x, other.x)
            height = min(one.y + one.height, other.y + other.height) - max(one.y, other.y)
            nested = any(node is second for node in first.walk()) or any(node is first for node in second.walk())
            if width > slack and height > slack and not nested:
                problems.append(f"{first} and {second} lie on each other")
    return problems
