#!/bin/sh
# Runs a Windows program under Wine: the CMAKE_CROSSCOMPILING_EMULATOR of the
# windows preset, and what the scripts start programs with.
#   wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The program runs in the Wine session of the build folder that holds it
# (cmake/wine-session.sh), in the locale $VORKEL_LOCALE (default zh_CN.UTF-8).
# With VORKEL_WINE_DESKTOP=NAME,WIDTHxHEIGHT it runs in a Wine virtual
# desktop of that name and size, which draws like a Windows screen, title
# bars and all (for screenshots; the program's exit status is lost).
set -e

program=$1
build=$(cd "$(dirname "$program")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do
    build=$(dirname "$build")
done
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "wine-run.sh: $program is not inside a build folder" >&2
    exit 2
fi

. "$(dirname "$0")/wine-session.sh"
wine_session "$build"

if [ -n "${VORKEL_WINE_DESKTOP:-}" ]; then
    set -- explorer "/desktop=$VORKEL_WINE_DESKTOP" "$@"
fi
exec wine "$@"
