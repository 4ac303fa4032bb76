#!/usr/bin/env bash
# Builds Lumeno and starts it from the build tree (Lumeno.ini is laid beside the executable).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target lumeno
exec build/lumeno "$@"
