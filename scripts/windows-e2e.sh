#!/usr/bin/env bash
# Lumeno.exe under Wine on a desktop of its own (Xvfb, openbox, trayer), checked as a user sees
# it: without Lumeno.ini the message shows and nothing is written; with it (uselog=1) the window
# "Lumeno" shows and "[Lumeno Loaded]" is written, a second copy ends by itself and minimising
# puts an icon in the tray; started afresh, File > Exit > Yes leaves exactly the two log lines,
# CR LF. Needs build-windows/ from scripts/windows.sh. Every wait
# polls with a deadline. The X server picks a free display number itself.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LUMENO_WINDOWS_BUILD:-$PWD/build-windows}
exe=$build/Lumeno.exe
probe=$build/lumeno_window_probe.exe
[[ -f $exe && -f $probe ]] || { echo "windows-e2e: build first with scripts/windows.sh" >&2; exit 1; }
for tool in Xvfb openbox trayer xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "windows-e2e: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

export WINEDEBUG=-all
# A prefix of its own: the unit tests' prefix draws nowhere.
export WINEPREFIX=$build/wineprefix-e2e
work=$(mktemp -d)
# Programs still running in the prefix from an earlier run would keep their display.
"$wineserver" -k >/dev/null 2>&1 || true
"$wineserver" -w >/dev/null 2>&1 || true
pids=()
failures=0

cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true  # ends the programs of this prefix only
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  ((failures == 0)) && [[ -z ${LUMENO_E2E_KEEP:-} ]] && rm -rf "$work" || echo "windows-e2e: logs kept in $work" >&2
}
trap cleanup EXIT

# wait_for <seconds> <what> <command...>: polls the command until it succeeds or time is up.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    if ((SECONDS >= deadline)); then
      echo "windows-e2e: FAILED waiting ${seconds}s for: $what" >&2
      return 1
    fi
    sleep 0.2
  done
}
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
}

