#!/usr/bin/env bash
# The real XScreenSaver daemon on a private Xvfb screen, with navcal as its
# only display program: activating shows the calendar in the daemon's window,
# deactivating ends navcal with code 0 and leaves nothing behind: no file in
# the home and, once the host has gone too, no process (a bus started for the
# display would be one).
#   xscreensaver_host.sh NAVCAL_BINARY [SCREENSHOT.png]
set -euo pipefail
source_binary="$1"
shot="${2:-}"
for tool in Xvfb xscreensaver xscreensaver-command import identify compare strace setpriv; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/bootstrap.sh installs it)"; exit 1; }
done

work="$(mktemp -d)"
chmod 755 "$work"
home="$work/home"
mkdir -m 700 "$home"
# A copy the host's user can reach wherever the build tree lies.
binary="$work/navcal"
install -m 755 "$source_binary" "$binary"
display=""
for n in $(seq 400 480); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!

# XScreenSaver starts no display program as root: run the host as nobody then.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
host() { "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home" DISPLAY="$display" "$@"; }

cleanup() {
    host xscreensaver-command -exit >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- host log:"; cat "$work/host.log" || true; exit 1; }

for _ in $(seq 100); do
    DISPLAY="$display" xscreensaver-command -version >/dev/null 2>&1 && break
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.1
done
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
before="$(cd "$home" && find . | sort)"

host xscreensaver -no-splash -verbose >"$work/host.log" 2>&1 &
daemon=$!
for _ in $(seq 150); do host xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.2; done
host xscreensaver-command -activate >/dev/null || fail "the host does not answer"

pid=""
for _ in $(seq 150); do
    pid="$(pgrep -n -f -x -- "$binary --root" || true)"
    [ -n "$pid" ] && break
    sleep 0.2
done
[ -n "$pid" ] || fail "the host did not start navcal"
strace -q -e trace=none -e signal=none -o "$work/exit" -p "$pid" &
tracer=$!
# The calendar over the seascape has thousands of colours; the host's own
# blank screen has one. Then the clock ticks: the screen changes.
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
window="$(sed -n 's/.*forked ".*" in pid '"$pid"' on window \(0x[0-9a-f]*\).*/\1/p' "$work/host.log" | tail -1)"
[ -n "$window" ] || fail "the host's log names no window for navcal"
DISPLAY="$display" xwininfo -tree -id "$window" | grep -q '"Form1"' || fail "navcal's window is not inside the host's $window"

host xscreensaver-command -deactivate >/dev/null
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
# What the process was doing, should it ever be found still running.
kill -0 "$pid" 2>/dev/null && fail "navcal still runs after deactivation: threads $(ps -o stat=,wchan:24= -L -p "$pid" | tr -s ' \n' ' ')| $(grep -E '^(State|SigPnd|ShdPnd|SigBlk)' "/proc/$pid/status" | tr -s '\t\n' ' ')"
wait "$tracer" || true
grep -q '+++ exited with 0 +++' "$work/exit" || fail "navcal ended otherwise: $(cat "$work/exit")"
pgrep -f -- "$binary" >/dev/null && fail "a navcal process is left"
after="$(cd "$home" && find . | sort)"
[ "$before" = "$after" ] || fail "files were left behind: $(diff <(echo "$before") <(echo "$after") | grep '^>' | tr '\n' ' ')"
host xscreensaver-command -exit >/dev/null 2>&1 || true
for _ in $(seq 200); do kill -0 "$daemon" 2>/dev/null || break; sleep 0.1; done
kill -0 "$daemon" 2>/dev/null && fail "the host does not end"
# Whatever the run started carries its home.
left=""
for environ in /proc/[0-9]*/environ; do
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "HOME=$home" &&
        left+="$(cat "${environ%/environ}/comm" 2>/dev/null) "
done
[ -z "$left" ] || fail "processes were left behind: $left"
echo "PASS: calendar shown in the host's window $window ($colours colours), exit code 0 on deactivation"
