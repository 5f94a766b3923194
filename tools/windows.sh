#!/usr/bin/env bash
# Cross-builds navcal.scr for 64-bit Windows on Debian and tests it under Wine.
#   bash tools/windows.sh build   # static Qt, SDL2 and SDL2_mixer (built once, cached), then build-windows/navcal.scr
#   bash tools/windows.sh test    # build, then the test suites, the .scr itself and its installer under Wine on Xvfb
# NAVCAL_WIN_BUILD_DIR moves the build folder; NAVCAL_WIN_KEEP=1 keeps the Wine prefix and screenshots.
set -euo pipefail

mode="${1:-build}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NAVCAL_WIN_BUILD_DIR:-$root/build-windows}"
site_url="$(sed -n 's/^set(NAVCAL_SITE_URL "\([^"]*\)".*/\1/p' "$root/CMakeLists.txt")"
version="$(sed -n 's/^project(navcal VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

fail() {
    echo "windows.sh: FAILED: $*" >&2
    exit 1
}
step() { echo "== $*"; }

build_scr() {
    local prefix werror=OFF
    prefix="$(bash "$root/tools/windows/deps.sh" | tail -n1)"
    [ -f "$prefix/.complete" ] || fail "the Windows libraries were not built (see the output of tools/windows/deps.sh)"
    [ -n "${CI:-}" ] && werror=ON
    export NAVCAL_WIN_PREFIX="$prefix"
    # Libraries built anew sit under a new prefix: a build configured for the
    # old one starts over.
    if [ -f "$build/CMakeCache.txt" ] &&
        ! grep -qxF "Qt6_DIR:PATH=$prefix/lib/cmake/Qt6" "$build/CMakeCache.txt"; then
        rm -rf "$build"
    fi
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/toolchain.cmake" \
        -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/windows/wine-run.sh" \
        -DNAVCAL_WERROR="$werror" >/dev/null
    cmake --build "$build" -j"$(nproc)"
    [ -f "$build/navcal.scr" ] || fail "no navcal.scr was built"
    [ -f "$build/navcal-setup-$version.exe" ] || fail "no installer was built (makensis: package nsis)"
    echo "Built: $build/navcal.scr ($(stat -c %s "$build/navcal.scr") bytes)"
    echo "Built: $build/navcal-setup-$version.exe ($(stat -c %s "$build/navcal-setup-$version.exe") bytes)"
}

# ---- the test run: one Xvfb screen and one fresh Wine prefix ----

. "$root/tools/lib/xvfb.sh"
display=""
xvfb=""
work=""
readonly_mount=""
xorg=""
cleanup() {
    set +e
    [ -n "$readonly_mount" ] && umount "$readonly_mount" 2>/dev/null
    [ -n "$work" ] && WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    [ -n "$xorg" ] && kill "$xorg" 2>/dev/null
    if [ -n "$work" ]; then
        if [ -n "${NAVCAL_WIN_KEEP:-}" ]; then echo "kept: $work"; else rm -rf "$work"; fi
    fi
}

start_display() {
    xvfb_start -screen 0 1024x768x24 || fail "Xvfb did not start"
    export DISPLAY="$display"
}

make_prefix() {
    export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64
    # No Mono or Gecko: nothing may be downloaded, and no dialog may wait for an answer.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >"$work/wineboot.log" 2>&1 ||
        fail "wineboot -i failed: $(tail -n 5 "$work/wineboot.log")"
    wineserver -w
    # Cyrillic captions in the design's faces: the Windows font names map to
    # metric-compatible Debian fonts. No sound card: SDL writes its sound to a
    # file. The web browser is a recorder.
    cat >"$work/browser.sh" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/browser.log"
EOF
    chmod +x "$work/browser.sh"
    cat >"$work/setup.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Times New Roman"="Liberation Serif"
"MS Sans Serif"="Liberation Sans"
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Tahoma"="DejaVu Sans"
"Courier New"="Liberation Mono"

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$work/browser.sh"
EOF
    # One server for every run that follows; the import starts Wine's own
    # services, which two programs started at once would otherwise both start.
    wineserver -p
    wine regedit /S "$work/setup.reg" || fail "could not import the Wine settings"
    windir="$WINEPREFIX/drive_c/windows"
    [ -d "$windir" ] || fail "the Wine prefix has no Windows folder"
}

# String 1 is the name the screen saver settings list navcal by: read back
# from the built file, not from the resource script.
resource_name() {
    step "string 1 of navcal.scr"
    local name
    name="$(x86_64-w64-mingw32-windres -i "$build/navcal.scr" -J coff -O rc | python3 -c '
import re, sys
m = re.search(r"STRINGTABLE\s+BEGIN\s+1,\s*L\"([^\"]*)\"", sys.stdin.read())
print(re.sub(r"\\x([0-9a-fA-F]{4})", lambda h: chr(int(h.group(1), 16)), m.group(1)) if m else "")')"
    [ "$name" = "Военно-морской календарь" ] || fail "string 1 of navcal.scr is \"$name\""
    echo "ok: string 1 of navcal.scr is «$name»"
}

run_suites() {
    step "test suites under Wine"
    # One at a time: Wine 8 now and then hangs two programs that start together.
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300) ||
        fail "test suites under Wine"
}

# The viewable top-level windows but the root: "id WxH name".
visible_windows() {
    local id root
    root=$(printf '%d' "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')")
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        [ "$id" != "$root" ] || continue
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
        [ "${WIDTH:-0}" -gt 1 ] || continue
        echo "$id ${WIDTH}x${HEIGHT} $(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

launched=""
launch() { # launch LOG ARGS...: starts the program folder's .scr with ARGS
    local log="$1"
    shift
    (cd "$program_folder" && exec wine "$program_folder/navcal.scr" "$@") >"$work/$log.log" 2>&1 &
    launched=$!
}

wait_window() { # wait_window PATTERN SECONDS: until a visible window matches
    local pattern="$1" seconds="$2" i
    for i in $(seq $((seconds * 5))); do
        # Listed whole first: under pipefail a grep -q that stops at a match
        # not listed last would fail the pipe by SIGPIPE.
        grep -qE "$pattern" <<<"$(visible_windows)" && return 0
        sleep 0.2
    done
    visible_windows >&2
    return 1
}

exit_code=""
wait_exit() { # wait_exit PID SECONDS: sets exit_code, fails on a hang
    local pid="$1" seconds="$2" i
    for i in $(seq $((seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            exit_code=0
            wait "$pid" || exit_code=$?
            return 0
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    fail "$3: still running after ${seconds}s"
}

shot() { # shot NAME: screenshot of the whole screen; prints its path
    local png="$work/shots/$1.png"
    mkdir -p "$work/shots"
    import -display "$display" -window root "$png"
    echo "$png"
}

# Mean R G B (0..255) and the standard deviation of a screenshot.
picture_stats() {
    convert "$1" -format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)] %[fx:standard_deviation]' info:
}

calendar_shown() { # calendar_shown PNG WHAT: not blank, with the calendar over a picture
    local r g b sd
    read -r r g b sd <<<"$(picture_stats "$1")"
    awk -v sd="$sd" 'BEGIN { exit !(sd > 0.08) }' || fail "$2: the screen is blank (mean $r $g $b, deviation $sd)"
}

is_magenta() { # the test 1.jpg is magenta; the stored seascape is not
    local r g b sd
    read -r r g b sd <<<"$(picture_stats "$1")"
    [ "$r" -gt $((g + 60)) ] && [ "$b" -gt $((g + 60)) ]
}

# A full-screen run: the calendar appears, a character key ends it with 0.
run_and_key() { # run_and_key NAME ARGS...
    local name="$1" pid png
    shift
    launch "$name" "$@"
    pid=$launched
    wait_window ' 1024x768 Form1$' 30 || fail "$name: no full-screen calendar window"
    sleep 3 # the fills, the clock and the banner
    png="$(shot "$name")"
    calendar_shown "$png" "$name"
    xdotool key a
    wait_exit "$pid" 20 "$name: after a key"
    [ "$exit_code" = 0 ] || fail "$name: exit code $exit_code after a key"
    echo "ok: $name ($png)"
}

write_tune() { # write_tune PATH: three seconds of a 440 Hz tone
    python3 - "$1" <<'EOF'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / 22050))) for i in range(22050 * 3)))
