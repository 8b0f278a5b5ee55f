#!/usr/bin/env bash
# Sets up, builds Vorkel.exe and starts it under Wine (Chinese locale, so the
# ANSI code page is 936).
# With a display ($DISPLAY set), the window opens there; the script returns
# when the program ends. Without one, the program runs on a virtual display:
# the script saves a screenshot of its window, prints the PNG's path and
# ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vorkel >/dev/null
exe=build/windows/app/Vorkel.exe

if [ -n "${DISPLAY:-}" ]; then
    exec cmake/wine-run.sh "$exe"
fi

xvfb_pid=
vorkel_pid=
cleanup() {
    if [ -n "$vorkel_pid" ]; then
        kill "$vorkel_pid" 2>/dev/null || true
        wait "$vorkel_pid" 2>/dev/null || true
    fi
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

. scripts/lib/virtual-display.sh
start_virtual_display

echo "No display: running Vorkel on a virtual one for a screenshot."
cmake/wine-run.sh "$exe" 2>/dev/null &
vorkel_pid=$!

# Wine gives each top-level window an X window named after its caption. The
# first run also makes the Wine prefix, which takes a while.
window=
for _ in $(seq 600); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tesmoor MD5/ { print $1; exit }' || true)
    [ -n "$window" ] && break
    kill -0 "$vorkel_pid" 2>/dev/null || { echo "run.sh: Vorkel ended early" >&2; exit 1; }
    sleep 0.2
done
[ -n "$window" ] || { echo "run.sh: Vorkel's window did not appear" >&2; exit 1; }
sleep 1 # let it finish drawing

shot=$PWD/build/windows/Vorkel-window.png
import -window "$window" "$shot"
echo "$shot"
