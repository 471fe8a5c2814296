#!/usr/bin/env bash
# The tester in a real X window: Xvfb, the real binary, keys from xdotool,
# screenshots from ImageMagick read back with the program's own glyphs.
# One scenario per run: x11_test.sh SCENARIO
set -euo pipefail
: "${BRELOX:?}" "${BRELOX_PORTS_TOOL:?}" "${BRELOX_READSCREEN:?}" "${X11_CLOSE:?}"

WORK=$(mktemp -d /tmp/brelox-x11-XXXXXX)
PIDS=()
BRELOX_PID=""
cleanup() {
  for p in ${BRELOX_PID:+$BRELOX_PID} "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$WORK/import.err" ] && tail -n 3 "$WORK/import.err" >&2
  [ -s "$WORK/brelox.out" ] && tail -n 5 "$WORK/brelox.out" >&2
  [ -s "$WORK/xvfb.log" ] && tail -n 5 "$WORK/xvfb.log" >&2
  echo "DISPLAY=$DISPLAY" >&2
  exit 1
}

source "$(dirname "$0")/xvfb_lib.sh"

start_wm() {
  openbox --sm-disable > "$WORK/openbox.log" 2>&1 &
  PIDS+=($!)
  local deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && xprop -root _NET_SUPPORTED 2>/dev/null | grep -q ATOM; then
      sleep 0.5 # openbox sets its properties before it has finished starting
      return 0
    fi
    sleep 0.05
  done
  fail "openbox did not start: $(tail -n 3 "$WORK/openbox.log")"
}

start_ports() {
  "$BRELOX_PORTS_TOOL" --dir "$WORK/ports" "$@" > "$WORK/ports.out" &
  PIDS+=($!)
  for _ in $(seq 100); do grep -q ready "$WORK/ports.out" 2>/dev/null && return 0; sleep 0.05; done
  fail "brelox-ports did not start"
}

