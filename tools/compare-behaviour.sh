#!/usr/bin/env bash
# Behaviour unchanged, pixel for pixel: records what a navcal binary shows at
# rest and after a few clicks, then checks another binary against that
# recording. Made for a redesign that must change nothing the user sees or a
# screen reader reads.
#
#   tools/compare-behaviour.sh record DIR BINARY   records into DIR (made anew)
#   tools/compare-behaviour.sh check  DIR BINARY   replays DIR's cases with
#       BINARY; one PASS/FAIL line per case, exit status 1 on any difference.
#       The new pictures, and a difference picture per failing case, go to a
#       fresh folder under /tmp whose name is printed at the end.
#
# Each case runs BINARY on a private Xvfb screen (96 dpi) with the wall clock
# frozen by libfaketime at 12:00:00 UTC of the case's date (the monotonic clock
# runs, so Qt's timers tick; the random generator, seeded from the wall clock,
# draws the same colours in every run), an empty home (the stored seascape, no
# music) and a fixed locale. Once the program is at rest (its accessibility
# tree unchanged for 3 s, longer than any start-up timer's period, and two
# screenshots 0.5 s apart identical) it takes:
#   CASE.png     the whole screen;
#   CASE.nodes   every top-level window and leaf of the accessibility tree
#                (role, name, description, extents), top to bottom;
#   CASE.tree    the whole tree in its order, indented by depth.
# `check` compares the pictures with ImageMagick (`compare -metric AE`, the
# number of differing pixels) and the .nodes with diff; both must be equal. A
# .tree that differs is reported but does not fail: containers and the order
# of children may change as long as the nodes a reader announces do not.
#
# Cases: screens 1024x768, 1920x1080 and 3840x2160, on 2026-02-23, 2026-07-26,
# 2026-12-09, 2024-02-29 and 2027-01-01 at ru_RU.UTF-8; the Sunday-first
# en_US.UTF-8 on the same dates at 1024x768 and 1920x1080 (the locale shows in
# the clock, the date line and the week's first day; it does not change the
# scaling, which the 4K cases cover). On 2026-02-23 at each screen size the run
# goes on with three clicks, each followed by a picture and a dump: February's
# title (CASE-title), the flag that recolours the weekday headers
# (CASE-header), and the ship dragged to the open sea (CASE-drag). Each dump
# is asked for only once the screen has changed after the action, so it cannot
# come before the program has taken it. The click places come from the
# recording's dump and are kept in DIR/*.clicks (the centres of the nodes
# named "Февраль", described "Выбор цвета шрифта дней недели" and
# "Отбуксируй меня на глубоководье!", and a drop point up-left of the ship by
# about twice its size), so both runs click the same pixels. `record` lists
# its cases in DIR/cases; `check` replays that list. `record` stops a case
# whose clock or date line does not show the frozen time, or whose drag did
# not move the ship; `check` notes it and compares all the same.
#
# The dump comes from a generic Qt plugin built with the project
# (tools/compare/accessdump.cpp; `cmake --build build --target
# compare_accessdump`), loaded into the program through QT_QPA_GENERIC_PLUGINS;
# it uses only Qt's public accessibility interfaces, so it works on any build.
#
# Environment: BEHAVIOUR_PLUGINS the plugin folder (default
# build/tools/compare/plugins), BEHAVIOUR_SIZES, BEHAVIOUR_DATES,
# BEHAVIOUR_SUNDAY_SIZES (sizes of the en_US cases; "" for none) narrow what
# `record` takes.
# Needs Xvfb, xdotool, ImageMagick and libfaketime (installed when
# missing and run as root); generates the two locales when missing.
set -euo pipefail

usage() {
    echo "usage: $0 record|check DIR BINARY" >&2
    exit 2
}
[ $# -eq 3 ] || usage
mode="$1"
dir="$2"
binary="$3"
case "$mode" in record | check) ;; *) usage ;; esac
[ -x "$binary" ] || { echo "no program at $binary" >&2; exit 2; }
binary="$(realpath "$binary")"
repo="$(cd "$(dirname "$0")/.." && pwd)"
plugins="${BEHAVIOUR_PLUGINS:-$repo/build/tools/compare/plugins}"
[ -e "$plugins/generic/libnavcalaccessdump.so" ] || {
    echo "no accessibility plugin in $plugins/generic: build it first" \
        "(cmake --build build --target compare_accessdump) or set BEHAVIOUR_PLUGINS" >&2
    exit 2
}
plugins="$(realpath "$plugins")"
main_locale=ru_RU.UTF-8
sunday_locale=en_US.UTF-8
click_date=2026-02-23
ship_tip="Отбуксируй меня на глубоководье!"
quiet_ms=3000

