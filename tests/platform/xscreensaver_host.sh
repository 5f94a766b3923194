#!/usr/bin/env bash
# A real screensaver daemon on a private Xvfb screen, with navcal as its only
# display program: activating shows the calendar in the daemon's window,
# deactivating ends navcal with code 0 and leaves nothing behind: no file in
# the home and, once the host has gone too, no process (a bus started for the
# display would be one).
#   xscreensaver_host.sh xscreensaver|mate NAVCAL_BINARY [SCREENSHOT.png]
# MATE's daemon runs one copy per monitor, each in the reduced environment it
# gives its programs. Xvfb's monitors cannot show it (the daemon counts only
# monitors with an output of their own, and Xvfb has one output a screen), so
# a second copy in that same environment runs in a window on a second X
# screen. The daemon's copy is then stopped and continued, as the daemon does
# around its unlock dialog, and must at once show what the second one shows.
set -euo pipefail
kind="$1"
source_binary="$2"
shot="${3:-}"
tools=(Xvfb import identify compare convert display strace setpriv)
case "$kind" in
xscreensaver) tools+=(xscreensaver xscreensaver-command) ;;
mate) tools+=(mate-screensaver mate-screensaver-command dbus-launch) ;;
*) echo "usage: $0 xscreensaver|mate NAVCAL_BINARY [SCREENSHOT.png]"; exit 2 ;;
esac
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/bootstrap.sh installs it)"; exit 1; }
done
# MATE runs only programs that lie in the display programs' folder. In a
# mount namespace of its own the test lends it one without touching the
# system's; where none can be made, a copy goes there for the test's length.
trusted=/usr/libexec/xscreensaver
if [ "$kind" = mate ] && [ -z "${NAVCAL_OWN_MOUNTS:-}" ] && unshare -m true 2>/dev/null; then
    exec env NAVCAL_OWN_MOUNTS=1 unshare -m bash "$0" "$@"
fi

work="$(mktemp -d)"
chmod 755 "$work"
home="$work/home"
mkdir -m 700 "$home"
# A copy the host's user can reach wherever the build tree lies.
binary="$work/navcal"
install -m 755 "$source_binary" "$binary"
screens=(-screen 0 1024x768x24)
[ "$kind" = mate ] && screens+=(-screen 1 1024x768x24)
. "$(dirname "$0")/../../tools/lib/xvfb.sh"
xvfb_start "${screens[@]}" || { echo "FAIL: Xvfb did not come up"; rm -rf "$work"; exit 1; }

# Neither daemon starts a display program as root: run the host as nobody then.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
host_env=(PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home" DISPLAY="$display")
# A sanitizer build's options, for the host to pass on.
for variable in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    [ -n "${!variable:-}" ] && host_env+=("$variable=${!variable}")
done
host() { "${as_user[@]}" env -i "${host_env[@]}" "$@"; }

trusted_copy=""
parent=()
bus_pid=""
viewer=""
cleanup() {
    case "$kind" in
    xscreensaver) host xscreensaver-command -exit >/dev/null 2>&1 || true ;;
    mate) host mate-screensaver-command --exit >/dev/null 2>&1 || true ;;
    esac
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
    [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
    [ -n "$trusted_copy" ] && rm -f "$trusted_copy"
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
fail() { echo "FAIL: $*"; echo "--- host log:"; cat "$work/host.log" || true; exit 1; }

case "$kind" in
xscreensaver)
    program="$binary"
    cat >"$home/.xscreensaver" <<CONF
mode: one
selected: 0
programs: $binary --root \\n
lock: False
fade: False
unfade: False
splash: False
timeout: 0:30:00
CONF
    "${as_user[@]}" chmod 644 "$home/.xscreensaver" 2>/dev/null || true
    ;;
