#!/usr/bin/env bash
# Takes the picture of the digest dialog for the documentation: the dialog in
# a Wine virtual desktop (title bar and system menu drawn as on Windows), a
# file chosen with Browse and its digest computed, cropped to the dialog.
#   scripts/screenshot.sh [OUTPUT.png]     (default: docs/screenshot.png)
# Uses the windows build (configured here if need be) and a display of its
# own. Best not run during a test run: the two share the build's Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-docs/screenshot.png}")

[ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target screenshot_driver >/dev/null
driver=build/windows/tests/app/screenshot_driver.exe
prefix=build/windows/wine/zh_CN.UTF-8/prefix

xvfb_pid=
driver_pid=
cleanup() {
    [ -z "$driver_pid" ] || kill "$driver_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

wait_for_file() { # FILE SECONDS
    for _ in $(seq $(($2 * 10))); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    echo "screenshot.sh: nothing came in $1" >&2
    return 1
}

. scripts/lib/virtual-display.sh
start_virtual_display

# The first run through wine-run.sh makes the prefix (the driver, called
# without arguments, only says how to call it).
cmake/wine-run.sh "$driver" >/dev/null 2>&1 || true

# The file to hash, in a folder on the Windows side, under a Chinese name;
# always the same bytes, so that the picture changes only with the dialog.
sample="$prefix/drive_c/Vorkel"
rm -rf "$sample"
mkdir -p "$sample"
printf 'MZ Vorkel sample\r\n' >"$sample/示例程序.exe"

VORKEL_WINE_DESKTOP=vorkel,800x600 cmake/wine-run.sh "$driver" \
    'C:\Vorkel\示例程序.exe' 'C:\Vorkel\ready' 'C:\Vorkel\done' >/dev/null 2>&1 &
driver_pid=$!
wait_for_file "$sample/ready" 60
sleep 1 # for Wine to finish drawing

# The virtual desktop sits at the top left of the display: the dialog's
# screen rectangle is where it is in the picture.
read -r left top right bottom <"$sample/ready"
mkdir -p "$(dirname "$output")"
import -display "$DISPLAY" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" \
    +repage "$output"
touch "$sample/done"
wait "$driver_pid" || true
driver_pid=
rm -rf "$sample"
echo "$output"