EOF
}

run_heard() { # run_heard NAME: a run whose sound goes to a file, which must not be silent
    rm -f "$work/audio.raw"
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="Z:${work//\//\\}\\audio.raw" run_and_key "$1" /s
    [ -s "$work/audio.raw" ] || fail "$1: nothing was played (no disk audio output)"
    python3 - "$work/audio.raw" <<'EOF' || fail "$1: the played sound is silent"
import array, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
peak = max((abs(s) for s in samples), default=0)
print(f"played {len(samples)} samples, peak {peak}")
sys.exit(0 if peak > 1000 else 1)
EOF
}

hostile_picture() { # hostile_picture KIND PATH: a 1.jpg no one can show
    [ -f "$work/good.jpg" ] || convert -size 400x300 xc:'#ff00ff' "$work/good.jpg"
    case "$1" in
    empty) : >"$2" ;;
    truncated) head -c $(($(stat -c %s "$work/good.jpg") / 3)) "$work/good.jpg" >"$2" ;;
    random) head -c 5000 /dev/urandom >"$2" ;;
    directory) mkdir "$2" ;;
    huge)
        # A 65535 x 65535 JPEG header over a few bytes of data.
        python3 - "$work/good.jpg" "$2" <<'EOF'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
i = data.index(b"\xff\xc0")
data[i + 5:i + 9] = b"\xff\xff\xff\xff"
open(sys.argv[2], "wb").write(data)
EOF
        ;;
    esac
}

