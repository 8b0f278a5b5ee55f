#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vorkel need.
# Quiet and quick when everything is there already; otherwise one
# `apt-get update`, then one `apt-get install` of what is missing.
set -euo pipefail

packages=(
    # native build, tests and benchmark
    cmake ninja-build g++ googletest libssl-dev libbenchmark-dev openssl time
    # the fuzz target: clang with libFuzzer and the sanitizers' runtimes
    clang-14 libclang-rt-14-dev
    # the Windows build and running it under Wine on a virtual display
    mingw-w64 wine wine64 xvfb xauth x11-utils locales
    # xrandr: a virtual display split into two monitors
    x11-xserver-utils
    # the release package's test unpacks it as a user does
    unzip
    # screenshots: Chinese glyphs and PNG handling; the clipboard set and
    # a click made as a user makes them
    fonts-wqy-zenhei imagemagick xclip xdotool
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
echo "setup: done"
