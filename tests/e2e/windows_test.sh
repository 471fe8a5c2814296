#!/usr/bin/env bash
# Brelox.exe: the cross builds checked with objdump and wrestool, and the
# 64-bit build run under Wine on Xvfb with a pseudo-terminal as its COM7.
# One scenario per run: windows_test.sh build|wine
set -euo pipefail
: "${SOURCE_DIR:?}" "${BUILD_DIR:?}" "${BRELOX_PORTS_TOOL:?}" "${BRELOX_READSCREEN:?}"

WORK=$(mktemp -d /tmp/brelox-wine-XXXXXX)
PIDS=()
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

exe() { echo "$BUILD_DIR/windows-$1/Brelox.exe"; }

build() {
  for arch in i686 x86_64; do
    cmake -S "$SOURCE_DIR/windows" -B "$BUILD_DIR/windows-$arch" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE="$SOURCE_DIR/cmake/mingw-$arch.cmake" > /dev/null
    cmake --build "$BUILD_DIR/windows-$arch" > /dev/null
    local f headers dlls size
    f=$(exe "$arch")
    headers=$(objdump -p "$f")
    case $arch in
      i686) grep -q 'Magic.*010b.*(PE32)' <<<"$headers" || fail "$arch: not PE32" ;;
      x86_64) grep -q 'Magic.*020b.*(PE32+)' <<<"$headers" || fail "$arch: not PE32+" ;;
    esac
    grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "$arch: not the GUI subsystem"
    dlls=$(grep 'DLL Name' <<<"$headers" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
    [ "$dlls" = "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL " ] || fail "$arch imports: $dlls"
    size=$(stat -c %s "$f")
    [ "$size" -le 65536 ] || fail "$arch: $size bytes, more than 64 KiB"
    local resources
    resources=$(wrestool -l "$f")
    [ "$(grep -o 'type=group_icon' <<<"$resources" | wc -l)" = 2 ] || fail "$arch: icon groups: $resources"
    grep -q -- '--type=14 --name=103' <<<"$(head -n 4 <<<"$resources")" || fail "$arch: group 103 is not first"
    grep -q -- '--type=14 --name=104' <<<"$resources" || fail "$arch: no group 104"
    local strings
    strings=$(wrestool --raw -x -t 16 "$f" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n')
    for want in 040004b0 "Vostrelan Test Program (95 / NT)" "Kandorwick Co., Ltd." Brelox.exe Vostrelan "1, 5, 0, 1"; do
      grep -qF -- "$want" <<<"$strings" || fail "$arch: version record lacks '$want'"
    done
    # The fixed part: 1.5.0.1, and FILEOS 0x40004, FILETYPE 1.
    wrestool --raw -x -t 16 "$f" | od -An -tx1 | tr -d ' \n' | grep -q 'bd04effe000001000500010001000000050001000100000' \
      || fail "$arch: fixed version info is not 1.5.0.1"
    wrestool --raw -x -t 16 "$f" | od -An -tx1 | tr -d ' \n' | grep -q 'bd04effe0000010005000100010000000500010001000000.\{8\}00000000040004000100000000000000' \
      || fail "$arch: file flags, OS or type differ"
    echo "$arch: $size bytes, imports $dlls"
  done
}

source "$(dirname "$0")/xvfb_lib.sh"

start_desktop() {
  start_x 1024x768x24
  openbox --sm-disable > /dev/null 2>&1 &
  PIDS+=($!)
  for _ in $(seq 200); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.05; done
  sleep 0.5 # openbox sets its properties before it has finished starting
}

find_window() { # title -> id
  local w="" deadline=$(( $(date +%s) + 60 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    w=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}

ink() { # x y w h of the main window's client area
  import -window root "$WORK/shot.png" 2>/dev/null
  local origin
  origin=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x","y}')
  "$BRELOX_READSCREEN" "$WORK/shot.png" --ink "$1" "$2" "$3" "$4" --origin "$origin"
}

wait_ink() { # x y w h: until the rectangle shows something
  local deadline=$(( $(date +%s) + 15 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    [ "$(ink "$@")" -gt 0 ] && return 0
    sleep 0.2
  done
  fail "nothing drawn at $*"
}

press() { xdotool windowactivate --sync "$1" 2>/dev/null || true; shift; xdotool key "$@" 2>/dev/null || true; }

wine() {
  start_desktop
  "$BRELOX_PORTS_TOOL" --dir "$WORK/ports" 7:loopback > "$WORK/ports.out" &
  PIDS+=($!)
  for _ in $(seq 100); do grep -q ready "$WORK/ports.out" 2>/dev/null && break; sleep 0.05; done
  export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i > "$WORK/wineboot.log" 2>&1 || fail "wineboot failed"
  ln -sfn "$(readlink -f "$WORK/ports/com7")" "$WINEPREFIX/dosdevices/com7"
  command wine "$(exe x86_64)" > "$WORK/wine.out" 2>&1 &
  local pid=$!
  WIN=$(find_window "Vostrelan Test") || fail "no window titled Vostrelan Test"
  local geometry
  geometry=$(xwininfo -id "$WIN")
  grep -q "Width: 584" <<<"$geometry" && grep -q "Height: 225" <<<"$geometry" || fail "client area: $geometry"
  wait_ink 10 20 560 16 # the banner
  [ "$(ink 140 126 100 16)" = 0 ] || fail "the receive line is not empty at start"
  press "$WIN" plus plus Down A B C Return
  wait_ink 140 126 24 16 # ABC came back from COM7
  [ "$(ink 164 126 100 16)" = 0 ] || fail "more than three cells on the receive line"
  press "$WIN" plus Down X Return # COM8: no such port
  local box
  box=$(find_window WARNING) || fail "no WARNING box for an absent port"
  press "$box" Return
  for _ in $(seq 100); do xdotool search --name '^WARNING$' > /dev/null 2>&1 || break; sleep 0.1; done
  xdotool search --name '^WARNING$' > /dev/null 2>&1 && fail "the box did not close"
  press "$WIN" Escape
  local code=0 deadline=$(( $(date +%s) + 20 ))
  while [ "$(date +%s)" -le "$deadline" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.2; done
  wait "$pid" || code=$?
  [ "$code" = 0 ] || fail "exit code $code"
}

"$1"
echo "PASS: $1"