reg_value() { # reg_value KEY NAME: the value's data, empty when there is none
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# The installer in the test's fresh prefix: a silent install, the installed
# saver running, a silent uninstall that leaves nothing behind.
installer_test() {
    local setup="$build/navcal-setup-$version.exe" sys32="$windir/system32"
    local desktop='HKCU\Control Panel\Desktop'
    local uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\navcal'
    local installed="$WINEPREFIX/drive_c/Program Files/navcal" active_before
    step "the installer: $(basename "$setup"), $(stat -c %s "$setup") bytes"
    rm -rf "$userdir"
    active_before="$(reg_value "$desktop" ScreenSaveActive)"
    wine "$setup" /S || fail "the silent install failed"
    cmp -s "$build/navcal.scr" "$sys32/navcal.scr" || fail "install: no navcal.scr in System32"
    [ -d "$userdir" ] || fail "install: the user's folder was not made"
    [ -f "$installed/uninstall.exe" ] || fail "install: no uninstaller"
    local saver
    saver="$(reg_value "$desktop" SCRNSAVE.EXE)"
    [ "${saver,,}" = 'c:\windows\system32\navcal.scr' ] || fail "install: SCRNSAVE.EXE is \"$saver\""
    [ "$(reg_value "$desktop" ScreenSaveActive)" = 1 ] || fail "install: ScreenSaveActive is not 1"
    [ -n "$(reg_value "$uninstall_key" UninstallString)" ] || fail "install: no entry in Apps & Features"
    echo "ok: installed: System32\\navcal.scr, the user's folder, SCRNSAVE.EXE=$saver, ScreenSaveActive=1, an uninstaller"
    year_out_test
    wallpaper_test
    local saved_folder="$program_folder"
    program_folder="$sys32"
    run_and_key installed /s
    program_folder="$saved_folder"

    # The uninstaller copies itself away and returns at once: its work is
    # waited for.
    wine "$installed/uninstall.exe" /S || fail "the silent uninstall failed"
    for _ in $(seq 600); do
        [ ! -e "$sys32/navcal.scr" ] && [ ! -e "$installed" ] &&
            [ -z "$(reg_value "$uninstall_key" UninstallString)" ] && break
        sleep 0.1
    done
    [ ! -e "$sys32/navcal.scr" ] || fail "uninstall: navcal.scr is left in System32"
    [ ! -e "$installed" ] || fail "uninstall: its folder is left"
    [ ! -e "$userdir" ] || fail "uninstall: the empty user's folder is left"
    [ -z "$(reg_value "$uninstall_key" UninstallString)" ] || fail "uninstall: the Apps & Features entry is left"
    [ ! -e "$start_menu" ] || fail "uninstall: the Start menu's entries are left"
    [ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || fail "uninstall: SCRNSAVE.EXE still names a screen saver"
    [ -z "$(reg_value "$desktop" Wallpaper)" ] && [ ! -e "$wallpaper_task" ] ||
        fail "uninstall: the calendar is left on the desktop ($(reg_value "$desktop" Wallpaper)), or its task"
    # What the profile did not have before is not left at the calendar's fitting.
    ! wine reg query "$desktop" /v WallpaperStyle >/dev/null 2>&1 &&
        ! wine reg query "$desktop" /v TileWallpaper >/dev/null 2>&1 ||
        fail "uninstall: WallpaperStyle or TileWallpaper is left, which the profile did not have"
    [ "$(reg_value "$desktop" ScreenSaveActive)" = "$active_before" ] ||
        fail "uninstall: ScreenSaveActive is not as before the install"
    echo "ok: uninstalled: nothing left (the Start menu's entries, the calendar on the desktop and its task too), navcal is no longer the screen saver"
}

# The Start menu's two entries, as they stand: the year written into the
# user's Documents folder, read back, and handed to the program Windows opens
# such files with (here a recorder, which cmd writes in the console's code page).
start_menu=""
year_out_test() {
    local opened="$work/opened.log" lnk ext docs n=0; local -x LC_ALL=C.UTF-8 # Cyrillic names on the command lines
    step "the Start menu's entries"
    start_menu="$(winepath -u "$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Военно-морской календарь"
    docs="$(winepath -u "$(wine cmd /c 'echo %USERPROFILE%' | tr -d '\r')\\Documents")"
    rm -f "$opened"
    for ext in ics pdf; do wine reg add "HKCR\\.$ext" /ve /d navcal.test /f >/dev/null; done
    wine reg add 'HKCR\navcal.test\shell\open\command' /ve /f >/dev/null \
        /d "C:\\windows\\system32\\cmd.exe /c echo %1>>$(winepath -w "$opened")"
    cp /usr/share/fonts/truetype/liberation/Liberation*.ttf "$windir/Fonts/" # as a Windows has its own
    if [ -L "$docs" ]; then rm "$docs" && mkdir "$docs"; fi # Wine's link to the real home
    for lnk in "Праздники — в календарь (.ics)" "Календарь на год (PDF)"; do
        wine start /unix "$start_menu/$lnk.lnk" || fail "«$lnk»: no such entry"
        n=$((n + 1)) # one at a time: two cmd appending at once can lose a line
        for _ in $(seq 300); do [ "$(cat "$opened" 2>/dev/null | wc -l)" -ge $n ] && break; sleep 0.1; done
    done
    /usr/bin/python3 -c 'import sys, icalendar; print(icalendar.Calendar.from_ical(open(sys.argv[1], "rb").read())["X-WR-CALNAME"])' \
        "$docs/Военно-морской календарь.ics" | grep -qx 'Военно-морской календарь' || fail "the .ics entry: no calendar in Documents"
    grep -qx "$(date +%Y)" <<<"$(pdftotext -raw "$docs/Военно-морской календарь $(date +%Y).pdf" -)" || fail "the PDF entry: no year's PDF in Documents"
    grep -q '\.ics' "$opened" && grep -q " $(date +%Y)\.pdf" "$opened" || fail "--open: not handed on to be opened ($(cat "$opened" 2>&1))"
    rm -f "$docs/Военно-морской календарь"* "$windir/Fonts"/Liberation*.ttf
    echo "ok: the Start menu's entries wrote the .ics and this year's PDF into Documents, and had them opened"
}

# The Start menu's desktop entries: today's calendar as the background, read
# back from the registry where Windows keeps it for the next logon, with its
# daily task; then taken off again, the user's own picture and its tiling
# back. Left on at the end, over a profile with no fitting of its own, for
# the uninstaller to take off.
wallpaper_task=""
wallpaper_test() {
    local desktop='HKCU\Control Panel\Desktop' picture file mine='C:\users\Public\mine.bmp' task
    local -x LC_ALL=C.UTF-8
    step "the calendar on the desktop"
    wallpaper_task="$windir/system32/tasks/navcal wallpaper"
    convert -size 64x48 xc:'#3060a0' "BMP3:$(winepath -u "$mine")"
    wine reg add "$desktop" /v Wallpaper /d "$mine" /f >/dev/null &&
        wine reg add "$desktop" /v WallpaperStyle /d 0 /f >/dev/null &&
        wine reg add "$desktop" /v TileWallpaper /d 1 /f >/dev/null || fail "could not set the user's own tiled background"
    wine start /unix "$start_menu/Календарь — на рабочий стол.lnk" || fail "«Календарь — на рабочий стол»: no such entry"
    for _ in $(seq 600); do
        picture="$(reg_value "$desktop" Wallpaper)"
        [ "$picture" != "$mine" ] && [ -e "$wallpaper_task" ] && break
        sleep 0.1
    done
    case "${picture,,}" in
    *'\appdata\local\navcal\desktop-1024x768-'*.png) ;;
    *) fail "--wallpaper: the background is \"$picture\", was \"$mine\"" ;;
    esac
    file="$(winepath -u "$picture")"
    [ "$(identify -format '%wx%h' "$file")" = 1024x768 ] || fail "--wallpaper: the picture is not the screen's size"
    [ "$(reg_value "$desktop" WallpaperStyle)" = 10 ] && [ "$(reg_value "$desktop" TileWallpaper)" = 0 ] ||
        fail "--wallpaper: not stretched to fill the screen"
    [ -e "$wallpaper_task" ] || fail "--wallpaper: no daily task"
    # Wine keeps a registered task as a file written anew from what it took
    # in, and its writer leaves out the triggers and the command (stubs in
    # Wine 8): what can be read back is the task's name and its settings. Its
    # own defaults are a 72-hour limit and no late start, so these two came
    # from the task navcal described.
    task="$(tr -d '\r' <"$wallpaper_task")"
    grep -q '<ExecutionTimeLimit>PT5M</ExecutionTimeLimit>' <<<"$task" &&
        grep -q '<StartWhenAvailable>true</StartWhenAvailable>' <<<"$task" ||
        fail "--wallpaper: the task is not the one described ($task)"
    echo "ok: «Календарь — на рабочий стол»: Wallpaper=$picture (1024x768, fill), the task \"navcal wallpaper\""
    wine start /unix "$start_menu/Убрать с рабочего стола.lnk" || fail "«Убрать с рабочего стола»: no such entry"
    for _ in $(seq 600); do
        [ "$(reg_value "$desktop" Wallpaper)" = "$mine" ] && [ ! -e "$file" ] && [ ! -e "$wallpaper_task" ] &&
            [ "$(reg_value "$desktop" TileWallpaper)" = 1 ] && break
        sleep 0.1
    done
    [ "$(reg_value "$desktop" Wallpaper)" = "$mine" ] || fail "--wallpaper off: the background is not as before"
    [ "$(reg_value "$desktop" WallpaperStyle)" = 0 ] && [ "$(reg_value "$desktop" TileWallpaper)" = 1 ] ||
        fail "--wallpaper off: the user's picture is not tiled again"
    [ ! -e "$wallpaper_task" ] || fail "--wallpaper off: the task is left"
    ! ls "$userdir"/desktop* >/dev/null 2>&1 || fail "--wallpaper off: files left: $(ls "$userdir")"
    echo "ok: «Убрать с рабочего стола»: Wallpaper=$mine again, tiled, no task, no pictures"
    # A profile that never had a background or a fitting, as a fresh one.
    wine reg add "$desktop" /v Wallpaper /d '' /f >/dev/null
    wine reg delete "$desktop" /v WallpaperStyle /f >/dev/null
    wine reg delete "$desktop" /v TileWallpaper /f >/dev/null
    wine "$windir/system32/navcal.scr" --wallpaper || fail "--wallpaper: exit code $?"
    [ -n "$(reg_value "$desktop" Wallpaper)" ] || fail "--wallpaper, run again: not set"
}

