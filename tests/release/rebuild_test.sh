#!/usr/bin/env bash
# The Windows programs are reproducible: configured with the same preset and
# built again from the same sources in another folder, whose path has another
# length, they come out byte for byte the same as the tested ones.
#   rebuild_test.sh SOURCE_DIR PRESET WORK_DIR OBJDUMP BUILD_DIR PROGRAM.exe...
# PROGRAMs are the tested ones, inside BUILD_DIR; each is built again as the
# target of its name and compared with its copy under WORK_DIR.
set -euo pipefail
source_dir=$1 preset=$2 work=$3 objdump=$4 build=$5
shift 5
here=$(cd "$(dirname "$0")" && pwd)

if [ ${#work} -eq ${#build} ]; then
    echo "$work: the second build's path must differ in length from $build's" >&2
    exit 2
fi

targets=()
for program in "$@"; do targets+=("$(basename "$program" .exe)"); done

# From scratch every time: nothing of an earlier run takes part.
rm -rf "$work"
(cd "$source_dir" && cmake --preset "$preset" -B "$work" >/dev/null)
cmake --build "$work" --target "${targets[@]}" >/dev/null

status=0
for program in "$@"; do
    "$here/compare_pe.sh" "$objdump" "$program" "$work/${program#"$build"/}" || status=1
done
exit $status