start_brelox() {
  BRELOX_PORTS="$WORK/ports" BRELOX_DRIVER=x11 BRELOX_SCALE="${SCALE:-1}" "$BRELOX" > "$WORK/brelox.out" 2>&1 &
  BRELOX_PID=$!
  WIN=""
  local deadline=$(( $(date +%s) + 20 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    WIN=$(xdotool search --name '^Vostrelan Test$' 2>/dev/null | head -1) && [ -n "$WIN" ] && break
    sleep 0.05
  done
  [ -n "$WIN" ] || fail "no window titled Vostrelan Test"
  wait_text "$WIN" 430 200 "Press ESC to quit"
}

# The window may be gone before the last key-up (Esc ends the program).
keys() { xdotool key --window "$WIN" "$@" 2>/dev/null || true; }

read_text() { # window x y count
  import -window "$1" "$WORK/shot.png" 2>> "$WORK/import.err" || return 1
  "$BRELOX_READSCREEN" "$WORK/shot.png" "$2" "$3" "$4" --scale "${SCALE:-1}"
}

wait_text() { # window x y text
  local got="" deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    got=$(read_text "$1" "$2" "$3" "${#4}" || true)
    [ "$got" = "$4" ] && return 0
    sleep 0.05
  done
  fail "at ($2, $3) the window shows '$got', want '$4'"
}

wait_exit() { # expected code
  local code=0 deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ]; do kill -0 "$BRELOX_PID" 2>/dev/null || break; sleep 0.05; done
  wait "$BRELOX_PID" || code=$?
  BRELOX_PID=""
  [ "$code" = "$1" ] || fail "exit code $code, want $1"
}

# The WARNING box's window, once it is there.
find_box() {
  local box="" deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    box=$(xdotool search --name '^WARNING$' 2>/dev/null | head -1) && [ -n "$box" ] && { echo "$box"; return 0; }
    sleep 0.05
  done
  fail "no WARNING window"
}

box_gone() {
  local deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    xdotool search --name '^WARNING$' > /dev/null 2>&1 || return 0
    sleep 0.05
  done
  return 1
}

start() {
  start_x
  start_ports 7:loopback
  start_brelox
  xwininfo -id "$WIN" | grep -q "Width: 584" || fail "client width is not 584"
  xwininfo -id "$WIN" | grep -q "Height: 225" || fail "client height is not 225"
  local props
  props=$(xprop -id "$WIN")
  grep -q 'WM_NAME(STRING) = "Vostrelan Test"' <<<"$props" || fail "WM_NAME"
  grep -q '_NET_WM_NAME(UTF8_STRING) = "Vostrelan Test"' <<<"$props" || fail "_NET_WM_NAME"
  grep -q 'WM_CLASS(STRING) = "brelox", "helloWin"' <<<"$props" || fail "WM_CLASS"
  grep -q 'program specified minimum size: 584 by 225' <<<"$props" || fail "minimum size"
  grep -q 'program specified maximum size: 584 by 225' <<<"$props" || fail "maximum size"
  grep -q "_NET_WM_PID(CARDINAL) = $BRELOX_PID" <<<"$props" || fail "_NET_WM_PID"
  grep -q 'WM_PROTOCOLS(ATOM): protocols  WM_DELETE_WINDOW' <<<"$props" || fail "WM_DELETE_WINDOW"
  xprop -id "$WIN" -notype 32c _NET_WM_ICON | grep -q '_NET_WM_ICON = 32, 32,' || fail "_NET_WM_ICON"
  wait_text "$WIN" 10 20 "        Vostrelan Test Program  Ver 1.5   Kandorwick Co., Ltd.        "
  wait_text "$WIN" 10 35 "----------------------------------------------------------------------"
  wait_text "$WIN" 18 65 "   port name :"
  wait_text "$WIN" 140 67 "COM5"
  wait_text "$WIN" 18 95 "   send data :"
  wait_text "$WIN" 18 125 "receive data :"
  wait_text "$WIN" 294 185 " Press +,- or space to select port"
  keys Escape
  wait_exit 0
}

loop_back() {
  start_x
  start_ports 7:loopback
  start_brelox
  keys plus plus
  wait_text "$WIN" 140 67 "COM7"
  keys Down A B C
  wait_text "$WIN" 140 96 "ABC"
  keys Return
  wait_text "$WIN" 140 126 "ABC"
  keys plus # the dialogue is back on the port line
  wait_text "$WIN" 140 67 "COM8"
  keys Escape
  wait_exit 0
}

# COM5 is absent: a test of it brings up the WARNING box, whose id is printed.
absent_port_box() {
  start_x
  start_ports 7:loopback
  start_brelox
  keys Down X Return
  find_box
}

absent_port() {
  local box
  absent_port_box > "$WORK/box"
  box=$(cat "$WORK/box")
  xprop -id "$box" WM_TRANSIENT_FOR | grep -qi "window id # $(printf '0x%x' "$WIN")" || fail "the box is not transient for the main window"
  wait_text "$box" 60 24 "Port open error "
  # xdotool pressed Return through XTEST while the main window had the focus
  # and released it with a sent event once the box had it: the server still
  # holds the key down. Let it go before pressing it again.
  xdotool keyup Return
  xdotool key --window "$box" Return 2>/dev/null || true
  box_gone || fail "the box did not close"
  # The keyboard is back with the main window: a plain key press reaches it.
  xdotool key plus
  wait_text "$WIN" 140 67 "COM6"
  wait_text "$WIN" 294 185 " Press +,- or space to select port"
  keys Escape
  wait_exit 0
}

minimise_restore() {
  start_x
  start_wm
  start_ports 7:loopback
  start_brelox
  sleep 0.3
  keys Down A B
  wait_text "$WIN" 140 96 "AB"
  xdotool windowminimize --sync "$WIN"
  sleep 0.3
  xdotool windowactivate --sync "$WIN" 2>/dev/null || xdotool windowmap --sync "$WIN"
  wait_text "$WIN" 140 96 "    " # repainted: the data fields are blank
  wait_text "$WIN" 140 67 "COM5"
  keys Escape
  wait_exit 0
}

close_button() {
  start_x
  start_ports 7:loopback
  start_brelox
  "$X11_CLOSE" "$WIN"
  wait_exit 0
}

ink_at() { # window x y w h: dark pixels there
  import -window "$1" "$WORK/ink.png" 2>> "$WORK/import.err" || { echo 0; return; }
  "$BRELOX_READSCREEN" "$WORK/ink.png" --ink "$2" "$3" "$4" "$5" --scale "${SCALE:-1}"
}

# Sees the caret (8 x 2) at x y both drawn and not drawn within a few
# blinks: it blinks.
expect_blinking() { # x y
  local on=0 off=0 deadline=$(( $(date +%s) + 10 ))
  while [ "$(date +%s)" -le "$deadline" ] && { [ "$on" = 0 ] || [ "$off" = 0 ]; }; do
    if [ "$(ink_at "$WIN" "$1" "$2" 8 2)" -gt 0 ]; then on=1; else off=1; fi
    sleep 0.1
  done
  [ "$on" = 1 ] && [ "$off" = 1 ] || fail "no blinking caret at ($1, $2): seen on=$on off=$off"
}

# The caret blinks where the line is, and leaves nothing behind when it moves.
caret() {
  start_x
  start_ports 7:loopback
  start_brelox
  expect_blinking 140 80
  # Moves in quick succession: each starts a visible phase, so the caret is
  # drawn whenever it moves on.
  keys Down Up Down
  expect_blinking 140 110
  for _ in $(seq 8); do
    [ "$(ink_at "$WIN" 140 80 8 2)" = 0 ] || fail "the caret was left behind on the port line"
    sleep 0.1
  done
  keys Escape
  wait_exit 0
}

# A click on OK closes the box too.
box_click() {
  local box
  absent_port_box > "$WORK/box"
  box=$(cat "$WORK/box")
  wait_text "$box" 60 24 "Port open error "
  xdotool mousemove --window "$box" 102 84 click 1
  box_gone || fail "a click on OK did not close the box"
  keys Escape
  wait_exit 0
}

# Keys sent while the exchange runs wait in the queue and come after the
# return to the port line (on the send line + and - would be ignored).
keys_while_busy() {
  start_x
  start_ports 5:loopback
  start_brelox
  keys Down A B Return plus plus minus
  wait_text "$WIN" 140 67 "COM6"
  wait_text "$WIN" 140 126 "AB "
  keys Escape
  wait_exit 0
}

# A high-resolution screen: every pixel doubled, the same coordinates inside.
scaled() {
  SCALE=2
  start_x
  start_ports 7:loopback
  start_brelox
  xwininfo -id "$WIN" | grep -q "Width: 1168" || fail "scaled width is not 1168"
  xwininfo -id "$WIN" | grep -q "Height: 450" || fail "scaled height is not 450"
  wait_text "$WIN" 140 67 "COM5"
  keys plus plus Down A B Return
  wait_text "$WIN" 140 126 "AB"
  keys Escape
  wait_exit 0
}

# The X server goes away: a message on standard error and an orderly exit.
display_lost() {
  start_x
  start_ports 7:loopback
  start_brelox
  kill "${PIDS[0]}"
  local code=0 deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ] && kill -0 "$BRELOX_PID" 2>/dev/null; do sleep 0.05; done
  wait "$BRELOX_PID" || code=$?
  BRELOX_PID=""
  [ "$code" = 1 ] || fail "exit code $code, want 1"
  grep -q "connection to the X display was lost" "$WORK/brelox.out" || fail "no message: $(cat "$WORK/brelox.out")"
  grep -qi "sanitizer\|segmentation" "$WORK/brelox.out" && fail "crashed: $(cat "$WORK/brelox.out")"
  return 0
}

"$1"
echo "PASS: $1"
