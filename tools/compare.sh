#!/usr/bin/env bash
# Side-by-side cost of navcal, an empty full-screen Qt window with a one-second
# clock label (built here as compare_emptywindow) and `xclock -digital -update 1`,
# each on a private Xvfb screen, trials interleaved so that a busy machine
# weighs on all three alike. Prints, per screen size, the median (and range) of:
#   mapped   ms from the start of the program to its first top-level window mapped
#   frame    ms from the start until that window's whole area has been drawn,
#            as the X server's damage reports tell (the first frame on screen)
#   cpu      CPU seconds per minute while idle after the fill: program + X server
#   wakeups  context switches per second while idle, all threads of the program
#   peak     peak resident memory of the program (VmHWM), MB
#
#   tools/compare.sh [BUILD_DIR]      (default: build)
# Environment: COMPARE_IDLE idle seconds (60), COMPARE_SETTLE seconds after the
# map before idling starts (4), COMPARE_TRIALS (3), COMPARE_SIZES
# ("1920x1080 3840x2160"), COMPARE_NAVCAL another navcal binary to measure,
# COMPARE_BASELINE a second navcal binary (an older build) measured in the same
# trials as an extra column, COMPARE_RAW a file that receives every trial's figures.
set -euo pipefail
build="${1:-build}"
idle="${COMPARE_IDLE:-60}"
settle="${COMPARE_SETTLE:-4}"
trials="${COMPARE_TRIALS:-3}"
sizes="${COMPARE_SIZES:-1920x1080 3840x2160}"
navcal="${COMPARE_NAVCAL:-$build/navcal}"
empty="$build/tools/compare/compare_emptywindow"
watch="$build/tools/compare/compare_mapwatch"
for f in "$navcal" "$empty" "$watch"; do
    [ -x "$f" ] || { echo "missing $f (build the project first)" >&2; exit 1; }
done
command -v xclock >/dev/null || { echo "xclock missing (package x11-apps)" >&2; exit 1; }
navcal="$(realpath "$navcal")"
baseline="${COMPARE_BASELINE:+$(realpath "$COMPARE_BASELINE")}"
empty="$(realpath "$empty")"
watch="$(realpath "$watch")"

. "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
work="$(mktemp -d)"
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill -KILL "$app" 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

# Nanoseconds on a CPU, per thread ("tid ns" lines): the scheduler's own
# account, finer than the clock ticks of /proc/PID/stat.
oncpu() {
    local t
    for t in /proc/"$1"/task/*; do
        echo "${t##*/} $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null || echo 0)"
    done
}
# The growth between two snapshots over the threads alive in both (a pooled
# thread that ends in between takes its count with it).
growth() {
    awk 'NR == FNR { before[$1] = $2; next } ($1 in before) { s += $2 - before[$1] }
         END { printf "%.0f\n", s }' "$1" "$2"
}
# Context switches, voluntary and not, per thread ("tid count" lines).
switches() {
    local t
    for t in /proc/"$1"/task/*; do
        echo "${t##*/} $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n + 0 }' \
            "$t/status" 2>/dev/null || echo 0)"
    done
}

# One trial: prints "mapped_ms cpu_s_per_min wakeups_per_s peak_mb frame_ms".
measure() {
    local result="$work/mapped" home="$work/home" runtime="$work/runtime"
    rm -rf "$result" "$home" "$runtime"
    mkdir -p "$home" "$runtime"
    chmod 700 "$runtime"
    # An empty home: no picture or music of the user's, the stored seascape.
    DISPLAY="$display" HOME="$home" XDG_RUNTIME_DIR="$runtime" \
        "$watch" "$result" 15000 "$@" >/dev/null 2>&1 &
    app=$!
    for _ in $(seq 170); do
        [ -s "$result" ] && break
        sleep 0.1
    done
    local mapped frame
    read -r mapped frame <"$result" 2>/dev/null || true
    mapped="${mapped:--1}"
    frame="${frame:--1}"
    sleep "$settle"
    local peak cpu woken
    oncpu "$app" >"$work/app0"; oncpu "$xvfb" >"$work/x0"; switches "$app" >"$work/s0"
    sleep "$idle"
    oncpu "$app" >"$work/app1"; oncpu "$xvfb" >"$work/x1"; switches "$app" >"$work/s1"
    cpu=$(($(growth "$work/app0" "$work/app1") + $(growth "$work/x0" "$work/x1")))
    woken="$(growth "$work/s0" "$work/s1")"
    peak="$(awk '/^VmHWM/ { print $2 }' "/proc/$app/status")"
    kill -TERM "$app" 2>/dev/null || true
    for _ in $(seq 30); do
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
    awk -v m="$mapped" -v t="$cpu" -v s="$woken" -v p="$peak" -v idle="$idle" -v f="$frame" \
        'BEGIN { printf "%s %.4f %.2f %.1f %s\n", m, t / 1e9 * 60 / idle, s / idle, p / 1024, f }'
}

