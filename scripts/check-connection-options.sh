#!/usr/bin/env bash
# End-to-end check of "Follow address changes", "Log connection changes" and Copy IPv6 on the real
# program: it runs inside a network namespace this script makes (with a peer namespace at the far
# end of a veth link), on its own Xvfb display, and is driven through its File menu with xdotool.
# The address is changed, the default route is dropped for 5 s and restored; the clipboard and
# log.txt are judged. Every wait polls with a deadline. Needs root (ip netns), Xvfb, xdotool, xclip.
#
#   scripts/check-connection-options.sh [build folder] [on|off]
# "off" runs the same steps with the three options absent from Lumeno.ini and checks that nothing
# new happens: the address shown stays, and the log holds only the start entry.
# LUMENO_NETNS_PREFIX names the namespaces (default lumeno-e2e); LUMENO_TEST_DISPLAY is the display
# to take (default :78).
set -euo pipefail

build=$(realpath "${1:-build}")
mode=${2:-on}
display=${LUMENO_TEST_DISPLAY:-:78}
prefix=${LUMENO_NETNS_PREFIX:-lumeno-e2e}
app_ns=$prefix-app
peer_ns=$prefix-peer
work=$(mktemp -d)
app_pid=
xvfb_pid=

cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  ip netns delete "$app_ns" 2>/dev/null || true
  ip netns delete "$peer_ns" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -f $work/log.txt ]] && { echo "--- log.txt:" >&2; cat -A "$work/log.txt" >&2; }
  exit 1
}
pass() { echo "ok: $*"; }

# Runs the command until it succeeds or `seconds` have passed.
poll() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

export DISPLAY=$display
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
poll 10 xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $display did not start"

# The link: 10.77.0.2 here, 10.77.0.1 at the peer; IPv6 2001:db8:1::5 here with a default route.
ip netns add "$app_ns"
ip netns add "$peer_ns"
ip -n "$app_ns" link set lo up
ip -n "$peer_ns" link set lo up
ip -n "$app_ns" link add lmn0 type veth peer name lmn0p netns "$peer_ns"
ip netns exec "$app_ns" sysctl -qw net.ipv4.conf.all.promote_secondaries=1 net.ipv4.conf.default.promote_secondaries=1
ip -n "$app_ns" addr add 10.77.0.2/24 dev lmn0
ip -n "$peer_ns" addr add 10.77.0.1/24 dev lmn0p
ip -n "$app_ns" -6 addr add 2001:db8:1::5/64 dev lmn0 nodad
ip -n "$peer_ns" -6 addr add 2001:db8:1::1/64 dev lmn0p nodad
ip -n "$app_ns" link set lmn0 up
ip -n "$peer_ns" link set lmn0p up
ip -n "$app_ns" route add default via 10.77.0.1 dev lmn0
ip -n "$app_ns" -6 route add default via 2001:db8:1::1 dev lmn0

cp "$build/lumeno" "$work/"
options=$([[ $mode == on ]] && printf 'followip=1\r\nlogoutages=1\r\n' || true)
printf '[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=1\r\n%s\r\n[Automation]\r\ntrayatstartup=0\r\nautostartup=0\r\n' \
  "$options" >"$work/Lumeno.ini"
mkdir -m 700 "$work/run"
ip netns exec "$app_ns" env DISPLAY="$display" XDG_RUNTIME_DIR="$work/run" HOME="$work" \
  XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$work/lumeno" >"$work/lumeno.out" 2>&1 &
app_pid=$!

window=
find_window() { window=$(xdotool search --onlyvisible --name '^Lumeno$' 2>/dev/null | head -1) && [[ -n $window ]]; }
poll 15 find_window || fail "the main window did not appear"
log_has() { grep -qF -- "$1" "$work/log.txt" 2>/dev/null; }
poll 5 log_has "[Lumeno Loaded] , Date : " || fail "no start entry"

# The File menu is a second visible window of the program.
menu_open() { (($(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l) > 1)); }

