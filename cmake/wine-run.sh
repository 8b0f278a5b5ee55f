#!/bin/sh
# Runs a Windows program under Wine: the CMAKE_CROSSCOMPILING_EMULATOR of the
# windows preset, and what the scripts start programs with.
#   wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The Wine prefix and the locale it needs live in the build folder that holds
# the program, so a run touches nothing of the user's own Wine.
# With VORKEL_WINE_DESKTOP=NAME,WIDTHxHEIGHT the program runs in a Wine
# virtual desktop of that name and size, which draws like a Windows screen,
# title bars and all (for screenshots; the program's exit status is lost).
set -e

program=$1
dir=$(cd "$(dirname "$program")" && pwd)
while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
    dir=$(dirname "$dir")
done
if [ ! -f "$dir/CMakeCache.txt" ]; then
    echo "wine-run.sh: $program is not inside a build folder" >&2
    exit 2
fi

state="$dir/wine"
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# No prompts to install Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# zh_CN.UTF-8 gives Wine the ANSI code page 936 that the program's texts are
# written for. Wine converts non-ASCII file names only when that locale
# exists, so build it here rather than touch the system's locales.
export LOCPATH="$state/locale"
export LC_ALL=zh_CN.UTF-8

# First use: the locale and the prefix. Then a server that outlives each
# program, which keeps Wine's start-up short and ends by itself a minute after
# the last one; whoever starts it also starts Wine's background processes,
# with their output going nowhere: started by a program under test they would
# inherit its output pipe and keep ctest waiting until they exit. All under
# a lock, since ctest starts several programs at once; the lock's descriptor
# is closed for the processes that stay behind, or they would hold the lock.
(
    flock 9
    if [ ! -e "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$LOCPATH"
        localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || {
            echo "wine-run.sh: localedef zh_CN.UTF-8 failed (Debian package: locales)" >&2
            exit 1
        }
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 9>&-
        wineserver -w 9>&-
    fi
    if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
        # A new server. Among its background processes is Wine's desktop,
        # whose display driver every later program takes over: started
        # without a display, it would leave them none to make windows with.
        # Without a display of the user's, it gets a virtual one that lives
        # as long as the server, and so do the programs (see below).
        rm -f "$state/display"
        if [ -z "${DISPLAY:-}" ]; then
            Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
                3>"$state/display.new" </dev/null >/dev/null 2>&1 9>&- &
            xvfb=$!
            for _ in $(seq 50); do
                [ -s "$state/display.new" ] && break
                sleep 0.1
            done
            if [ -s "$state/display.new" ]; then
                mv "$state/display.new" "$state/display"
                export DISPLAY=":$(cat "$state/display")"
                (wineserver -w; kill "$xvfb") </dev/null >/dev/null 2>&1 9>&- &
            else
                kill "$xvfb" 2>/dev/null || true
            fi
        fi
        wine wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
    # Our settings, once per prefix (the stamp is inside it). Windows are
    # placed and framed by Wine itself, not left to a window manager: there
    # is none on a bare virtual display, and Wine would wait for one about
    # 2 s at every window it closes. The dialogs' font, SimSun (宋体), is
    # not there: WenQuanYi Zen Hei Sharp, drawn from bitmaps at small sizes
    # as SimSun is, stands in for it. Marlett draws the caption buttons; it
    # comes with Wine, but not where Debian's Wine looks for it.
    if [ ! -f "$WINEPREFIX/vorkel-settings-2" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >/dev/null 2>&1 9>&-
        for face in SimSun 宋体; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
                /d 'WenQuanYi Zen Hei Sharp' /f </dev/null >/dev/null 2>&1 9>&-
        done
        if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
            cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        fi
        touch "$WINEPREFIX/vorkel-settings-2"
    fi
) 9>"$state/lock"

if [ -n "${VORKEL_WINE_DESKTOP:-}" ]; then
    set -- explorer "/desktop=$VORKEL_WINE_DESKTOP" "$@"
fi

# Without a display of the user's, programs use the server's virtual one;
# if there is none, those that open windows get one of their own.
if [ -z "${DISPLAY:-}" ] && [ -s "$state/display" ]; then
    export DISPLAY=":$(cat "$state/display")"
fi
if [ -z "${DISPLAY:-}" ] && [ -n "${VORKEL_NEEDS_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
exec wine "$@"
