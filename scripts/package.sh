#!/usr/bin/env bash
# Builds a release Lumeno without tests in build-package/ and makes a Debian package of it with
# CPack; checks it with lintian when lintian is there. The last line printed is the .deb's path.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/deps.sh
# CPack's dependency search needs dpkg-shlibdeps (dpkg-dev); fakeroot and lintian check the result.
needed=()
for package in dpkg-dev fakeroot file lintian; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || needed+=("$package")
done
if [[ ${#needed[@]} -gt 0 ]]; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Packaging needs: sudo apt-get install -y --no-install-recommends ${needed[*]}" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${needed[@]}" >&2
fi

build="$root/build-package"
# Two builds of one commit give the same bytes: every time stamp (the files in the package, Qt's
# resources) is the last commit's, and no path of this checkout is compiled in.
if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || stat -c %Y "$root/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH
# Debian's hardening flags (stack protector, fortified functions, full RELRO and immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS) -ffile-prefix-map=$root=."
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DLUMENO_BUILD_TESTS=OFF -DLUMENO_BUILD_BENCH=OFF >&2
cmake --build "$build" -j2 >&2
rm -f "$build"/lumeno_*.deb
(cd "$build" && cpack -G DEB) >&2
deb=$(ls "$build"/lumeno_*.deb)

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >&2
fi
echo "$deb"