# Where January's single-digit days 5, 6, 8 and 9 of this year have ink on a
# screenshot, a line each: "day left width cell-left cell-right" in the
# screen's pixels. At 1024x768 the days stand in 8x13-pixel cells, the first
# week's column at x 48 and the second at 64, the Monday row at y 104 and each
# row 16 pixels below the last; a larger screen scales that by its fit and
# centres it. Ink is what is darker or redder than the sky behind January.
january_digits() { # january_digits PNG WIDTH HEIGHT
    python3 - "$@" "$(date +%Y)" <<'PY'
import datetime, subprocess, sys
png, width, height, year = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
fit = min(width / 1024, height / 768)
ox, oy = (width - 1024 * fit) / 2, (height - 768 * fit) / 2
ppm = subprocess.run(["convert", png, "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
magic, size, depth, pixels = ppm.split(b"\n", 3)
w = int(size.split()[0])
def ink(x, y):
    r, g, b = pixels[3 * (y * w + x):3 * (y * w + x) + 3]
    return b < 120 or r > b + 60
first = datetime.date(year, 1, 1).weekday()
for day in (5, 6, 8, 9):
    column, row = divmod(first + day - 1, 7)
    left = ox + (48 + 16 * column) * fit
    top = oy + (104 + 16 * row) * fit
    # From past the first column's cells to short of the third's.
    xs = range(int(left - 7 * fit), int(left + 23 * fit))
    ys = range(int(top), int(top + 13 * fit))
    inked = [x for x in xs if any(ink(x, y) for y in ys)]
    start = min(inked) if inked else -1
    print(day, start, max(inked) - start + 1 if inked else 0, round(left), round(left + 8 * fit))
PY
}

# One full-screen run at a display scale: the calendar fills the screen and a
# key ends it. Prints the screenshot's path.
run_at_scale() { # run_at_scale WIDTHxHEIGHT DPI
    local size="$1" dpi="$2" w="${1%x*}" h="${1#*x}" pid png
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null ||
        fail "could not set $dpi dpi"
    launch "scale-$size-$dpi" /s
    pid=$launched
    # At a fractional scale the screen's pixels are a fraction of
    # device-independent ones: the window may come back a pixel larger.
    wait_window " ($w|$((w + 1)))x($h|$((h + 1))) Form1\$" 30 >&2 ||
        fail "$size at $dpi dpi: no window covering the screen"
    sleep 3
    png="$(shot "scale-$size-$dpi")"
    calendar_shown "$png" "$size at $dpi dpi"
    xdotool key a
    wait_exit "$pid" 20 "$size at $dpi dpi: after a key"
    [ "$exit_code" = 0 ] || fail "$size at $dpi dpi: exit code $exit_code after a key"
    echo "$png"
}

# At every display scale the calendar fills the screen and January's
# single-digit days are drawn whole: each as wide as at 96 dpi, give or take a
# pixel, and inside its cell (a pixel either side). Drawn by the system's GDI
# glyphs at 144 dpi they were a pixel or two narrower, their left side cut (an
# "8" read as "3"). The screenshots stay in the build folder.
scales_test() {
    local first_display="$display" first_xvfb="$xvfb" size dpi dpis png measured reference
    for size in 1024x768 1366x768 1920x1080; do
        step "display scales at $size"
        # Wine's desktop stays on the display it started on: a new one for each size.
        wineserver -k 2>/dev/null || true
        wineserver -w
        xvfb_start -screen 0 "${size}x24" || fail "Xvfb at $size did not start"
        export DISPLAY="$display"
        wineserver -p
        dpis="96 120 144 192"
        [ "$size" = 1920x1080 ] && dpis="96 144"
        reference=""
        for dpi in $dpis; do
            png="$(run_at_scale "$size" "$dpi")"
            cp "$png" "$build/navcal-wine-$size-${dpi}dpi.png"
            measured="$(january_digits "$png" "${size%x*}" "${size#*x}")"
            [ -n "$reference" ] || reference="$measured"
            python3 - "$size at $dpi dpi" "$reference" "$measured" <<'PY' ||
import sys
what, reference, measured = sys.argv[1], sys.argv[2].splitlines(), sys.argv[3].splitlines()
whole = len(measured) == 4
for ref, got in zip(reference, measured):
    day, left, width, cell_left, cell_right = map(int, got.split())
    ref_width = int(ref.split()[2])
    print(f"  {what}: January {day}: ink {width} px wide from x {left}"
          f" (at 96 dpi {ref_width}; the cell {cell_left}..{cell_right})")
    whole = whole and width > 0 and width >= ref_width - 1
    whole = whole and left >= cell_left - 1 and left + width <= cell_right + 1
sys.exit(0 if whole else 1)
PY
                fail "$size at $dpi dpi: January's days are not drawn whole ($build/navcal-wine-$size-${dpi}dpi.png)"
            echo "ok: $size at $dpi dpi: January's days whole ($build/navcal-wine-$size-${dpi}dpi.png)"
        done
        wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null
        wineserver -k 2>/dev/null || true
        wineserver -w
        xvfb_stop
    done
    display="$first_display"
    xvfb="$first_xvfb"
    export DISPLAY="$first_display"
    wineserver -p
}

# Two monitors side by side. Wine does not see the monitors that xrandr
# --setmonitor makes of an Xvfb screen, but it does see two RandR outputs of
# Xorg's dummy driver: the calendar on the first, a cover on the second, and
# a key typed on the cover ends the saver.
two_monitors_test() {
    step "two monitors (Xorg's dummy driver, two outputs side by side)"
    local two="" said="$work/xorg-display" conf="$work/xorg-two.conf"
    cat >"$conf" <<'EOF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AllowEmptyInput" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 32768
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768"
        Virtual 2048 768
    EndSubSection
EndSection
EOF
    # The server picks a free display and says which once it takes clients.
    Xorg -displayfd 3 -config "$conf" -noreset -nolisten tcp -logfile "$work/xorg.log" \
        3>"$said" >/dev/null 2>&1 &
    xorg=$!
    for _ in $(seq 100); do
        [ -s "$said" ] && two=":$(head -n 1 "$said")" && break
        kill -0 "$xorg" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$two" ] && xdpyinfo -display "$two" >/dev/null 2>&1 || fail "Xorg with the dummy driver did not start: $(grep '(EE)' "$work/xorg.log" | tail -n 3)"
    xrandr -display "$two" --addmode DUMMY1 1024x768 &&
        xrandr -display "$two" --output DUMMY1 --mode 1024x768 --right-of DUMMY0 ||
        fail "could not turn on the dummy driver's second output"
    # Wine reads the server's cached outputs: a full probe brings the second in.
    xrandr -display "$two" >/dev/null

    # Wine's desktop stays on the display it started on: a new one for this run.
    wineserver -k
    wineserver -w
    local first_display="$display"
    display="$two"
    export DISPLAY="$two"
    wineserver -p
    launch two-monitors /s
    local pid=$launched
    wait_window ' 1024x768 Form1$' 30 || fail "two monitors: no calendar window"
    wait_window ' 1024x768 ScreenCover$' 30 || fail "two monitors: the second monitor is not covered"
    local cover
    cover="$(xdotool search --onlyvisible --name '^ScreenCover$' | head -n1)"
    eval "$(xdotool getwindowgeometry --shell "$cover")"
    [ "$X" = 1024 ] && [ "$Y" = 0 ] || fail "two monitors: the cover stands at $X,$Y, not on the second monitor"
    sleep 3
    local png left right
    png="$(shot two-monitors)"
    left="$work/shots/two-left.png"
    right="$work/shots/two-right.png"
    convert "$png" -crop 1024x768+0+0 +repage "$left"
    convert "$png" -crop 1024x768+1024+0 +repage "$right"
    calendar_shown "$left" "two monitors, the first"
    calendar_shown "$right" "two monitors, the second"
    xdotool windowfocus "$cover"
    sleep 0.5
    xdotool key a
    wait_exit "$pid" 20 "two monitors: after a key on the second"
    [ "$exit_code" = 0 ] || fail "two monitors: exit code $exit_code after a key on the second"
    cp "$png" "$build/navcal-wine-two-monitors.png"
    echo "ok: two monitors: the calendar on the first, a cover on the second, a key there ends it ($png)"

    wineserver -k
    wineserver -w
    kill "$xorg" 2>/dev/null
    xorg=""
    display="$first_display"
    export DISPLAY="$first_display"
    wineserver -p
}

# The exports to standard output come out byte for byte (the C runtime's
# text mode once made each "\n" of the .ics "\r\n" and broke the PNG), and
# one over a read-only file is refused, leaving it whole and nothing beside it.
exports_test() {
    local dir="$work/exports" scr="$program_folder/navcal.scr" err
    step "exports to standard output, and over a read-only file"
    mkdir -p "$dir"
    (cd "$dir" && timeout 120 wine "$scr" --ics calendar.ics && timeout 120 wine "$scr" --ics - >stdout.ics &&
        timeout 120 wine "$scr" --png - 320x200 >stdout.png) || fail "an export ended with $?"
    # The stamp is the second it was written.
    cmp -s <(grep -v '^DTSTAMP:' "$dir/calendar.ics") <(grep -v '^DTSTAMP:' "$dir/stdout.ics") ||
        fail "--ics -: not the bytes written to a file ($(stat -c %s "$dir/stdout.ics") bytes, $(stat -c %s "$dir/calendar.ics") to a file)"
    [ "$(identify -format '%wx%h' "$dir/stdout.png" 2>&1)" = 320x200 ] || fail "--png -: not a 320x200 picture"
    printf 'mine\r\n' >"$work/kept.ics"
    cp "$work/kept.ics" "$dir/kept.ics"
    (cd "$dir" && wine cmd /c 'attrib +r kept.ics') >/dev/null || fail "attrib +r"
    local code=0
    err="$(cd "$dir" && timeout 120 wine "$scr" --ics kept.ics 2>&1)" || code=$?
    [ "$code" = 1 ] || fail "--ics over a read-only file: exit code $code"
    [ "$(tr -d '\r' <<<"$err" | grep -c .)" = 1 ] && grep -q 'kept\.ics' <<<"$err" ||
        fail "--ics over a read-only file: not one line naming it ($err)"
    cmp -s "$work/kept.ics" "$dir/kept.ics" || fail "--ics over a read-only file: it was changed"
    [ "$(ls -A "$dir" | grep -c .)" = 4 ] || fail "--ics over a read-only file: left beside it: $(ls -A "$dir")"
    rm -rf "$dir"
    echo "ok: --ics - and --png - byte for byte; a read-only kept.ics refused ($(tr -d '\r' <<<"$err")) and whole"
}

smoke_test() {
    program_folder="$WINEPREFIX/drive_c/Program Files/Naval Calendar"
    mkdir -p "$program_folder"
    userdir="$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')")/navcal"
    cp "$build/navcal.scr" "$program_folder/"
    export SDL_AUDIODRIVER=dummy

    step "navcal.scr /s, and a second copy meanwhile"
    launch first /s
    local first=$launched
    wait_window ' 1024x768 Form1$' 30 || fail "/s: no full-screen calendar window"
    sleep 3
    cp "$(shot s)" "$work/navcal-s.png"
    calendar_shown "$work/navcal-s.png" "/s"
    is_magenta "$work/navcal-s.png" && fail "/s: the stored seascape is missing"
    local started=$SECONDS
    launch second /s
    wait_exit "$launched" 30 "a second copy"
    [ "$exit_code" = 0 ] || fail "a second copy ended with $exit_code"
    [ "$(visible_windows | grep -c ' 1024x768 Form1$')" = 1 ] || fail "a second calendar window appeared"
    kill -0 "$first" 2>/dev/null || fail "the first copy ended when the second started"
    echo "ok: a second copy ended after $((SECONDS - started))s, the first goes on"
    xdotool key a
    wait_exit "$first" 20 "/s: after a key"
    [ "$exit_code" = 0 ] || fail "/s: exit code $exit_code after a key"
    echo "ok: /s ($work/navcal-s.png)"
    exports_test

    step "no switch, /S, a file name"
    run_and_key none
    run_and_key upper /S
    run_and_key other notes.txt

    step "configure: /c and /c:1234"
    local args
    for args in "/c" "/c:1234"; do
        launch configure $args
        wait_window '^[0-9]+ [0-9]+x[0-9]+' 30 || fail "$args: no notice"
        sleep 1
        grep -q ' 1024x768 Form1$' <<<"$(visible_windows)" && fail "$args: the calendar was shown instead of the notice"
        shot "configure-${args//[:\/]/}" >/dev/null
        xdotool key Return
        wait_exit "$launched" 20 "$args: after OK"
        [ "$exit_code" = 0 ] || fail "$args: exit code $exit_code"
        echo "ok: $args shows the notice"
    done

    step "the settings dialog: preview and notice (preview_host)"
    if ! wine "$build/tests/preview_host.exe" 'C:\Program Files\Naval Calendar\navcal.scr' >"$work/preview_host.log" 2>&1; then
        cat "$work/preview_host.log"
        fail "preview_host"
    fi
    cat "$work/preview_host.log"

    # The user's own folder exists but is empty: the Windows folder is read.
    mkdir -p "$userdir"
    step "1.jpg and muzz.wav in the Windows folder"
    convert -size 800x600 xc:'#ff00ff' "$windir/1.jpg"
    write_tune "$windir/muzz.wav"
    run_heard pictures
    is_magenta "$work/shots/pictures.png" || fail "1.jpg from the Windows folder is not the background"
    echo "ok: 1.jpg is the background and muzz.wav is heard"
    rm -f "$windir/1.jpg"

    step "the user's folder: its 1.jpg wins, the Windows folder's muzz.wav still plays"
    convert -size 800x600 xc:'#00c000' "$windir/1.jpg"
    convert -size 800x600 xc:'#ff00ff' "$userdir/1.jpg"
    run_heard user-picture
    is_magenta "$work/shots/user-picture.png" || fail "1.jpg from the user's folder is not the background"
    echo "ok: the user's 1.jpg is the background and the Windows folder's muzz.wav is heard"
    rm -f "$windir/1.jpg" "$windir/muzz.wav" "$userdir/1.jpg"

    step "the user's holidays.txt, as Notepad writes it"
    # A weekday of January that is no stored day, in magenta (nothing else on
    # the screen is), and on line 3 a day that does not exist.
    local year day
    year="$(date +%Y)"
    for day in 13 14 16 19 20 21; do
        [ "$(date -d "$year-01-$day" +%u)" -le 5 ] && break
    done
    printf '\xef\xbb\xbf# my days\r\n%s.01 | #FF00FF | My ship\r\n31.02 | red | No such day\r\n' "$day" \
        >"$userdir/holidays.txt"
    run_and_key user-holidays /s
    local magenta
    magenta="$(convert "$work/shots/user-holidays.png" -fx 'r > 0.8 && g < 0.3 && b > 0.8 ? 1 : 0' \
        -format '%[fx:int(mean * w * h)]' info:)"
    [ "$magenta" -ge 5 ] || fail "the user's holidays.txt: $day January is not magenta ($magenta pixels)"
    grep -q 'holidays.txt:3: ' "$work/user-holidays.log" ||
        fail "the user's holidays.txt: no line names the bad row 3 (stderr: $(cat "$work/user-holidays.log"))"
    echo "ok: the user's holidays.txt: $day January is magenta ($magenta pixels); $(grep 'holidays.txt:3: ' "$work/user-holidays.log" | tr -d '\r')"
    rm -f "$userdir/holidays.txt"

    step "hostile 1.jpg and muzz.* in the Windows folder"
    local kind
    for kind in empty truncated random directory huge; do
        rm -rf "$windir/1.jpg" "$windir"/muzz.*
        hostile_picture "$kind" "$windir/1.jpg"
        case "$kind" in
        empty) : >"$windir/muzz.wav" ;;
        truncated) printf 'ID3\3\0\0\0\0\0\x10\xff\xfb' >"$windir/muzz.mp3" ;;
        random) head -c 5000 /dev/urandom >"$windir/muzz.mid" ;;
        directory) mkdir "$windir/muzz.wav" ;;
        huge) printf 'MThd\0\0\0\6\0\1\0\1\0\x60MTrk\x7f\xff\xff\xff' >"$windir/muzz.mid" ;;
        esac
        run_and_key "hostile-$kind" /s
        is_magenta "$work/shots/hostile-$kind.png" && fail "hostile $kind: not the stored seascape"
    done
    rm -rf "$windir/1.jpg" "$windir"/muzz.*

    step "hostile 1.jpg in the user's folder"
    for kind in empty truncated directory huge; do
        rm -rf "$userdir/1.jpg"
        hostile_picture "$kind" "$userdir/1.jpg"
        run_and_key "user-hostile-$kind" /s
        is_magenta "$work/shots/user-hostile-$kind.png" && fail "user's hostile $kind: not the stored seascape"
    done
    rm -rf "$userdir/1.jpg"

    step "the site address: writable and read-only program folder"
    local folder_kind
    for folder_kind in writable read-only; do
        : >"$work/browser.log"
        if [ "$folder_kind" = read-only ]; then
            if [ "$(id -u)" = 0 ]; then
                # Permissions do not stop root: a read-only bind mount does.
                mount --bind "$program_folder" "$program_folder" &&
                    readonly_mount="$program_folder" &&
                    mount -o remount,bind,ro "$program_folder" ||
                    fail "could not make the program folder read-only (bind mount)"
            else
                chmod a-w "$program_folder"
            fi
            if touch "$program_folder/probe" 2>/dev/null; then
                rm -f "$program_folder/probe"
                fail "the program folder is still writable"
            fi
        fi
        launch "link-$folder_kind" /s
        wait_window ' 1024x768 Form1$' 30 || fail "link ($folder_kind): no calendar window"
        sleep 2
        xdotool mousemove 512 49 click 1
        wait_exit "$launched" 20 "link ($folder_kind): after the click"
        [ "$exit_code" = 0 ] || fail "link ($folder_kind): exit code $exit_code"
        for _ in $(seq 100); do
            [ -s "$work/browser.log" ] && break
            sleep 0.1
        done
        grep -qF "$site_url" "$work/browser.log" ||
            fail "link ($folder_kind): the browser did not get $site_url (got: $(cat "$work/browser.log"))"
        grep -qi '^temp\.url' <<<"$(ls "$program_folder")" && fail "link ($folder_kind): TEMP.URL was left behind"
        if [ "$folder_kind" = read-only ]; then
            if [ -n "$readonly_mount" ]; then
                umount "$readonly_mount"
                readonly_mount=""
            else
                chmod u+w "$program_folder"
            fi
        fi
        echo "ok: link ($folder_kind): the browser got the address, no TEMP.URL, the saver ended"
    done
}

case "$mode" in
build)
    build_scr
    ;;
test)
    for tool in wine wineserver Xvfb xdotool import convert python3 makensis x86_64-w64-mingw32-windres pdftotext pdffonts; do
        command -v "$tool" >/dev/null || fail "$tool is missing (tools/windows/deps.sh installs it)"
    done
    build_scr
    trap cleanup EXIT
    work="$(mktemp -d /tmp/navcal-wine.XXXXXX)"
    start_display
    step "fresh Wine prefix"
    started=$SECONDS
    make_prefix
    echo "prefix ready in $((SECONDS - started))s"
    resource_name
    run_suites
    smoke_test
    installer_test
    scales_test
    two_monitors_test
    cp "$work/navcal-s.png" "$build/navcal-wine.png"
    echo "windows.sh: all Windows tests passed"
    ;;
*)
    echo "usage: $0 build|test" >&2
    exit 2
    ;;
esac
