#!/usr/bin/env bash
# How often a resting navcal wakes up: full screen, or inside a host's lent
# window (as a screensaver host runs it), on a private Xvfb. After the start
# has settled it counts, over a stretch of idle time:
#   switches  context switches per second, all threads of the program
#   polls     poll and ppoll calls per second, all threads (strace -c -f)
# The two are counted in separate runs, since strace itself wakes the program.
#
#   tools/wakeups.sh [BINARY] [full|inside]   (default: build/navcal inside)
# Environment: WAKEUPS_IDLE idle seconds (10), WAKEUPS_SETTLE seconds after the
# start before counting (5), WAKEUPS_RUNS runs of each count (2), WAKEUPS_LEND
# the lending tool (default: the one built beside BINARY).
set -euo pipefail
binary="$(realpath "${1:-build/navcal}")"
where="${2:-inside}"
idle="${WAKEUPS_IDLE:-10}"
settle="${WAKEUPS_SETTLE:-5}"
runs="${WAKEUPS_RUNS:-2}"
lend="$(realpath -m "${WAKEUPS_LEND:-$(dirname "$binary")/tools/compare/compare_lendwindow}")"
[ -x "$binary" ] || { echo "missing $binary (build the project first)" >&2; exit 1; }
[ "$where" = full ] || [ -x "$lend" ] || { echo "missing $lend" >&2; exit 1; }
command -v strace >/dev/null || { echo "strace missing (package strace)" >&2; exit 1; }

. "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
work="$(mktemp -d)"
app="" host=""
stop_all() {
    [ -n "$app" ] && kill -KILL "$app" 2>/dev/null || true
    [ -n "$host" ] && kill "$host" 2>/dev/null || true
    app="" host=""
    xvfb_stop
}
trap 'stop_all; rm -rf "$work"' EXIT

# Starts the program with an empty home; sets $app.
start() {
    xvfb_start -screen 0 1920x1080x24 || { echo "Xvfb did not start" >&2; exit 1; }
    local args=()
    if [ "$where" = inside ]; then
        coproc LEND { DISPLAY="$display" exec "$lend" 640 480; }
        host=$LEND_PID
        read -r id <&"${LEND[0]}"
        args=(-window-id "$id")
    fi
    mkdir -p "$work/home"
    env -i PATH="$PATH" HOME="$work/home" DISPLAY="$display" LANG=ru_RU.UTF-8 \
        SDL_AUDIODRIVER=dummy "$binary" "${args[@]}" >/dev/null 2>&1 &
    app=$!
    sleep "$settle"
    kill -0 "$app" 2>/dev/null || { echo "navcal ended early" >&2; exit 1; }
}

switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/ctxt_switches/ { s += $2 } END { print s + 0 }'
}

for run in $(seq "$runs"); do
    start
    before=$(switches "$app")
    sleep "$idle"
    after=$(switches "$app")
    stop_all
    awk -v n=$((after - before)) -v t="$idle" -v r="$run" \
        'BEGIN { printf "run %d  switches %.1f/s\n", r, n / t }'
done

for run in $(seq "$runs"); do
    start
    # Attached to every thread once the start has settled, so that only
    # the resting program is counted.
    taps=()
    for t in /proc/"$app"/task/*; do taps+=(-p "${t##*/}"); done
    strace -c -f -e trace=poll,ppoll -o "$work/strace" "${taps[@]}" 2>/dev/null &
    tracer=$!
    sleep "$idle"
    kill -INT "$tracer"
    wait "$tracer" 2>/dev/null || true
    stop_all
    awk -v t="$idle" -v r="$run" '$NF ~ /poll$/ { s += $4 }
        END { printf "run %d  polls %.1f/s\n", r, s / t }' "$work/strace"
done
