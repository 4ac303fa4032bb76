#pragma once

namespace lumeno::platform {

// Keeps the desktop libraries from starting a D-Bus session bus of their own.
//
// Asked for the session bus where the session has none, libdbus (under Qt) and GDBus "autolaunch"
// one through dbus-launch whenever an X display is set, and that bus keeps running after the
// program has ended. Where there is no session bus -- no address in the environment and no socket
// at $XDG_RUNTIME_DIR/bus -- this sets the address to one that names no transport, so every ask
// fails at once and nothing is started. Programs the user starts from here inherit the same
// answer. Call it first thing in main(), before the application object or any thread exists.
void keepFromStartingASessionBus();

}  // namespace lumeno::platform