# File > the item `down` places below the top of the menu; the clipboard afterwards.
choose_from_file_menu() {
  local down=$1 x y
  eval "$(xdotool getwindowgeometry --shell "$window")"
  x=$((X + 15))
  y=$((Y + 10))
  xdotool mousemove "$x" "$y" click 1
  poll 3 menu_open || fail "the File menu did not open"
  for ((i = 0; i < down; i++)); do xdotool key Down; done
  xdotool key Return
}
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
copy_gives() {
  echo "something else" | xclip -selection clipboard
  choose_from_file_menu "$1"
  local deadline=$((SECONDS + 2))
  while ((SECONDS < deadline)); do
    [[ $(clipboard) == "$2" ]] && return 0
    sleep 0.2
  done
  return 1
}

poll 6 copy_gives 2 10.77.0.2 || fail "File > Copy did not give 10.77.0.2 (got '$(clipboard)')"
pass "File > Copy gives 10.77.0.2"

# The address changes: the new one is added, the old one taken away.
ip -n "$app_ns" addr add 10.77.0.3/24 dev lmn0
ip -n "$app_ns" addr del 10.77.0.2/24 dev lmn0
changed_at=$SECONDS
if [[ $mode == off ]]; then
  ! poll 3 log_has "[Local IP Changed]" || fail "an address change was logged with the options off"
  copy_gives 2 10.77.0.2 || fail "the shown address changed with the options off (got '$(clipboard)')"
  ip -n "$app_ns" route del default via 10.77.0.1 dev lmn0
  sleep 5 # the outage itself
  ip -n "$app_ns" route add default via 10.77.0.1 dev lmn0
  ! poll 3 log_has "Online" || fail "a connection change was logged with the options off"
  [[ $(wc -l <"$work/log.txt") == 1 ]] || fail "the log holds more than the start entry"
  pass "options off: the address stays, the log holds only the start entry"
  exit 0
fi
poll 3 log_has "[Local IP Changed] : 10.77.0.3 , Date : " || fail "no [Local IP Changed] entry within 3 s"
copy_gives 2 10.77.0.3 || fail "File > Copy did not give 10.77.0.3 (got '$(clipboard)')"
pass "address change seen within $((SECONDS - changed_at)) s; Copy gives 10.77.0.3"

copy_gives 3 2001:db8:1::5 || fail "File > Copy IPv6 did not give 2001:db8:1::5 (got '$(clipboard)')"
[[ $(clipboard | od -An -c | tr -d ' \n') == "2001:db8:1::5" ]] || fail "the clipboard holds more than the address"
pass "File > Copy IPv6 gives exactly 2001:db8:1::5"

# The default route goes for 5 s.
ip -n "$app_ns" route del default via 10.77.0.1 dev lmn0
ip -n "$app_ns" -6 route del default via 2001:db8:1::1 dev lmn0
poll 3 log_has "[Went Offline] , Date : " || fail "no [Went Offline] entry within 3 s"
sleep 5 # the outage itself
ip -n "$app_ns" route add default via 10.77.0.1 dev lmn0
ip -n "$app_ns" -6 route add default via 2001:db8:1::1 dev lmn0
poll 3 log_has "[Back Online] , Date : " || fail "no [Back Online] entry within 3 s"

grep -qE $'^\\[Back Online\\] , Date : .+ , Time : .+ , Offline for : 00:00:0[0-9]\r$' "$work/log.txt" ||
  fail "the [Back Online] line is not as expected"
offline_line=$(grep -n '^\[Went Offline\]' "$work/log.txt" | head -1 | cut -d: -f1)
online_line=$(grep -n '^\[Back Online\]' "$work/log.txt" | head -1 | cut -d: -f1)
((offline_line < online_line)) || fail "[Back Online] comes before [Went Offline]"
[[ $(grep -c $'\r$' "$work/log.txt") == $(wc -l <"$work/log.txt") ]] || fail "a line does not end in CR LF"
pass "outage logged: $(grep -a '^\[Back Online\]' "$work/log.txt" | tr -d '\r')"
echo "--- log.txt:"
cat "$work/log.txt" | tr -d '\r'