mate)
    if [ -n "${NAVCAL_OWN_MOUNTS:-}" ]; then
        mkdir "$work/trusted"
        cp "$binary" "$work/trusted/navcal"
        mount --bind "$work/trusted" "$trusted"
        program="$trusted/navcal"
    else
        trusted_copy="$trusted/navcal-test-$$"
        install -m 755 "$binary" "$trusted_copy"
        program="$trusted_copy"
    fi
    # The entry as the package installs it, but for the program's place.
    mkdir -p "$work/share/applications/screensavers"
    sed "s|/usr/libexec/xscreensaver/navcal|$program|g" \
        "$(dirname "$0")/../../packaging/linux/navcal-screensaver.desktop" \
        >"$work/share/applications/screensavers/navcal.desktop"
    chmod -R a+rX "$work/share"
    # Its own session bus and settings, kept out of the home that navcal must
    # leave as it found it; what it must not pass on is set too.
    mkdir -m 700 "$work/runtime" "$work/config"
    [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$work/runtime" "$work/config"
    host_env+=(XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_DIRS="$work/share:/usr/share"
        XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/config" GSETTINGS_BACKEND=keyfile LANG=C.UTF-8 LC_TIME=C.UTF-8)
    bus="$(host dbus-launch --sh-syntax)"
    bus_pid="$(sed -n "s/^DBUS_SESSION_BUS_PID=\([0-9]*\);/\1/p" <<<"$bus")"
    host_env+=("$(sed -n "s/^\(DBUS_SESSION_BUS_ADDRESS=\)'\(.*\)';/\1\2/p" <<<"$bus")")
    host gsettings set org.mate.screensaver mode single
    host gsettings set org.mate.screensaver themes "['screensavers-navcal']"
    host gsettings set org.mate.screensaver lock-enabled false
    ;;
esac
# What lies in the home, but for the font library's cache: fontconfig writes
# one there whenever the system's is being rebuilt, and it is not navcal's.
listing() { (cd "$home" && find . -path ./.cache/fontconfig -prune -o -print | grep -vx './.cache' | sort); }
# The processes this run started, by the home they all carry: another copy
# of the suite runs the same program from the same place.
ours() {
    local environ
    for environ in /proc/[0-9]*/environ; do
        grep -qxF "HOME=$home" <<<"$(tr '\0' '\n' 2>/dev/null <"$environ")" && echo "${environ%/environ}"
    done
    return 0
}
before="$(listing)"

case "$kind" in
xscreensaver)
    host xscreensaver -no-splash -verbose >"$work/host.log" 2>&1 &
    daemon=$!
    for _ in $(seq 150); do host xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.2; done
    host xscreensaver-command -activate >/dev/null || fail "the host does not answer"
    ;;
mate)
    # Its programs are its children, found by their parent.
    "${as_user[@]}" env -i "${host_env[@]}" mate-screensaver --no-daemon >"$work/host.log" 2>&1 &
    daemon=$!
    parent=(-P "$daemon")
    for _ in $(seq 150); do host mate-screensaver-command --query >/dev/null 2>&1 && break; sleep 0.2; done
    host mate-screensaver-command --activate >/dev/null || fail "the host does not answer"
    ;;
esac

# On a busy machine the host can be ending a copy it started a moment before
# while its next one starts: the copy that stays is the one watched.
pids=()
for _ in $(seq 150); do
    mapfile -t pids < <(pgrep "${parent[@]}" -f -x -- "$program --root" || true)
    [ "${#pids[@]}" -eq 1 ] && break
    sleep 0.2
done
[ "${#pids[@]}" -eq 1 ] || fail "the host started ${#pids[@]} navcal processes, not one"
if [ "$kind" = mate ]; then
    # The second monitor's copy: the daemon's environment, its own window.
    convert -size 1024x768 xc:black "$work/black.png"
    display -display "$display.1" -borderwidth 0 -geometry +0+0 -title second "$work/black.png" &
    viewer=$!
    # Taken once it is shown at its full size: a copy sizes its calendar to
    # the lent window when it starts.
    second=""
    for _ in $(seq 100); do
        info="$(xwininfo -display "$display.1" -name second 2>/dev/null || true)"
        if grep -q 'IsViewable' <<<"$info" && grep -q 'Width: 1024' <<<"$info" && grep -q 'Height: 768' <<<"$info"; then
            second="$(sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info")"
            break
        fi
        sleep 0.1
    done
    [ -n "$second" ] || fail "no window for the second copy"
    mapfile -t inherited < <(tr '\0' '\n' <"/proc/${pids[0]}/environ" | grep -v -e '^XSCREENSAVER_WINDOW=' -e '^DISPLAY=')
    "${as_user[@]}" env -i "${inherited[@]}" DISPLAY="$display.1" XSCREENSAVER_WINDOW="$second" \
        "$program" --root >>"$work/host.log" 2>&1 &
    pids+=($!)
fi
tracers=()
for pid in "${pids[@]}"; do
    strace -q -e trace=none -e signal=none -o "$work/exit.$pid" -p "$pid" &
    tracers+=($!)
done
# The calendar over the seascape has thousands of colours; the host's own
# blank screen has one. Then the clock ticks: the screen changes. (On the
# default screen, the daemon's.)
colours=0
for _ in $(seq 150); do
    DISPLAY="$display" import -window root "$work/one.png"
    colours="$(identify -format %k "$work/one.png")"
    [ "$colours" -gt 2000 ] && break
    sleep 0.2
