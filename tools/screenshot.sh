#!/usr/bin/env bash
# Runs navcal on a private Xvfb screen for a few seconds and saves a screenshot.
#   tools/screenshot.sh BINARY OUTPUT.png [ARGS...]
# NAVCAL_SCREEN (default 1024x768) and NAVCAL_SECONDS (default 4) adjust it.
set -euo pipefail
binary="$1"
output="$2"
shift 2
screen="${NAVCAL_SCREEN:-1024x768}"
seconds="${NAVCAL_SECONDS:-4}"

display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }

Xvfb "$display" -screen 0 "${screen}x24" -dpi 96 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
runtime="$(mktemp -d)"
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 50); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.1
done

DISPLAY="$display" XDG_RUNTIME_DIR="$runtime" "$binary" "$@" &
app=$!
sleep "$seconds"
mkdir -p "$(dirname "$output")"
DISPLAY="$display" import -window root "$output"
kill -TERM "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
app=""
echo "Screenshot saved: $output"
