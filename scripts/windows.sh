#!/usr/bin/env bash
# Builds Lumeno for Windows with mingw-w64 and runs its tests under Wine, Lumeno.exe itself on a
# desktop of its own (Xvfb, openbox, trayer) among them; prints the path of Lumeno.exe as its last
# line. Installs the cross compiler, Wine, GoogleTest's sources, the desktop and OCR first when they
# are missing (as root with apt-get; otherwise it prints the apt-get line and stops).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest xvfb openbox trayer xdotool x11-utils
  xclip python3 imagemagick tesseract-ocr tesseract-ocr-eng fonts-dejavu-core)
missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  line="apt-get install -y --no-install-recommends ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "The Windows build needs these Debian packages. Install them as root, then run this again:" >&2
    echo "  sudo apt-get update && sudo $line" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends ${missing[*]}
fi

cmake --preset windows >/dev/null
cmake --build --preset windows
# Wine makes its prefix on first use; do it once here rather than inside the first test.
export WINEDEBUG=-all WINEPREFIX="$PWD/build-windows/wineprefix"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$wine" wineboot -i >/dev/null 2>&1 || true
# The windows' tests draw nowhere (Wine's null display driver). A server still running from the
# boot above keeps the desktop it made without it, where every window has no size: let it end.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
"$wineserver" -w || true
# One server for the whole run, kept up by a program that waits unseen: a server that ends when
# it is idle for a moment races the next test's start, which then dies with "recvmsg: Connection
# reset by peer". Its standard streams go nowhere, so Wine's own services, which it starts, hold
# none of the tests' pipes open.
"$wine" notepad.exe </dev/null >/dev/null 2>&1 &
for _ in $(seq 120); do pgrep -u "$(id -u)" -f 'notepad\.exe' >/dev/null && break; sleep 0.5; done
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true  # returns once the server and its services run
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
ctest --preset windows
if [[ -f build-windows/Lumeno.exe ]]; then
  echo "$PWD/build-windows/Lumeno.exe"
fi
