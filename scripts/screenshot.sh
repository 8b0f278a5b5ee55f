#!/usr/bin/env bash
# Takes a picture of Vorkel.exe's window: the program started in a Wine
# virtual desktop (title bar and system menu drawn as on Windows) by a driver
# that chooses a sample file with Browse and computes its digest, and the
# screen cropped to the window.
#   scripts/screenshot.sh [--dpi N] [--fresh | --chooser | --match | --mismatch | --sha256 |
#                         --copy TEXT] [OUTPUT.png]
#     --dpi N     the screen's resolution (Wine's LogPixels; default 96)
#     --fresh     the window as it opens, before any file is chosen
#     --chooser   the file chooser that Browse opens over it, in the sample
#                 files' folder
#     --match     the verdict on the digest: the sample's MD5 copied to the
#                 clipboard (by xclip, as a browser copies it), then a click
#                 on 生成MD5 (by xdotool, as the user clicks)
#     --mismatch  the same with another MD5 copied
#     --sha256    the same with the sample's SHA-256 copied
#     --copy TEXT the same with TEXT copied ({md5}, {sha1}, {sha256}, {sha384}
#                 and {sha512} in it stand for the sample's digests)
#     OUTPUT      default docs/screenshot-<N>dpi.png (with --chooser
#                 docs/screenshot-chooser-<N>dpi.png, with --match
#                 docs/screenshot-match-<N>dpi.png, and so on)
# The virtual desktop is 1024x768 at 96 DPI and grows with the DPI, up to
# the display's size.
# Uses the windows build (configured here if need be) and its Wine session
# (a virtual display when there is no display). Prints the picture's path.
set -euo pipefail
cd "$(dirname "$0")/.."
dpi=96 fresh= chooser= verdict= copy= output=
while [ $# -gt 0 ]; do
    case "$1" in
        --dpi) dpi=$2; shift 2 ;;
        --fresh) fresh=1; shift ;;
        --chooser) chooser=1; shift ;;
        --match | --mismatch | --sha256) verdict=${1#--}; shift ;;
        --copy) verdict=copy copy=$2; shift 2 ;;
        *) output=$1; shift ;;
    esac
done
kind=${chooser:+chooser-}${verdict:+$verdict-}
output=$(realpath -m "${output:-docs/screenshot-${kind}${dpi}dpi.png}")
build=$PWD/build/windows

[ -f "$build/CMakeCache.txt" ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target vorkel_shot >/dev/null

export VORKEL_DPI=$dpi
. cmake/wine-session.sh
wine_session "$build"
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }

work="$WINEPREFIX/drive_c/vorkel-shot"
driver_pid= xclip_pid=
cleanup() {
    [ -z "$driver_pid" ] || kill "$driver_pid" 2>/dev/null || true
    [ -z "$xclip_pid" ] || kill "$xclip_pid" 2>/dev/null || true
    rm -rf "$work"
    VORKEL_DPI=96 wine_session "$build" # as the prefix's other users expect it
}
trap cleanup EXIT

# The file to hash, in a folder on the Windows side, under a Chinese name;
# always the same bytes, so that the picture changes only with the window.
rm -rf "$work"
mkdir -p "$work"
printf 'MZ Vorkel sample\r\n' >"$work/示例程序.exe"
sample=()
[ -n "$fresh" ] || sample=('C:\vorkel-shot\示例程序.exe')
if [ -n "$chooser" ]; then
    # Names in Chinese and Japanese for the chooser to list.
    printf 'MZ\r\n' >"$work/サンプル.exe"
    sample=(--chooser 'C:\vorkel-shot')
fi
if [ -n "$verdict" ]; then
    # What the user copied from the download page: the sample's MD5, or
    # another one. xclip holds the clipboard until the picture is taken.
    digest() { "$1" <"$work/示例程序.exe" | cut -d' ' -f1; }
    case $verdict in
        match) copy='MD5: {md5}' ;;
        mismatch) copy='MD5: 9e107d9d372bb6826bd81d3542a419d6' ;;
        sha256) copy='SHA256 (示例程序.exe) = {sha256}' ;;
    esac
    for tool in md5 sha1 sha256 sha384 sha512; do
        copy=${copy//\{$tool\}/$(digest ${tool}sum)}
    done
    printf '%s' "$copy" | xclip -quiet -selection clipboard -display "$DISPLAY" >/dev/null 2>&1 &
    xclip_pid=$!
    sample=(--click "${sample[0]}" 'C:\vorkel-shot\shown')
fi

desktop=$((1024 * dpi / 96))x$((768 * dpi / 96))
[ "$dpi" -le 120 ] || desktop=1280x1024
VORKEL_WINE_DESKTOP=vorkel,$desktop cmake/wine-run.sh "$build/tests/e2e/vorkel_shot.exe" \
    "$(windows_path "$build/app/Vorkel.exe")" 'C:\vorkel-shot\ready' 'C:\vorkel-shot\done' \
    "${sample[@]}" >/dev/null 2>&1 &
driver_pid=$!
for _ in $(seq 600); do
    [ -s "$work/ready" ] && break
    kill -0 "$driver_pid" 2>/dev/null || { echo "screenshot.sh: the driver ended early" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/ready" ] || { echo "screenshot.sh: Vorkel's window did not come" >&2; exit 1; }

# The virtual desktop sits at the top left of the display: the window's
# screen rectangle is where it is in the picture.
{ read -r left top right bottom; read -r x y || true; } <"$work/ready"
if [ -n "$verdict" ]; then
    # A click on 生成MD5, and the picture once the balloon is up.
    xdotool mousemove --sync "$x" "$y" click 1 mousemove 0 0
    for _ in $(seq 300); do
        [ -s "$work/shown" ] && break
        sleep 0.1
    done
    [ -s "$work/shown" ] || { echo "screenshot.sh: no balloon came" >&2; exit 1; }
    read -r left top right bottom <"$work/shown"
fi
mkdir -p "$(dirname "$output")"
import -display "$DISPLAY" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" \
    +repage "$output"
touch "$work/done"
wait "$driver_pid" || true
driver_pid=
echo "$output"