done
[ "$colours" -gt 2000 ] || fail "only $colours colours on the screen"
[ -n "$shot" ] && cp "$work/one.png" "$shot"
changed=0
for _ in $(seq 50); do
    DISPLAY="$display" import -window root "$work/two.png"
    changed="$(compare -metric AE "$work/one.png" "$work/two.png" null: 2>&1 || true)"
    [ "${changed%% *}" -gt 0 ] 2>/dev/null && break
    sleep 0.2
done
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "the screen did not change between two shots ($changed)"
windows=""
for pid in "${pids[@]}"; do
    if [ "$kind" = xscreensaver ]; then
        window="$(sed -n 's/.*forked ".*" in pid '"$pid"' on window \(0x[0-9a-f]*\).*/\1/p' "$work/host.log" | tail -1)"
    else
        window="$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')"
    fi
    [ -n "$window" ] || fail "no host's window is known for navcal $pid"
    grep -q '"Form1"' <<<"$(DISPLAY="$display" xwininfo -tree -id "$window")" || fail "navcal's window is not inside the host's $window"
    windows+=" $window"
done

if [ "$kind" = mate ]; then
    environment="$(tr '\0' '\n' <"/proc/${pids[0]}/environ")"
    for variable in XDG_RUNTIME_DIR LC_TIME; do
        grep -q "^$variable=" <<<"$environment" && fail "the host passed $variable: not its reduced environment"
    done
    # Each monitor's copy draws the same calendar: the screens match but for
    # a second's tick now and then.
    halves() {
        import -display "$display.0" -window root "$work/first.png" &
        import -display "$display.1" -window root "$work/second.png"
        wait $!
        compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1 || true
    }
    same_within() { # tries for $1 seconds
        local end=$((SECONDS + $1))
        while ((SECONDS < end)); do
            [ "$(halves)" = 0 ] && return 0
        done
        return 1
    }
    same_within 15 || fail "the two monitors' calendars differ: $(halves) pixels"
    kill -STOP "${pids[0]}"
    sleep 6
    [ "$(halves)" != 0 ] || fail "a stopped copy still looks like the running one"
    kill -CONT "${pids[0]}"
    # Caught up at once: a clock that replayed, or kept counting from where it
    # stopped, would stay behind for longer than this.
    same_within 5 || fail "after it continued, the stopped copy still differs: $(halves) pixels"
    # The second copy is ours to end, as the daemon ends its own.
    kill -TERM "${pids[1]}"
fi

case "$kind" in
xscreensaver) host xscreensaver-command -deactivate >/dev/null ;;
mate) host mate-screensaver-command --deactivate >/dev/null ;;
esac
for pid in "${pids[@]}"; do
    for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    # What the process was doing, should it ever be found still running.
    kill -0 "$pid" 2>/dev/null && fail "navcal still runs after deactivation: threads $(ps -o stat=,wchan:24= -L -p "$pid" | tr -s ' \n' ' ')| $(grep -E '^(State|SigPnd|ShdPnd|SigBlk)' "/proc/$pid/status" | tr -s '\t\n' ' ')"
done
for tracer in "${tracers[@]}"; do wait "$tracer" || true; done
for pid in "${pids[@]}"; do
    grep -q '+++ exited with 0 +++' "$work/exit.$pid" || fail "navcal ended otherwise: $(cat "$work/exit.$pid")"
done
for process in $(ours); do
    [ "$(tr '\0' ' ' <"$process/cmdline" 2>/dev/null)" = "$program --root " ] && fail "a navcal process is left: ${process#/proc/}"
done
after="$(listing)"
[ "$before" = "$after" ] || fail "files were left behind: $(diff <(echo "$before") <(echo "$after") | grep '^>' | tr '\n' ' ')"
case "$kind" in
xscreensaver) host xscreensaver-command -exit >/dev/null 2>&1 || true ;;
mate) host mate-screensaver-command --exit >/dev/null 2>&1 || true ;;
esac
for _ in $(seq 200); do kill -0 "$daemon" 2>/dev/null || break; sleep 0.1; done
kill -0 "$daemon" 2>/dev/null && fail "the host does not end"
# The session bus this test started for MATE's daemon is its own to end.
if [ -n "$bus_pid" ]; then
    kill "$bus_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$bus_pid" 2>/dev/null || break; sleep 0.1; done
    bus_pid=""
fi
# Whatever the run started carries its home.
left=""
for process in $(ours); do left+="$(cat "$process/comm" 2>/dev/null) "; done
[ -z "$left" ] || fail "processes were left behind: $left"
echo "PASS: $kind: calendar shown in the host's window(s)$windows ($colours colours), exit code 0 on deactivation"
