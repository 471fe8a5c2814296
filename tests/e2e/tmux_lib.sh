# Helpers for end-to-end tests of the real binary in a real terminal
# (tmux): start it on pseudo-terminal ports, type, read the screen.
set -euo pipefail

: "${BRELOX:?path of the brelox binary}"
: "${BRELOX_PORTS_TOOL:?path of brelox-ports}"

WORK=$(mktemp -d /tmp/brelox-e2e-XXXXXX)
SOCKET="$WORK/tmux.sock"
PORTS_PID=""

cleanup() {
  tmux -S "$SOCKET" kill-server 2>/dev/null || true
  if [ -n "$PORTS_PID" ]; then kill "$PORTS_PID" 2>/dev/null || true; wait "$PORTS_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; echo "--- screen ---" >&2; screen >&2 || true; exit 1; }

start_ports() { # N:wiring...
  "$BRELOX_PORTS_TOOL" --dir "$WORK/ports" "$@" > "$WORK/ports.out" &
  PORTS_PID=$!
  for _ in $(seq 100); do grep -q ready "$WORK/ports.out" 2>/dev/null && return 0; sleep 0.05; done
  fail "brelox-ports did not start"
}

# Starts brelox in a terminal of COLS x ROWS; the shell prints EXIT=code after it.
start_brelox() { # cols rows
  local cols=${1:-80} rows=${2:-24}
  tmux -S "$SOCKET" -f /dev/null new-session -d -s e2e -x "$cols" -y "$rows" \
    "printf 'BEFORE-BRELOX\n'; env -u DISPLAY BRELOX_DRIVER=tty TERM=xterm-256color LANG=C.UTF-8 LC_ALL=C.UTF-8 BRELOX_PORTS='$WORK/ports' '$BRELOX'; echo EXIT=\$?; sleep 60"
  tmux -S "$SOCKET" pipe-pane -t e2e -o "cat >> '$WORK/raw.out'"
  wait_for "Press ESC to quit"
}

keys() { tmux -S "$SOCKET" send-keys -t e2e "$@"; }
screen() { tmux -S "$SOCKET" capture-pane -p -t e2e; }
line() { screen | sed -n "$1p"; } # 1-based row
pane() { tmux -S "$SOCKET" display -p -t e2e "$1"; }

wait_for() { # text [seconds]
  local deadline=$(( $(date +%s) + ${2:-10} ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    screen | grep -qF -- "$1" && return 0
    sleep 0.05
  done
  fail "'$1' did not appear"
}

wait_gone() { # text [seconds]
  local deadline=$(( $(date +%s) + ${2:-10} ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    screen | grep -qF -- "$1" || return 0
    sleep 0.05
  done
  fail "'$1' did not go away"
}

expect_line() { # row text
  local got
  got=$(line "$1")
  [ "$got" = "$2" ] || fail "row $1 is '$got', want '$2'"
}

expect_cursor() { # col row (0-based)
  local got
  got="$(pane '#{cursor_x},#{cursor_y}')"
  [ "$got" = "$1,$2" ] || fail "cursor at $got, want $1,$2"
}
