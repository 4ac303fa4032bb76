#!/bin/sh
# Lumeno's cost at rest under Xvfb: CPU, main-thread wake-ups, memory, start-up against a bare
# Qt window. Usage: bench/idle_cost.sh [BUILD_DIR] [DISPLAY] [SECONDS]
# Needs the targets lumeno and bare_qt_window built.
exec python3 "$(dirname "$0")/idle_cost.py" "${1:-build}" "${2:-:71}" "${3:-60}"
