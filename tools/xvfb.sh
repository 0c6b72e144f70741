# Sourced: start_xvfb starts a private Xvfb on a display it picks itself and
# exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r n <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$n"
}
stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