# "median (min–max)" of a column of numbers.
summary() {
    sort -g | awk -v fmt="$1" '{ v[NR] = $1 } END {
        med = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf fmt " (" fmt "-" fmt ")", med, v[1], v[NR] }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "navcal: $navcal${baseline:+; baseline: $baseline}"
echo "idle window ${idle} s after ${settle} s of settling, ${trials} interleaved trials; load: $(cut -d' ' -f1-3 /proc/loadavg)"
for size in $sizes; do
    xvfb_start -screen 0 "${size}x24" || { echo "Xvfb did not start" >&2; exit 1; }
    raw="$work/raw-$size"
    : >"$raw"
    for trial in $(seq "$trials"); do
        # The first program of a trial starts slower (caches, a fresh server):
        # the two navcal builds take turns at going first.
        if [ -n "$baseline" ] && [ $((trial % 2)) -eq 1 ]; then
            echo "baseline $(measure "$baseline")" >>"$raw"
            echo "navcal $(measure "$navcal")" >>"$raw"
        else
            echo "navcal $(measure "$navcal")" >>"$raw"
            if [ -n "$baseline" ]; then echo "baseline $(measure "$baseline")" >>"$raw"; fi
        fi
        echo "empty $(measure "$empty")" >>"$raw"
        echo "xclock $(measure xclock -digital -update 1)" >>"$raw"
    done
    xvfb_stop
    [ -n "${COMPARE_RAW:-}" ] && sed "s/^/$size /" "$raw" >>"$COMPARE_RAW"

    col() { awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$raw"; }
    programs="${baseline:+baseline }navcal empty xclock"
    row() { # title column format
        printf "%-22s" "$1"
        for p in $programs; do printf "| %-22s" "$(col "$p" "$2" | summary "$3")"; done
        echo
    }
    echo
    printf "%-22s" "Screen $size"
    for p in $programs; do
        case "$p" in empty) name="empty Qt window+clock" ;; baseline) name="navcal (baseline)" ;; *) name="$p" ;; esac
        printf "| %-22s" "$name"
    done
    echo
    row "start to mapped, ms" 2 %.0f
    row "start to first frame" 6 %.0f
    row "idle CPU +X, s/min" 3 %.4f
    row "wake-ups per second" 4 %.2f
    row "peak RSS, MB" 5 %.1f
    w="${size%x*}"; h="${size#*x}"
    awk -v nm="$(col navcal 2 | median)" -v em="$(col empty 2 | median)" \
        -v nw="$(col navcal 4 | median)" -v ew="$(col empty 4 | median)" \
        -v nc="$(col navcal 3 | median)" -v xc="$(col xclock 3 | median)" \
        -v np="$(col navcal 5 | median)" -v ep="$(col empty 5 | median)" -v pic="$((w * h * 4))" \
        'BEGIN {
            budget = 1.3 * ep + pic / 1048576
            printf "goals: mapped %.2fx empty (<= 1.25); wake-ups %+.2f/s over empty (<= 0.7); ", nm / em, nw - ew
            printf "CPU %.4f vs xclock %.4f s/min; peak %.1f MB (budget %.1f)\n", nc, xc, np, budget }'
done
