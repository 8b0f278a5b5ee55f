#!/usr/bin/env bash
# Sets up, builds and runs md5hex on the files given (README.md when none).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
[ $# -gt 0 ] || set -- README.md
exec build/native/tools/md5hex "$@"
