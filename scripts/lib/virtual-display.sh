# Sourced by the scripts that need an X display when there is none.
# start_virtual_display [WxHxDEPTH]: starts Xvfb on a free display number and
# exports DISPLAY; xvfb_pid is its process, for the caller to stop.
start_virtual_display() {
    local numberfile
    numberfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp \
        3>"$numberfile" </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -s "$numberfile" ] && break
        sleep 0.1
    done
    if [ ! -s "$numberfile" ]; then
        rm -f "$numberfile"
        echo "$0: Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(cat "$numberfile")"
    rm -f "$numberfile"
}
