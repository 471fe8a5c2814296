#!/usr/bin/env bash
# The tester in a real terminal: tmux, the real binary, pseudo-terminal
# ports.  One scenario per run: tty_test.sh SCENARIO
source "$(dirname "$0")/tmux_lib.sh"

start_screen() {
  start_ports 5:loopback
  start_brelox 80 24
  expect_line 1 ""
  expect_line 2 "         Vostrelan Test Program  Ver 1.5   Kandorwick Co., Ltd."
  expect_line 3 " ----------------------------------------------------------------------"
  expect_line 4 ""
  expect_line 5 "     port name :  COM5"
  expect_line 6 ""
  expect_line 7 "     send data :"
  expect_line 8 ""
  expect_line 9 "  receive data :"
  expect_line 13 "                                      Press +,- or space to select port"
  expect_line 14 "                                                      Press ESC to quit"
  expect_cursor 18 4
  [ "$(pane '#{pane_title}')" = "Vostrelan Test" ] || fail "title is '$(pane '#{pane_title}')'"
}

loop_back() {
  start_ports 7:loopback
  start_brelox
  keys + + Down A B C
  wait_for "send data :  ABC"
  expect_cursor 21 6
  keys Enter
  wait_for "receive data :  ABC"
  expect_cursor 18 4 # back on the port line
  keys +
  wait_for "port name :  COM8"
}

absent_port() {
  start_ports 7:loopback
  start_brelox
  keys Down X Enter
  wait_for "WARNING"
  wait_for "Port open error"
  wait_for "[ OK ]"
  [ "$(pane '#{cursor_flag}')" = 0 ] || fail "the cursor shows while the box is up"
  keys Enter
  wait_gone "WARNING"
  wait_for "Press ESC to quit"
  keys +
  wait_for "port name :  COM6"
}

hostile_bytes() {
  start_ports 5:allbytes
  start_brelox
  keys Down A Enter
  wait_for "receive data :  ←[2J←]0;PWNED•←[31m"
  # Every other line is intact: nothing was cleared, moved or recoloured.
  expect_line 2 "         Vostrelan Test Program  Ver 1.5   Kandorwick Co., Ltd."
  expect_line 5 "     port name :  COM5"
  expect_line 7 "     send data :  A"
  expect_line 14 "                                                      Press ESC to quit"
  [ "$(pane '#{pane_title}')" = "Vostrelan Test" ] || fail "the title was changed to '$(pane '#{pane_title}')'"
  sleep 0.2
  if grep -qaF $'\033]0;PWNED' "$WORK/raw.out" || grep -qaF $'\033[31m' "$WORK/raw.out"; then
    fail "a received escape sequence reached the terminal"
  fi
  grep -qaF "PWNED" "$WORK/raw.out" || fail "the received text was not drawn at all"
}

control_keys() {
  start_ports 5:loopback
  start_brelox
  keys Down C-c C-z
  wait_for "send data :  ♥→"
  keys -l "é☺"
  wait_for "send data :  ♥→é?" # UTF-8 in, Windows-1252 stored, '?' outside it
  screen | grep -q "EXIT=" && fail "Ctrl+C ended the program"
  keys Escape
  wait_for "EXIT=0"
  screen | grep -qF "BEFORE-BRELOX" || fail "the screen before the program was not restored"
  [ "$(pane '#{alternate_on}')" = 0 ] || fail "still in the alternate screen"
  [ "$(pane '#{cursor_flag}')" = 1 ] || fail "the cursor was left hidden"
}

# Keys typed after the one that closes the box are not lost.
type_ahead_after_box() {
  start_ports 7:loopback
  start_brelox
  keys Down X Enter
  wait_for "Port open error"
  keys Enter Escape
  wait_for "EXIT=0"
}

keys_while_busy() {
  start_ports 5:loopback
  start_brelox
  # + + - are typed while the exchange runs: they wait, and come after the
  # return to the port line (on the send line they would be ignored).
  keys Down A B Enter + + -
  wait_for "port name :  COM6"
  expect_line 9 "  receive data :  AB"
}

too_small() {
  start_ports 5:loopback
  tmux -S "$SOCKET" -f /dev/null new-session -d -s e2e -x 60 -y 12 \
    "env -u DISPLAY BRELOX_DRIVER=tty TERM=xterm-256color LANG=C.UTF-8 BRELOX_PORTS='$WORK/ports' '$BRELOX'; echo EXIT=\$?; sleep 60"
  wait_for "at least 73 x 15"
  tmux -S "$SOCKET" resize-window -t e2e -x 80 -y 24
  wait_for "Press ESC to quit"
  wait_gone "at least 73 x 15"
  keys Escape
  wait_for "EXIT=0"
}

stop_by_signal() { # signal
  start_ports 5:loopback
  start_brelox
  keys Down A B
  wait_for "send data :  AB"
  local pid
  pid=$(pgrep -P "$(pane '#{pane_pid}')" -f brelox | head -1)
  [ -n "$pid" ] || fail "no brelox process"
  kill "-$1" "$pid"
  wait_for "EXIT="
  screen | grep -qF "BEFORE-BRELOX" || fail "the screen was not restored after SIG$1"
  [ "$(pane '#{alternate_on}')" = 0 ] || fail "still in the alternate screen after SIG$1"
  [ "$(pane '#{cursor_flag}')" = 1 ] || fail "the cursor was left hidden after SIG$1"
}

sigterm() { stop_by_signal TERM; }
sighup() { stop_by_signal HUP; }

"$1"
echo "PASS: $1"
