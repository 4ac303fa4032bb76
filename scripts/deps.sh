#!/usr/bin/env bash
# Installs the Debian packages Lumeno needs to build, test and run, when any is missing.
# As root it runs apt-get; otherwise it prints the exact apt-get line and stops.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config lld
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth openbox trayer xdotool xclip x11-utils imagemagick python3
  dbus-x11  # dbus-launch, as desktops have it: a test checks the program never starts a session bus
  iputils-ping traceroute net-tools iproute2 procps desktop-file-utils
  dbus-daemon dbus-bin python3-dbus python3-gi  # a test's own session bus with a notification server
  ccache  # scripts/reproducible.sh builds the package twice: the second time from the cache
  # What the screen cases read the windows with: OCR, a dark palette, the accessibility bus
  tesseract-ocr tesseract-ocr-eng qt6ct python3-pyatspi at-spi2-core dbus
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

line="apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Lumeno needs these Debian packages. Install them as root, then run this again:" >&2
  echo "  sudo apt-get update && sudo $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends ${missing[*]}
