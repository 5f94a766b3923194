#!/usr/bin/env bash
# Builds static Qt, SDL2 and SDL2_mixer for 64-bit Windows from Debian's own sources,
# once per machine: the result is kept outside the clone, keyed by versions and options.
#   bash tools/windows/deps.sh      # prints the prefix on its last line
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="$(nproc)"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils xdotool imagemagick fonts-liberation fonts-dejavu-core
    cmake ninja-build pkg-config dpkg-dev qt6-base-dev qt6-base-dev-tools nsis
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    python3-icalendar poppler-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}" >&2
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

# Without Direct2D, QtGui leaves out its DirectWrite font code while the
# windows platform plugin still asks for it: DirectWrite goes too (GDI fonts).
qt_options=(-static -static-runtime -release -xplatform win32-g++ -qt-host-path /usr
    -nomake examples -nomake tests -no-opengl -no-dbus -no-feature-network -no-feature-sql
    -no-feature-printsupport -no-feature-xml -no-feature-concurrent -no-feature-vulkan
    -no-feature-tabletevent -no-feature-direct2d -no-feature-testlib_selfcover
    -no-feature-directwrite
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion)
sdl_options=(-DBUILD_SHARED_LIBS=OFF -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF)
mixer_options=(-DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=STB
    -DSDL2MIXER_MIDI_FLUIDSYNTH=OFF -DSDL2MIXER_MIDI_TIMIDITY=OFF -DSDL2MIXER_MIDI_NATIVE=ON
    -DSDL2MIXER_MP3_MINIMP3=ON -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_GME=OFF)

versions="$(dpkg-query -W -f='${Version} ' g++-mingw-w64-x86-64-posix qt6-base-dev)"
key="$(printf '%s|%s|%s|%s|%s' "$versions" "${qt_options[*]}" "${sdl_options[*]}" "${mixer_options[*]}" "$(cat "$here/toolchain.cmake")" | sha256sum | cut -c1-16)"
cache="${NAVCAL_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/navcal-windows}"
prefix="$cache/$key"
export NAVCAL_WIN_PREFIX="$prefix"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# apt-get source needs a deb-src entry: the machine's own Debian entries, as deb-src.
if ! apt-get source --print-uris -qq qt6-base >/dev/null 2>&1; then
    for f in /etc/apt/sources.list.d/*.sources; do
        grep -q '^Types:.*deb$' "$f" 2>/dev/null || continue
        sed 's/^Types:.*/Types: deb-src/' "$f" | "${sudo_cmd[@]}" tee "/etc/apt/sources.list.d/navcal-src-$(basename "$f")" >/dev/null
    done
    if [ -f /etc/apt/sources.list ]; then
        grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/navcal-src.list >/dev/null || true
    fi
    "${sudo_cmd[@]}" apt-get update -qq
fi

work="$cache/work-$key"
rm -rf "$work"
mkdir -p "$work/src"
(cd "$work/src" && apt-get source -qq qt6-base libsdl2 libsdl2-mixer >&2)
srcdir() { find "$work/src" -maxdepth 1 -type d -name "$1-[0-9]*" | head -n1; }

cmake -S "$(srcdir libsdl2)" -B "$work/sdl" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" "${sdl_options[@]}" >&2
cmake --build "$work/sdl" -j"$jobs" >&2
cmake --install "$work/sdl" >&2

cmake -S "$(srcdir libsdl2-mixer)" -B "$work/mixer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" "${mixer_options[@]}" >&2
cmake --build "$work/mixer" -j"$jobs" >&2
cmake --install "$work/mixer" >&2

mkdir -p "$work/qt"
(cd "$work/qt" && "$(srcdir qt6-base)/configure" -prefix "$prefix" "${qt_options[@]}" -- \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2)
cmake --build "$work/qt" --parallel "$jobs" >&2
cmake --install "$work/qt" >&2

rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix"