# --- what the runs need ---------------------------------------------------
faketime_lib=""
find_faketime() {
    local f
    for f in /usr/lib/*/faketime/libfaketimeMT.so.1 /usr/lib/faketime/libfaketimeMT.so.1; do
        [ -e "$f" ] && { faketime_lib="$f"; return 0; }
    done
    return 1
}
missing=()
for tool in Xvfb:xvfb xdotool:xdotool import:imagemagick compare:imagemagick \
    localedef:locales; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
find_faketime || missing+=(libfaketime)
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
        apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
        find_faketime
    else
        echo "missing packages: ${missing[*]} (apt-get install ${missing[*]})" >&2
        exit 2
    fi
fi
for loc in "$main_locale" "$sunday_locale"; do
    norm="${loc%%.*}.utf8"
    if ! grep -qx "$norm" <<<"$(locale -a 2>/dev/null)"; then
        if [ "$(id -u)" -eq 0 ]; then
            localedef -i "${loc%%.*}" -c -f UTF-8 "$loc"
        else
            echo "locale $loc missing: as root, localedef -i ${loc%%.*} -f UTF-8 $loc" >&2
            exit 2
        fi
    fi
done

. "$repo/tools/lib/xvfb.sh"
work="$(mktemp -d)"
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill -KILL "$app" 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

pointer() { DISPLAY="$display" xdotool "$@"; }
# Raw frames for the waits (a byte comparison is exact and quick even at 4K);
# the kept pictures are PNG at light compression (the default level takes
# seconds for a photograph).
grab() { import -display "$display" -window root -depth 8 "ppm:$1"; }
differing() { # pixels that differ between two pictures (a large number if they cannot be compared)
    local n
    n="$(compare -metric AE "$1" "$2" null: 2>&1 >/dev/null)" || true
    # Large counts may come in exponent form.
    [[ "$n" =~ ^[0-9.]+(e[+]?[0-9]+)?$ ]] && awk -v n="$n" 'BEGIN { printf "%.0f\n", n }' ||
        echo 999999999
}

# Runs the binary on the display with the wall clock frozen at noon of DATE.
launch() { # DATE LOCALE
    local home="$work/home"
    rm -rf "$home" "$work/dump"
    mkdir -p "$home/data" "$home/config" "$home/cache" "$home/runtime" "$work/dump"
    chmod 700 "$home/runtime"
    pointer mousemove 0 0 # over the bare background, where no tooltip waits
    env -i PATH="/usr/bin:/bin" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
        HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" \
        LANG="$2" LC_ALL="$2" TZ=UTC SDL_AUDIODRIVER=dummy \
        LD_PRELOAD="$faketime_lib" FAKETIME="$1 12:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
        QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS="navcalaccessdump:$work/dump" \
        NAVCAL_ACCESSDUMP_QUIET_MS="$quiet_ms" \
        "$binary" >"$work/log" 2>&1 &
    app=$!
}
finish() {
    kill -TERM "$app" 2>/dev/null || true
    for _ in $(seq 30); do
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
}

# Waits for the plugin's dump of a tree at rest; writes OUT.nodes and OUT.tree.
dump() { # OUT
    local tag
    tag="$(basename "$1")"
    echo "$tag" >"$work/dump/request.new"
    mv -f "$work/dump/request.new" "$work/dump/request"
    for _ in $(seq 600); do
        if [ ! -e "$work/dump/request" ] && [ -e "$work/dump/$tag.nodes" ]; then
            mv "$work/dump/$tag.nodes" "$1.nodes"
            mv "$work/dump/$tag.tree" "$1.tree"
            return 0
        fi
        kill -0 "$app" 2>/dev/null || { echo "the program ended: $(cat "$work/log")" >&2; return 1; }
        sleep 0.1
    done
    echo "no accessibility dump within 60 s (is the tree ever still?)" >&2
    return 1
}
# Waits for two screenshots 0.5 s apart alike; the last one is $work/last.ppm,
# the reference for the next change.
still_frame() {
    grab "$work/last.ppm"
    for _ in $(seq 40); do
        sleep 0.5
        grab "$work/now.ppm"
        cmp -s "$work/last.ppm" "$work/now.ppm" && return 0
        mv -f "$work/now.ppm" "$work/last.ppm"
    done
    echo "the screen never stood still" >&2
    return 1
}
still_picture() { # OUT: the still frame kept as OUT.png
    still_frame && convert "$work/last.ppm" -define png:compression-level=1 "$1.png"
}
# Waits (up to 10 s) until the screen differs from the last still frame;
# whether it did. After an action this is the fence that says the program has
# taken it: its dump is asked for only then.
screen_changes() {
    for _ in $(seq 20); do
        grab "$work/now.ppm"
        cmp -s "$work/last.ppm" "$work/now.ppm" || return 0
        sleep 0.5
    done
    return 1
}
at_rest() { # OUT
    dump "$1" && still_picture "$1"
}

# The centre of the first node of a dump whose name (field 2) or description
# (field 3) is TEXT, as "x y".
centre_of() { # NODES FIELD TEXT
    awk -F' [|] ' -v f="$2" -v t="$3" '$f == t {
        split($4, r, "[ ,x]"); printf "%d %d\n", r[1] + r[3] / 2, r[2] + r[4] / 2; exit }' "$1"
}

# The frozen clock and date stand in the dump: the clock label shows 12:00:00
# and some label the case's date (day and month in the locale's order).
shows_frozen_time() { # NODES DATE
    local y="${2%%-*}" m d
    m="$((10#$(echo "$2" | cut -d- -f2)))"
    d="$((10#${2##*-}))"
    grep -q '^StaticText | 12:00:00' "$1" &&
        grep -Eq "^StaticText \| (0?${d}[./]0?${m}|0?${m}[./]0?${d})[./]${y} " "$1"
}

# Where to click, from the picture at rest: "title x y", "header x y",
# "ship x y" (the centres of February's title, the flag and the ship) and
# "drop x y", up-left of the ship by about twice its size (open sea at every
# scale).
click_places() { # NODES
    echo "title $(centre_of "$1" 2 "Февраль")"
    echo "header $(centre_of "$1" 3 "Выбор цвета шрифта дней недели")"
    echo "ship $(centre_of "$1" 3 "$ship_tip")"
    awk -F' [|] ' -v t="$ship_tip" '$3 == t { split($4, r, "[ ,x]")
        printf "drop %d %d\n", r[1] + r[3] / 2 - r[3] * 1.65, r[2] + r[4] / 2 - r[4] * 2.7
        exit }' "$1"
}

# One run: the picture and dump at rest, then the clicks when asked. The
# click places are the recording's, so that both runs click the same pixels.
run_case() { # OUTDIR NAME DATE LOCALE CLICKS(yes|no) CLICKFILE
    local out="$1/$2" clicks="$6" x y tx ty step before after
    launch "$3" "$4"
    at_rest "$out" || { finish; return 1; }
    # A recording must show the frozen time; a check goes on to compare.
    if ! shows_frozen_time "$out.nodes" "$3"; then
        echo "$2: the clock or the date line does not show the frozen time $3 12:00:00" >&2
        [ "$mode" = record ] && { finish; return 1; }
    fi
    if [ "$5" != yes ]; then
        finish
        return 0
    fi
    if [ "$mode" = record ]; then
        click_places "$out.nodes" >"$clicks"
        if [ "$(awk 'NF == 3' "$clicks" | wc -l)" != 4 ]; then
            echo "$2: the title, flag or ship is missing from the dump" >&2
            finish
            return 1
        fi
    fi
    read -r _ x y < <(grep '^title ' "$clicks")
    pointer mousemove "$x" "$y" click 1 mousemove 0 0
    screen_changes || echo "$2: the title click changed nothing visible" >&2
    at_rest "$out-title" || { finish; return 1; }

    read -r _ x y < <(grep '^header ' "$clicks")
    pointer mousemove "$x" "$y" click 1 mousemove 0 0
    screen_changes || echo "$2: the flag click changed nothing visible" >&2
    at_rest "$out-header" || { finish; return 1; }

    read -r _ x y < <(grep '^ship ' "$clicks")
    read -r _ tx ty < <(grep '^drop ' "$clicks")
    pointer mousemove "$x" "$y" mousedown 1
    for step in 1 2 3 4 5 6 7 8 9 10; do
        pointer mousemove $((x + (tx - x) * step / 10)) $((y + (ty - y) * step / 10))
        sleep 0.05
    done
    # Released once the picture follows the pointer and stands still, as a
    # hand would; the drop is taken once that picture goes.
    screen_changes || echo "$2: no picture followed the pointer" >&2
    still_frame || { finish; return 1; }
    pointer mouseup 1 mousemove 0 0
    screen_changes || echo "$2: the drop changed nothing visible" >&2
    at_rest "$out-drag" || { finish; return 1; }
    # Recorded only when it moved: a drag not taken would hide the ship.
    before="$(grep -F "| $ship_tip |" "$out.nodes")"
    after="$(grep -F "| $ship_tip |" "$out-drag.nodes")"
    if [ "$mode" = record ] && { [ "$before" = "$after" ] || [[ "$after" == *invisible ]]; }; then
        echo "$2: the drag did not move the ship: $after" >&2
        finish
        return 1
    fi
    finish
}

# The case list: "size date locale clicks" per line.
case_list() {
    local size date
    for size in ${BEHAVIOUR_SIZES:-1024x768 1920x1080 3840x2160}; do
        for date in ${BEHAVIOUR_DATES:-2026-02-23 2026-07-26 2026-12-09 2024-02-29 2027-01-01}; do
            echo "$size $date $main_locale $([ "$date" = "$click_date" ] && echo yes || echo no)"
        done
    done
    for size in ${BEHAVIOUR_SUNDAY_SIZES-1024x768 1920x1080}; do
        for date in ${BEHAVIOUR_DATES:-2026-02-23 2026-07-26 2026-12-09 2024-02-29 2027-01-01}; do
            echo "$size $date $sunday_locale no"
        done
    done
}
name_of() { echo "$1_$2_${3%%_*}"; } # 1024x768_2026-02-23_ru

if [ "$mode" = record ]; then
    rm -rf "$dir"
    mkdir -p "$dir"
    case_list >"$dir/cases"
    {
        echo "binary: $binary"
        echo "sha256: $(sha256sum "$binary" | cut -d' ' -f1)"
        echo "recorded: $(date -u +%Y-%m-%dT%H:%M:%SZ) on $(uname -n)"
    } >"$dir/recorded.txt"
    out="$dir"
else
    [ -s "$dir/cases" ] || { echo "no recording in $dir (run record first)" >&2; exit 2; }
    out="$(mktemp -d /tmp/compare-behaviour.XXXXXX)"
fi

failed=0
current=""
while read -r size date loc clicks; do
    if [ "$size" != "$current" ]; then
        xvfb_stop
        xvfb_start -screen 0 "${size}x24" || { echo "Xvfb did not start" >&2; exit 2; }
        current="$size"
    fi
    name="$(name_of "$size" "$date" "$loc")"
    started=$SECONDS
    if ! run_case "$out" "$name" "$date" "$loc" "$clicks" "$dir/$name.clicks"; then
        echo "FAIL $name: the run did not complete"
        failed=1
        continue
    fi
    states=("$name")
    [ "$clicks" = yes ] && states+=("$name-title" "$name-header" "$name-drag")
    for state in "${states[@]}"; do
        if [ "$mode" = record ]; then
            echo "recorded $state ($((SECONDS - started)) s)"
            continue
        fi
        pixels="$(differing "$dir/$state.png" "$out/$state.png")"
        nodes="$(diff "$dir/$state.nodes" "$out/$state.nodes" | grep -c '^[<>]' || true)"
        tree="$(diff "$dir/$state.tree" "$out/$state.tree" | grep -c '^[<>]' || true)"
        verdict=PASS
        if [ "$pixels" != 0 ] || [ "$nodes" != 0 ]; then
            verdict=FAIL
            failed=1
            [ "$pixels" != 0 ] && compare "$dir/$state.png" "$out/$state.png" "$out/$state.diff.png" 2>/dev/null || true
        fi
        note=""
        [ "$tree" != 0 ] && note=" (tree order/containers: $tree lines differ)"
        echo "$verdict $state: $pixels pixels differ, $nodes node lines differ$note"
    done
done <"$dir/cases"
xvfb_stop

if [ "$mode" = check ]; then
    echo "new pictures and dumps: $out"
    [ "$failed" = 0 ] && echo "behaviour unchanged" || echo "behaviour CHANGED"
fi
exit "$failed"
