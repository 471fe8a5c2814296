#!/usr/bin/env bash
# Installs the Debian packages Brelox needs to build, run and test, when
# they are missing.  Usage: scripts/install-deps.sh [build|run|test|windows|bench]...
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config libpng-dev zlib1g-dev libx11-dev libncurses-dev console-setup-linux)
test_pkgs=(googletest libgtest-dev tmux xvfb xauth xfonts-base xdotool imagemagick openbox x11-utils procps)
windows_pkgs=(mingw-w64 icoutils wine wine64 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 xvfb xdotool imagemagick openbox x11-utils)
bench_pkgs=(libbenchmark-dev time cutecom gtkterm mingw-w64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)

wanted=()
for what in "${@:-build}"; do
  case "$what" in
    build|run) wanted+=("${build_pkgs[@]}") ;;
    test) wanted+=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
    windows) wanted+=("${windows_pkgs[@]}") ;;
    bench) wanted+=("${build_pkgs[@]}" "${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
    *) echo "install-deps: unknown set '$what'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
