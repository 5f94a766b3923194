#!/usr/bin/env bash
# Runs one cross-built Windows program under Wine: ctest's emulator for the
# Windows build. tools/windows.sh test provides the Wine prefix and display.
#   tools/windows/wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: WINEPREFIX and DISPLAY must be set (run the tests through tools/windows.sh test)" >&2
    exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# Without a console Qt logs to the debugger: the test output belongs on stderr.
export QT_FORCE_STDERR_LOGGING="${QT_FORCE_STDERR_LOGGING:-1}"
# Wine hands QT_* variables to the program only under a WINE prefix.
for name in $(compgen -e); do
    case "$name" in
    QT_*) export "WINE$name=${!name}" ;;
    esac
done
# Qt's offscreen platform on Windows finds no fonts by itself.
if [ "${QT_QPA_PLATFORM:-}" = offscreen ] && [ -z "${QT_QPA_FONTDIR:-}" ]; then
    export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\liberation'
fi
exec wine "$@"
