"""A network of the case's own: a namespace for the program ("inside") joined by a veth link to one
playing its gateway. Namespaces go at the case's end, or, left by a killed case, at the next one's start."""

import os
import re
import shutil

from harness import Skipped, at_end, run_command

# Named <prefix>-e2e-<pid of the case>-<role>; the prefix all the project's namespace tests share.
PREFIX = (os.environ.get("LUMENO_NETNS_PREFIX") or "lumeno-test") + "-e2e"
INSIDE_ADDRESS = "198.51.100.2"
GATEWAY_ADDRESS = "198.51.100.1"
PREFIX_LENGTH = 24


def _ip(*args, check=True):
    return run_command(["ip", *args], check=check)


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
        for namespace, device, address in ((self.gateway, "v1", GATEWAY_ADDRESS), (self.inside, "v0", INSIDE_ADDRESS)):
            _ip("-n", namespace, "addr", "add", f"{address}/{PREFIX_LENGTH}", "dev", device)
            _ip("-n", namespace, "link", "set", device, "up")
        self.run_inside = ["ip", "netns", "exec", self.inside]

    def route(self, action, ipv6=False):
        """Adds or deletes the default route inside, with ipv6 the IPv6 one too."""
        for family, gateway in [("-4", GATEWAY_ADDRESS), ("-6", getattr(self, "ipv6_gateway", None))][:1 + ipv6]:
            _ip("-n", self.inside, family, "route", action, "default", "via", gateway)

    def carrier(self, up):
        """The cable pulled or put back: the link, its address and routes stay."""
        _ip("-n", self.gateway, "link", "set", "v1", "up" if up else "down")

    def link(self, up):
        """The link down inside, or up; the system drops its routes with it."""
        _ip("-n", self.inside, "link", "set", "v0", "up" if up else "down")

    def move_inside_address(self, new_address):
        """Another address in the same subnet, routes staying: the new one is promoted as the old goes."""
        _ip("netns", "exec", self.inside, "sysctl", "-qw", "net.ipv4.conf.v0.promote_secondaries=1")
        _ip("-n", self.inside, "addr", "add", f"{new_address}/{PREFIX_LENGTH}", "dev", "v0")
        _ip("-n", self.inside, "addr", "delete", f"{INSIDE_ADDRESS}/{PREFIX_LENGTH}", "dev", "v0")

    def add_ipv6(self, inside_address, gateway_address, route=True):
        """A global IPv6 address on each end and, with route, an IPv6 default route."""
        _ip("-n", self.inside, "-6", "addr", "add", f"{inside_address}/64", "dev", "v0", "nodad")
        _ip("-n", self.gateway, "-6", "addr", "add", f"{gateway_address}/64", "dev", "v1", "nodad")
        self.ipv6_gateway = gateway_address
        if route:
            _ip("-n", self.inside, "-6", "route", "add", "default", "via", gateway_address)
