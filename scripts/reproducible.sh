#!/usr/bin/env bash
# Proves the package reproducible: makes the package of the last commit twice, from two copies of
# it in different folders, and compares the two .deb files byte for byte. Uses ccache when it is
# there, so the second build costs little: the objects do not depend on the folder (the package
# script maps it away), so a cached object is the one the compiler would make again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

commit=$(git rev-parse --short HEAD)  # taken once: new commits meanwhile change nothing here
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct "$commit")}
work=$(mktemp -d "${TMPDIR:-/tmp}/lumeno-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
debs=()
for copy in first second; do
  mkdir -p "$work/$copy"
  git archive --format=tar "$commit" | tar -x -C "$work/$copy"
  if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$work/$copy"
  fi
  debs+=("$("$work/$copy/scripts/package.sh" | tail -n 1)")
done
if ! cmp "${debs[0]}" "${debs[1]}"; then
  echo "The two packages of $commit differ (diffoscope shows where)." >&2
  mkdir -p "$root/build-package"
  cp "${debs[0]}" "$root/build-package/first.deb"
  cp "${debs[1]}" "$root/build-package/second.deb"
  exit 1
fi
echo "Two builds of $commit gave the same package: $(sha256sum "${debs[0]}" | cut -d' ' -f1)"
