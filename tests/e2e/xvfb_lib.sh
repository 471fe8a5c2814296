# Starting Xvfb for an end-to-end test: start_x [GEOMETRY] sets DISPLAY and
# adds the server to PIDS.  Needs WORK, PIDS and fail from the test.
start_x() {
  local geometry=${1:-1600x1024x24}
  # A display number of our own: parallel tests draw different ones, and the
  # X server's lock file makes the loser of a draw exit, so try again then.
  # -noreset: the server must not restart whenever its last client leaves.
  for _attempt in $(seq 10); do
    local n=$(( 20 + RANDOM % 900 ))
    Xvfb ":$n" -screen 0 "$geometry" -nolisten tcp -noreset > "$WORK/xvfb.log" 2>&1 &
    local xpid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      kill -0 "$xpid" 2>/dev/null || break
      if xprop -root > /dev/null 2>&1; then
        sleep 0.1
        if kill -0 "$xpid" 2>/dev/null; then
          PIDS+=("$xpid")
          return 0
        fi
      fi
      sleep 0.1
    done
    kill "$xpid" 2>/dev/null || true
    wait "$xpid" 2>/dev/null || true
  done
  fail "Xvfb did not start: $(tail -n 3 "$WORK/xvfb.log")"
}
