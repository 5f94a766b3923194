# A private Xvfb for a script, sourced by the tools and the host test.
#   xvfb_start [SCREEN ARGUMENTS...]   default: -screen 0 1024x768x24
# sets $display (":N") and $xvfb (the server's pid), or returns 1 when the
# server did not come up within 10 s. The server picks a free display itself
# and says which once it takes clients, so two scripts started at once never
# share one and no client comes before it is ready.
#   xvfb_stop                          ends the server started last
xvfb_start() {
    local said
    said="$(mktemp)"
    [ $# -gt 0 ] || set -- -screen 0 1024x768x24
    Xvfb "$@" -displayfd 1 -dpi 96 -nolisten tcp -noreset >"$said" 2>/dev/null &
    xvfb=$!
    display=""
    for _ in $(seq 100); do
        if [ -s "$said" ]; then
            display=":$(head -n 1 "$said")"
            break
        fi
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$said"
    [ -n "$display" ] && return 0
    xvfb_stop
    return 1
}

xvfb_stop() {
    [ -n "${xvfb:-}" ] || return 0
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
}
