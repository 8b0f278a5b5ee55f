#!/usr/bin/env bash
# Sets up, builds Vorkel.exe and starts it under Wine (Chinese locale).
# With a display ($DISPLAY set), the window opens there; the script returns
# when the program ends. Without one, the program runs on a virtual display:
# the script saves a screenshot of its window, prints the PNG's path and
# ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vorkel >/dev/null

if [ -n "${DISPLAY:-}" ]; then
    exec cmake/wine-run.sh build/windows/app/Vorkel.exe
fi
echo "No display: running Vorkel on a virtual one for a screenshot."
exec scripts/screenshot.sh --fresh build/windows/Vorkel-window.png
