#!/usr/bin/env bash
# Sets up, builds and tests everything: the native build, the native build
# with AddressSanitizer and UndefinedBehaviorSanitizer, the native build with
# ThreadSanitizer (md5hex's threads), md5hex -c's fuzz target (run for a
# minute), and the Windows build with its tests run under Wine. Ends with
# ctest's summary of all of them;
# the exit status is non-zero when anything failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

presets=(native native-asan native-tsan fuzz windows)
for preset in "${presets[@]}"; do
    echo "== build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

# The windowed tests run on virtual displays of their own (one per Wine
# server: see cmake/wine-session.sh), never on the user's screen.
unset DISPLAY
. cmake/wine-session.sh
trap 'wine_session_end "$root/build/windows"' EXIT

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
