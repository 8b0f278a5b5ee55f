#!/usr/bin/env bash
# Sets up, builds and tests everything: the native build, the native build
# with AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows build
# with its tests run under Wine on a virtual display. Ends with ctest's
# summary of all of them; the exit status is non-zero when anything failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

presets=(native native-asan windows)
for preset in "${presets[@]}"; do
    echo "== build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

# One display for every windowed test of the run, unless there is one.
xvfb_pid=
cleanup() {
    WINEPREFIX="$root/build/windows/wine/prefix" wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    . scripts/lib/virtual-display.sh
    start_virtual_display 1280x1024x24
fi

# One ctest run over all the builds, so that one summary covers everything.
mkdir -p build/all
{
    echo "# Written by scripts/test.sh: every build's tests in one run."
    for preset in "${presets[@]}"; do
        echo "subdirs(\"$root/build/$preset\")"
    done
} > build/all/CTestTestfile.cmake

echo "== test: ${presets[*]}"
ctest --test-dir build/all --output-on-failure --parallel 2
