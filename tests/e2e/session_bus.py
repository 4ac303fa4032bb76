"""A session bus of the case's own, starting no services, with a notification server and a
StatusNotifierItem watcher and host that record each call as a JSON line (this file as a script)."""

import json
import os
import shutil
import sys

from harness import Skipped, poll, run_command, spawn, write_file

BUS_CONFIG = """<busconfig><type>session</type><listen>unix:path={socket}</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>"""


class SessionBus:
    def __init__(self, folder):
        if not shutil.which("dbus-daemon") or not shutil.which("dbus-send"):
            raise Skipped("dbus-daemon or dbus-send is not installed (Debian packages dbus-daemon, dbus-bin)")
        config = os.path.join(folder, "session-bus.conf")
        write_file(config, BUS_CONFIG.format(socket=os.path.join(folder, "session-bus")))
        self.address = f"unix:path={os.path.join(folder, 'session-bus')}"
        self.record = os.path.join(folder, "session-bus-calls.jsonl")
        spawn(["dbus-daemon", "--nofork", "--nopidfile", f"--config-file={config}"], os.environ.copy(),
              os.path.join(folder, "dbus-daemon.log"))
        poll("the session bus to come up", lambda: os.path.exists(os.path.join(folder, "session-bus")))
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.address)
        spawn([sys.executable, os.path.abspath(__file__), self.record], env,
              os.path.join(folder, "desktop-services.log"))
        poll("the desktop's services to come up", lambda: self.calls("Ready"))

    def calls(self, name):
        try:
            with open(self.record) as source:
                return [call for call in map(json.loads, source) if call["call"] == name]
        except FileNotFoundError:
            return []

    def call(self, destination, path, method, *args):
        run_command(["dbus-send", f"--bus={self.address}", f"--dest={destination}", "--type=method_call",
                     "--print-reply", path, method, *args])


def _serve(record):
    import dbus
    import dbus.service
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    def write(entry):
        with open(record, "a") as out:
            out.write(json.dumps(entry) + "\n")

    def plain(value):  # with its D-Bus type, which matters (a byte is no int32)
        return [type(value).__name__, value if isinstance(value, (int, float)) else str(value)]

    notifications, watcher = "org.freedesktop.Notifications", "org.kde.StatusNotifierWatcher"

    class Notifications(dbus.service.Object):
        count = 0

        @dbus.service.method(notifications, in_signature="susssasa{sv}i", out_signature="u")
        def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
            write({"call": "Notify", "app_name": str(app_name), "app_icon": str(app_icon), "summary": str(summary),
                   "body": str(body), "hints": {str(k): plain(v) for k, v in hints.items()}})
            Notifications.count += 1
            return Notifications.count

    class Watcher(dbus.service.Object):
        # Qt reads the properties through introspection, which dbus-python does not give for them.
        items = []

        @dbus.service.method(watcher, in_signature="s", sender_keyword="sender")
        def RegisterStatusNotifierItem(self, service, sender=None):
            item = service if not service.startswith("/") else f"{sender}{service}"
            Watcher.items.append(item)
            write({"call": "RegisterStatusNotifierItem", "service": str(item)})

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
        def Get(self, interface, name):
            return self.GetAll(interface)[name]

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
        def GetAll(self, interface):
            return {"IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0),
                    "RegisteredStatusNotifierItems": dbus.Array(Watcher.items, signature="s")}

        @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
        def Introspect(self):
            return f"""<node><interface name="{watcher}">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
</interface></node>"""

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    names = [dbus.service.BusName(notifications, bus), dbus.service.BusName(watcher, bus)]
    services = [Notifications(bus, "/org/freedesktop/Notifications"), Watcher(bus, "/StatusNotifierWatcher")]
    write({"call": "Ready"})
    GLib.MainLoop().run()
    return names, services


if __name__ == "__main__":
    _serve(sys.argv[1])
