#!/usr/bin/env bash
# Builds Lumeno with its tests and runs them all. `scripts/test.sh asan` does the same in the
# address- and undefined-behaviour-sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
