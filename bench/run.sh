#!/usr/bin/env bash
# Brelox benchmarks: builds what they need, measures, prints a Markdown
# table of every figure (median and spread over repeated runs, all in this
# one run) and writes it to bench/results/ with the date and the machine.
#
#   bench/run.sh            (RUNS=10 KEYS=1000 IDLE=10 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${RUNS:-10}
KEYS=${KEYS:-1000}
IDLE=${IDLE:-10}

scripts/install-deps.sh bench >&2
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRELOX_TESTS=OFF -DBRELOX_BENCH=ON > /dev/null
cmake --build build/bench > /dev/null
scripts/build-windows.sh > /dev/null 2>&1
B=build/bench
BRELOX=$PWD/$B/brelox
RUNNER=$PWD/$B/bench/bench_runner

WORK=$(mktemp -d /tmp/brelox-bench-XXXXXX)
PIDS=()
cleanup() {
  tmux -S "$WORK/tmux.sock" kill-server 2>/dev/null || true
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

"$B/tools/brelox-ports" --dir "$WORK/ports" 5:loopback > "$WORK/ports.out" &
PIDS+=($!)
for _ in $(seq 100); do grep -q ready "$WORK/ports.out" 2>/dev/null && break; sleep 0.05; done
export BRELOX_PORTS="$WORK/ports"

exec 3> "$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset > /dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$WORK/display")"

# median and min-max of numbers on standard input, as a table row
row() { # figure unit digits note
  sort -g | awk -v f="$1" -v u="$2" -v d="$3" -v note="$4" '
    { v[NR] = $1 }
    END { if (NR == 0) { printf "| %s | (no runs) | | 0 | %s |\n", f, note; exit }
          m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          fmt = "| %s | %." d "f %s | %." d "f to %." d "f | %d | %s |\n"
          printf fmt, f, m, u, v[1], v[NR], NR, note }'
}

tty_startup() {
  local sock="$WORK/tmux.sock"
  for i in $(seq "$RUNS"); do
    rm -f "$WORK/t0" "$WORK/mem"
    : > "$WORK/trace"
    tmux -S "$sock" -f /dev/null new-session -d -s b -x 80 -y 24 \
      "'$RUNNER' stamp '$WORK/t0' /usr/bin/time -f %M -o '$WORK/mem' env -u DISPLAY BRELOX_DRIVER=tty TERM=xterm-256color BRELOX_TRACE_PRESENT='$WORK/trace' '$BRELOX'; sleep 30"
    for _ in $(seq 400); do [ -s "$WORK/trace" ] && break; sleep 0.005; done
    local t0 t1
    t0=$(cat "$WORK/t0"); t1=$(head -1 "$WORK/trace")
    echo "frame $(( (t1 - t0) / 1000 ))" >> "$WORK/tty.txt"
    tmux -S "$sock" send-keys -t b Escape
    for _ in $(seq 400); do [ -s "$WORK/mem" ] && break; sleep 0.01; done
    echo "mem $(cat "$WORK/mem")" >> "$WORK/tty.txt"
    tmux -S "$sock" kill-server
  done
  grep '^frame' "$WORK/tty.txt" | awk '{print $2 / 1000}' | row "brelox (tty in tmux): exec to first complete frame" ms 1 ""
  grep '^mem' "$WORK/tty.txt" | awk '{print $2 / 1024}' | row "brelox (tty in tmux): peak resident memory" MB 1 "includes nothing of tmux"
}

size_row() { # figure file
  printf '| %s | %s bytes | | 1 | |\n' "$1" "$(stat -c %s "$2")"
}

{
  echo "# Brelox benchmarks"
  echo
  echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC'). Machine: $(uname -sm), $(nproc) cores," \
       "$(awk -F': ' '/model name/{print $2; exit}' /proc/cpuinfo)," \
       "$(awk '/MemTotal/{printf "%.0f GiB", $2/1048576}' /proc/meminfo). Command: \`bench/run.sh\`" \
       "(RUNS=$RUNS, KEYS=$KEYS, IDLE=$IDLE)."
  echo
  echo "## 1. The exchange on a pseudo-terminal loop-back port"
  echo
  "$B/bench/exchange_bench" 2>/dev/null | grep '^|'
  echo
  echo "## 2. Start-up and memory; 6. side by side"
  echo
  echo "| figure | median | spread (min to max) | runs | note |"
  echo "|---|---|---|---|---|"
  "$RUNNER" startup-x11 "$RUNS" "$BRELOX" | grep '^|'
  tty_startup
  command -v cutecom > /dev/null && "$RUNNER" startup-app "$RUNS" "CuteCom (Qt)" cutecom | grep '^|'
  command -v gtkterm > /dev/null && "$RUNNER" startup-app "$RUNS" "GTKTerm (GTK)" gtkterm | grep '^|'
  echo
  echo "## 3. Key to screen; 4. idle cost"
  echo
  echo "| figure | median | spread (min to max) | runs | note |"
  echo "|---|---|---|---|---|"
  "$RUNNER" keys "$KEYS" "$BRELOX" | grep '^|'
  "$RUNNER" idle "$IDLE" "$BRELOX" | grep '^|'
  echo
  echo "## 5. Size"
  echo
  echo "| figure | value | | runs | note |"
  echo "|---|---|---|---|---|"
  strip -o "$WORK/brelox.stripped" "$BRELOX"
  size_row "brelox (Linux, x86_64, release, stripped)" "$WORK/brelox.stripped"
  size_row "Brelox.exe (Windows, i686)" build/windows-i686/Brelox.exe
  size_row "Brelox.exe (Windows, x86_64)" build/windows-x86_64/Brelox.exe
} > "$WORK/results.md"

mkdir -p bench/results
out="bench/results/$(date -u +%Y-%m-%d)-$(hostname -s).md"
cp "$WORK/results.md" "$out"
cat "$out"
echo
echo "written to $out"
