# Wine for the programs of one build folder, sourced by cmake/wine-run.sh and
# the scripts (POSIX sh):
#   wine_session BUILD_DIR   sets up the environment in which the build's
#                            Windows programs run, and a Wine server with a
#                            display for them;
#   wine_session_end BUILD_DIR  ends every server of that build, and with
#                            them the virtual displays they were given.
# Each locale has a Wine prefix of its own under BUILD_DIR/wine, so a run
# touches nothing of the user's own Wine. The locale is $VORKEL_LOCALE
# (default zh_CN.UTF-8): the Unix locale Wine takes its ANSI code page and
# its language from. $VORKEL_DPI, when set, is the prefix's screen resolution
# from then on (each program reads it as it starts). $VORKEL_MONITORS=N (2 or
# more) gives a session of its own, prefix and all: N monitors of 1024x768
# side by side, the first the primary one, on a virtual display of its own
# even where there is a display.

wine_session() {
    VORKEL_LOCALE=${VORKEL_LOCALE:-zh_CN.UTF-8}
    _wine_root="$(cd "$1" && pwd)/wine" # Wine takes only an absolute prefix
    _wine_state="$_wine_root/$VORKEL_LOCALE${VORKEL_MONITORS:+-$VORKEL_MONITORS-monitors}"
    mkdir -p "$_wine_state"
    export WINEPREFIX="$_wine_state/prefix"
    export WINEDEBUG=-all
    # No prompts to install Mono or Gecko: nothing here needs them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # Wine converts non-ASCII file names only when the locale exists: build
    # it here rather than touch the system's locales.
    export LOCPATH="$_wine_root/locale"
    # (A shell that sources this can't see LOCPATH itself and says it can't
    # take the locale: only the programs it starts need it.)
    { export LC_ALL="$VORKEL_LOCALE"; } 2>/dev/null

    # All under a lock, since ctest starts several programs at once. The
    # processes that stay behind (the server, its display) get the lock's
    # descriptor closed, or they would hold the lock.
    (
        flock 9
        _wine_make_locale || exit 1
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i </dev/null >/dev/null 2>&1 9>&-
            # Monitors that share one X screen reach Wine through Xinerama
            # only: through XRandR it sees a single one. Set before any
            # server with a display has read the list.
            if [ -n "${VORKEL_MONITORS:-}" ]; then
                wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f \
                    </dev/null >/dev/null 2>&1 9>&-
            fi
            wineserver -w 9>&-
        fi
        _wine_start_server || exit 1
        _wine_settings
        _wine_set_dpi
    ) 9>"$_wine_state/lock" || return 1

    # Every program of the session uses the display its server was given.
    if [ -s "$_wine_state/display" ]; then
        DISPLAY=$(cat "$_wine_state/display")
        export DISPLAY
    fi
}

