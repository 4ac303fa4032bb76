"""A network of the case's own: two network namespaces joined by a veth link, one for the program
("inside") and one playing its gateway, so routes and links can change without touching the
machine's own network. The namespaces go when the case ends; any left by a case that was killed
outright are swept away by the next one."""

import os
import re
import shutil
import subprocess

from harness import DEADLINE, CaseFailed, Skipped, at_end

# Every namespace of this suite is named <prefix>-e2e-<pid of the case>-<role>; the prefix is the
# one all of the project's namespace tests share.
PREFIX = (os.environ.get("LUMENO_NETNS_PREFIX") or "lumeno-test") + "-e2e"
INSIDE_ADDRESS = "198.51.100.2"
GATEWAY_ADDRESS = "198.51.100.1"
PREFIX_LENGTH = 24


def _ip(*args, check=True):
    result = subprocess.run(["ip", *args], capture_output=True, text=True, timeout=DEADLINE)
    if check and result.returncode != 0:
        raise CaseFailed(f"ip {' '.join(args)} failed: {result.stderr.strip()}")
    return result


class Network:
    def __init__(self):
        if shutil.which("ip") is None:
            raise Skipped("the ip tool (iproute2) is not installed")
        listed = _ip("netns", "list", check=False).stdout
        for namespace, owner in re.findall(rf"^({re.escape(PREFIX)}-(\d+)-\w+)", listed, re.M):
            if not os.path.exists(f"/proc/{owner}"):  # left by a case that was killed outright
                _ip("netns", "delete", namespace, check=False)
        self.inside = f"{PREFIX}-{os.getpid()}-in"
        self.gateway = f"{PREFIX}-{os.getpid()}-gw"
        for namespace in (self.inside, self.gateway):
            made = _ip("netns", "add", namespace, check=False)
            if made.returncode != 0:
                raise Skipped(f"this machine cannot make a network namespace: {made.stderr.strip()}")
            at_end(lambda name=namespace: _ip("netns", "delete", name, check=False))
        linked = _ip("link", "add", "name", "v0", "netns", self.inside, "type", "veth", "peer", "name", "v1",
                     "netns", self.gateway, check=False)
        if linked.returncode != 0:
            raise Skipped(f"this machine cannot make a veth link: {linked.stderr.strip()}")
        _ip("-n", self.inside, "link", "set", "lo", "up")
        _ip("-n", self.inside, "addr", "add", f"{INSIDE_ADDRESS}/{PREFIX_LENGTH}", "dev", "v0")
        _ip("-n", self.gateway, "addr", "add", f"{GATEWAY_ADDRESS}/{PREFIX_LENGTH}", "dev", "v1")
        _ip("-n", self.gateway, "link", "set", "v1", "up")
        _ip("-n", self.inside, "link", "set", "v0", "up")
        # The command prefix that runs a program inside.
        self.run_inside = ["ip", "netns", "exec", self.inside]

    def route(self, action, ipv6=False):
        """Adds or deletes ("add", "delete") the default route inside, and with ipv6 the IPv6 one too."""
        for family, gateway in [("-4", GATEWAY_ADDRESS), ("-6", getattr(self, "ipv6_gateway", None))][:1 + ipv6]:
            _ip("-n", self.inside, family, "route", action, "default", "via", gateway)

    def carrier(self, up):
        """The cable is pulled, or put back: the far end goes down; the link, its address and routes stay."""
        _ip("-n", self.gateway, "link", "set", "v1", "up" if up else "down")

    def link(self, up):
        """The link is taken down inside, or up; the system drops its routes with it."""
        _ip("-n", self.inside, "link", "set", "v0", "up" if up else "down")

    def move_inside_address(self, new_address):
        """The inside address changes to another in the same subnet, the routes staying: the new
        one is added, then the old one taken away (the new one is promoted in its place)."""
        _ip("netns", "exec", self.inside, "sysctl", "-qw", "net.ipv4.conf.v0.promote_secondaries=1")
        _ip("-n", self.inside, "addr", "add", f"{new_address}/{PREFIX_LENGTH}", "dev", "v0")
        _ip("-n", self.inside, "addr", "delete", f"{INSIDE_ADDRESS}/{PREFIX_LENGTH}", "dev", "v0")

    def add_ipv6(self, inside_address, gateway_address, route=True):
        """A global IPv6 address on each end (no duplicate detection) and, with route, an IPv6
        default route."""
        _ip("-n", self.inside, "-6", "addr", "add", f"{inside_address}/64", "dev", "v0", "nodad")
        _ip("-n", self.gateway, "-6", "addr", "add", f"{gateway_address}/64", "dev", "v1", "nodad")
        self.ipv6_gateway = gateway_address
        if route:
            _ip("-n", self.inside, "-6", "route", "add", "default", "via", gateway_address)
