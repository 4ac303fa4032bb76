#!/usr/bin/env bash
# Fuzzes the settings file's text rules for a while: scripts/fuzz.sh [seconds] (default 60).
# Builds tests/fuzz with clang, libFuzzer and the address and undefined-behaviour sanitizers into
# build-fuzz/, then runs from the committed seed corpus. Fails on a crash, a sanitizer report or a
# broken property; the input that broke it is left in build-fuzz/ as crash-*.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is missing; scripts/deps.sh installs it (clang, libclang-rt-14-dev)" >&2
  exit 1
fi

cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

# New inputs the fuzzer finds go to the first folder; the committed seeds stay as they are.
mkdir -p "$build/corpus"
cd "$build"
./profile_text_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  "$build/corpus" "$root/tests/fuzz/corpus"