wine_session_end() {
    for _wine_prefix in "$(cd "$1" && pwd)"/wine/*/prefix; do
        [ -d "$_wine_prefix" ] || continue
        WINEPREFIX="$_wine_prefix" wineserver -k 2>/dev/null || true
        # The watcher stops the server's virtual display once it has gone.
        WINEPREFIX="$_wine_prefix" wineserver -w 2>/dev/null || true
    done
}

_wine_make_locale() {
    [ -e "$LOCPATH/$VORKEL_LOCALE/LC_CTYPE" ] && return 0
    mkdir -p "$LOCPATH"
    localedef -i "${VORKEL_LOCALE%%.*}" -f UTF-8 "$LOCPATH/$VORKEL_LOCALE" >/dev/null 2>&1 && return 0
    echo "wine-session: localedef $VORKEL_LOCALE failed (Debian package: locales)" >&2
    return 1
}

# A server that outlives each program keeps Wine's start-up short; it ends by
# itself five minutes after the last program (a server ending just as the
# next program of a test run comes would take the display from under it;
# wine_session_end ends it at once). Whoever starts it also starts
# Wine's background processes, among them its desktop, whose display driver
# every later program takes over: that display is recorded for them. Without
# a display of the user's, the server gets a virtual one that lives as long
# as it does. Background processes get no output: started by a program under
# test they would inherit its output pipe and keep ctest waiting.
_wine_start_server() {
    wineserver -p300 </dev/null >/dev/null 2>&1 9>&- || return 0 # one runs already
    if [ -n "${DISPLAY:-}" ] && [ -z "${VORKEL_MONITORS:-}" ]; then
        echo "$DISPLAY" >"$_wine_state/display"
    else
        rm -f "$_wine_state/display.new"
        # Several monitors: one wide screen, split below. Without -noreset
        # the server would drop the split when its last client leaves.
        _wine_screen=1280x1024 _wine_reset=
        if [ -n "${VORKEL_MONITORS:-}" ]; then
            _wine_screen="$((VORKEL_MONITORS * 1024))x768" _wine_reset=-noreset
        fi
        Xvfb -displayfd 3 -screen 0 "${_wine_screen}x24" $_wine_reset -nolisten tcp \
            3>"$_wine_state/display.new" </dev/null >/dev/null 2>&1 9>&- &
        _wine_xvfb=$!
        for _ in $(seq 50); do
            [ -s "$_wine_state/display.new" ] && break
            sleep 0.1
        done
        if [ ! -s "$_wine_state/display.new" ]; then
            kill "$_wine_xvfb" 2>/dev/null
            wineserver -k
            echo "wine-session: Xvfb did not start" >&2
            return 1
        fi
        echo ":$(cat "$_wine_state/display.new")" >"$_wine_state/display"
        if ! _wine_split_screen; then
            kill "$_wine_xvfb" 2>/dev/null
            wineserver -k
            echo "wine-session: xrandr could not split the screen (Debian package: x11-xserver-utils)" >&2
            return 1
        fi
        (wineserver -w; kill "$_wine_xvfb") </dev/null >/dev/null 2>&1 9>&- &
    fi
    DISPLAY=$(cat "$_wine_state/display") wine wineboot </dev/null >/dev/null 2>&1 9>&-
}

# $VORKEL_MONITORS monitors of 1024x768 side by side on the virtual display
# (RandR 1.5 monitors, which Wine reads through Xinerama). The first takes
# the screen's output, which would otherwise stay a monitor of the whole
# screen besides them: it is the primary one.
_wine_split_screen() {
    [ -n "${VORKEL_MONITORS:-}" ] || return 0
    _wine_output=$(DISPLAY=$(cat "$_wine_state/display") xrandr 2>/dev/null 9>&- |
        awk '/ connected/ { print $1; exit }')
    [ -n "$_wine_output" ] || return 1
    _wine_i=0
    while [ "$_wine_i" -lt "$VORKEL_MONITORS" ]; do
        DISPLAY=$(cat "$_wine_state/display") xrandr --setmonitor "vorkel-$_wine_i" \
            "1024/271x768/203+$((_wine_i * 1024))+0" "$_wine_output" \
            </dev/null >/dev/null 2>&1 9>&- || return 1
        _wine_i=$((_wine_i + 1)) _wine_output=none
    done
}

# Our settings, once per prefix (the stamp is inside it). Windows are placed
# and framed by Wine itself, not left to a window manager: there is none on a
# virtual display, and Wine would wait for one about 2 s at every window it
# closes. Marlett draws the caption buttons; it comes with Wine, but not where
# Debian's Wine looks for it. Fonts are left as a stock prefix has them: no
# SimSun (宋体), the dialogs' font, which the program must get by without.
# A program that crashes starts no debugger (an empty AeDebug Debugger:
# without the value Wine starts winedbg all the same; and should one start,
# no crash dialog): it ends at once and its test fails, instead of hanging
# until ctest's timeout.
_wine_settings() {
    [ "$(cat "$WINEPREFIX/vorkel-settings" 2>/dev/null)" = 2 ] && return 0
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1 9>&-
    for _wine_key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
        wine reg add "$_wine_key" /v Debugger /d '' /f </dev/null >/dev/null 2>&1 9>&-
    done
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >/dev/null 2>&1 9>&-
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    echo 2 >"$WINEPREFIX/vorkel-settings" # the settings' version: prefixes of before get these
}

# Wine's LogPixels, as Windows' display scaling: 96 is 100 %, 144 is 150 %.
_wine_set_dpi() {
    [ -n "${VORKEL_DPI:-}" ] || return 0
    [ "$(cat "$_wine_state/dpi" 2>/dev/null)" = "$VORKEL_DPI" ] && return 0
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VORKEL_DPI" /f \
        </dev/null >/dev/null 2>&1 9>&-
    echo "$VORKEL_DPI" >"$_wine_state/dpi"
}
