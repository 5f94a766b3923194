#!/usr/bin/env bash
# The whole suite once more, recorded scenarios included, on a build with
# AddressSanitizer and UndefinedBehaviorSanitizer in a folder of its own
# (build-asan): the first error a sanitizer finds ends the program it is in,
# and so fails its test. Run after tools/bootstrap.sh, which installs what
# the build and the tests need.
#   bash tools/sanitize.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NAVCAL_ASAN_BUILD_DIR:-$root/build-asan}"

# Undefined behaviour is not recovered from either, whatever a program's
# environment holds (a screensaver host passes few variables on).
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVCAL_WERROR="$werror" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" -j"$(nproc)"

# The tests pass these on to every program they start. The recorded
# scenarios preload the frozen clock's library before the sanitizer's
# runtime, which then need not come first: the clock's library replaces no
# function the runtime does (memory, threads).
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"

cd "$build"
started=$SECONDS
ctest --output-on-failure -j"$(($(nproc) * 2))"
echo "sanitizers: $((SECONDS - started))s"