texts() { timeout 30 "$wine" "$probe" texts Lumeno 2>/dev/null; }
box_says() { texts | grep -qF "  Static|$1"; }
# Shown windows titled "Lumeno", as X sees them, and the program's main windows among them, as
# Windows sees them (message boxes bear the title too).
x_windows() { xdotool search --onlyvisible --name '^Lumeno$' 2>/dev/null || true; }
main_windows() { [[ $(texts | grep -c '^LumenoMainWindow|Lumeno$') -eq $1 && $(x_windows | wc -l) -eq $1 ]]; }
one_main_window() { main_windows 1; }
no_main_window() { main_windows 0; }
panel() { xdotool search --classname '^panel$' 2>/dev/null | head -1; }
# Never xwininfo without a window: it would wait for a click.
tray_icons() {
  [[ -n ${panel_id:-} ]] || { echo -1; return; }
  xwininfo -tree -id "$panel_id" 2>/dev/null | grep -c '"explorer.exe"' || true
}
has_icons() { [[ $(tray_icons) -ge 1 ]]; }
no_icons() { [[ $(tray_icons) -eq 0 ]]; }
# The key goes down and up in commands of their own: a window that goes at the key's press must
# not leave the key held down, repeating into every later step.
press_return_in() {
  [[ -n $1 ]] && xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool keydown Return
  xdotool keyup Return
}
running() { kill -0 "$1" 2>/dev/null; }
ended() { ! kill -0 "$1" 2>/dev/null; }
log_has() { [[ -f $1/log.txt ]] && grep -qF "$2" "$1/log.txt"; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for 20 "the X server" grep -q '[0-9]' "$work/display"
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
openbox --sm-disable --startup "touch $work/openbox.ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 20 "the window manager" test -e "$work/openbox.ready"
trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 20 "the tray host" sh -c "xdotool search --classname '^panel$' | grep -q ."
panel_id=$(panel)
timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || true

# Without Lumeno.ini: the message, then nothing.
bare=$work/bare
mkdir -p "$bare"
cp "$exe" "$bare/Lumeno.exe"
(cd "$bare" && exec "$wine" "$bare/Lumeno.exe") >/dev/null 2>&1 &
copy=$!
check "without Lumeno.ini the message shows" wait_for 90 "the missing-file message" \
  box_says "Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno"
press_return_in "$(x_windows | head -1)"
check "closing the message ends the program" wait_for 30 "the program to end" ended "$copy"
check "and nothing is written" test "$(ls -A "$bare")" = "Lumeno.exe"

# With Lumeno.ini and the log on.
folder=$work/portable
mkdir -p "$folder"
cp "$exe" "$folder/Lumeno.exe"
printf '[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=1\r\n\r\n[Automation]\r\ntrayatstartup=0\r\nautostartup=0\r\n' \
  >"$folder/Lumeno.ini"
(cd "$folder" && exec "$wine" "$folder/Lumeno.exe") >/dev/null 2>&1 &
first=$!
check "a window titled Lumeno shows" wait_for 90 "the main window" one_main_window
check "[Lumeno Loaded] is written" wait_for 30 "the start entry" log_has "$folder" "[Lumeno Loaded] , Date : "

status=0
timeout 120 "$wine" "$folder/Lumeno.exe" >/dev/null 2>&1 || status=$?
check "a second copy ends by itself" test "$status" -eq 0
check "leaving one window" one_main_window
check "and the first copy running" running "$first"

check "no icon in the tray while the window shows" no_icons
xdotool windowminimize "$(x_windows | head -1)"
check "minimising puts an icon in the tray" wait_for 30 "the tray icon" has_icons
check "and hides the window" wait_for 30 "the window to go" no_main_window
# This copy has done its part; it ends with its prefix's programs.
"$wineserver" -k >/dev/null 2>&1 || true
check "the start entry alone is in its log" test "$(grep -c . "$folder/log.txt")" -eq 1

# A fresh start in a fresh folder, ended by File > Exit > Yes.
folder=$work/exit
mkdir -p "$folder"
cp "$exe" "$work/portable/Lumeno.ini" "$folder/"
(cd "$folder" && exec "$wine" "$folder/Lumeno.exe") >/dev/null 2>&1 &
first=$!
check "the window shows again" wait_for 90 "the main window" one_main_window
wait_for 30 "the start entry" log_has "$folder" "[Lumeno Loaded] , Date : " || true
# File > Exit: a click on "File" at the left of the menu bar, then one on its last item, Exit;
# again until the question shows, should a click land before the window is ready.
file_menu() { timeout 30 "$wine" "$probe" menus 2>/dev/null | grep -m1 '^menu '; }
choose_exit() {
  box_says "Exit Lumeno?" && return 0
  local main menu
  main=$(x_windows | head -1)
  [[ -n $main ]] || return 1
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool windowactivate --sync "$main" mousemove $((X + 12)) $((Y + 9)) click 1
  wait_for 5 "the File menu" file_menu || return 1
  read -r _ left _ right bottom <<<"$(file_menu)"
  xdotool mousemove $(((left + right) / 2)) $((bottom - 8)) click 1
  wait_for 5 "the question" box_says "Exit Lumeno?"
}
check "File > Exit asks first" wait_for 30 "the question" choose_exit
press_return_in "$(x_windows | head -1)"  # Yes is the default button
check "Yes ends the program" wait_for 30 "the program to end" ended "$first"

expected_lines() {
  local log=$folder/log.txt
  [[ $(grep -c $'\r$' "$log") -eq 2 && $(wc -l <"$log") -eq 2 ]] &&
    head -1 "$log" | grep -q '^\[Lumeno Loaded\] , Date : .* , Time : .*'$'\r''$' &&
    tail -1 "$log" | grep -q '^\[Program Exit\] , Date : .* , Time : .*'$'\r''$' &&
    [[ $(tail -c 2 "$log" | od -An -c | tr -d ' ') == '\r\n' ]]
}
check "the log holds exactly the two lines, CR LF" expected_lines

if ((failures > 0)); then
  echo "windows-e2e: $failures check(s) failed" >&2
  exit 1
fi
echo "windows-e2e: all checks passed"
