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

. "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
runtime="$(mktemp -d)"
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    xvfb_stop
    rm -rf "$runtime"
}
trap cleanup EXIT
xvfb_start -screen 0 "${screen}x24" || { echo "Xvfb did not start" >&2; exit 1; }

DISPLAY="$display" XDG_RUNTIME_DIR="$runtime" "$binary" "$@" &
app=$!
sleep "$seconds"
mkdir -p "$(dirname "$output")"
DISPLAY="$display" import -window root "$output"
kill -TERM "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
app=""
echo "Screenshot saved: $output"
