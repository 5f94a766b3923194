#!/usr/bin/env bash
# Installs what is missing, builds navcal, then runs it or tests it.
#   bash tools/bootstrap.sh run   # show the screensaver (under Xvfb with a screenshot when there is no display)
#   bash tools/bootstrap.sh test  # run the test suite with ctest
set -euo pipefail

mode="${1:-run}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NAVCAL_BUILD_DIR:-$root/build}"

packages=(
    cmake make g++ pkg-config
    qt6-base-dev libgl-dev
    libsdl2-mixer-dev timgm6mb-soundfont
    fonts-liberation fonts-dejavu-core
    xvfb xauth x11-utils x11-xserver-utils x11-apps xdotool imagemagick clang-format
    libxcb1-dev libxcb-randr0-dev libxcb-damage0-dev xscreensaver strace
    mate-screensaver dbus-x11 qt6-wayland weston
    dpkg-dev fakeroot file lintian desktop-file-utils appstream
    # A desktop's bus and accessibility, so the tests run where users run them
    # (a bus can then start by itself); the tests' own bus and its client.
    dbus-x11 at-spi2-core dbus-daemon dbus-bin
    # The recorded scenarios' player, its frozen clock and its two locales.
    python3 libfaketime locales
    # What reads the written year as other programs would: an iCalendar
    # parser with its rule expansion, and the PDF tools.
    python3-icalendar python3-dateutil poppler-utils
    # libical, a strict reader of calendar files, through its Python bindings.
    python3-gi gir1.2-ical-3.0
    # The desktops' own settings tools and schemas the background is set
    # with, and systemd's check of the refresh's units.
    libglib2.0-bin gsettings-desktop-schemas mate-desktop-common xfconf libxfconf-0-3 systemd
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locales the recorded scenarios run in.
for loc in ru_RU en_US; do
    if ! locale -a 2>/dev/null | grep -qx "${loc}.utf8"; then
        sudo_cmd=()
        [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
        "${sudo_cmd[@]}" localedef -i "$loc" -c -f UTF-8 "$loc.UTF-8"
    fi
done

werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVCAL_WERROR="$werror" >/dev/null
cmake --build "$build" -j"$(nproc)"

case "$mode" in
test)
    cd "$build"
    # The recorded scenarios mostly wait on the program they play: twice as many
    # tests as cores keep the cores busy.
    ctest --output-on-failure -j"$(( $(nproc) * 2 ))"
    ;;
run)
    shift || true
    if [ -n "${DISPLAY:-}" ]; then
        exec "$build/navcal" "$@"
    fi
    exec bash "$root/tools/screenshot.sh" "$build/navcal" "${NAVCAL_SCREENSHOT:-$root/build/navcal-screenshot.png}" "$@"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
