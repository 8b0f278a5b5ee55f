#!/usr/bin/env bash
# The Windows programs are reproducible: configured with the same preset and
# built again from the same sources in another folder, whose path has another
# length, they come out byte for byte the same as the tested ones.
#   rebuild_test.sh CMAKE SOURCE_DIR PRESET WORK_DIR OBJDUMP BUILD_DIR PROGRAM.exe...
# PROGRAMs are the tested ones, inside BUILD_DIR; each is built again as the
# target of its name and compared with its copy under WORK_DIR.
set -euo pipefail
cmake=$1 source_dir=$2 preset=$3 work=$4 objdump=$5 build=$6
shift 6
here=$(cd "$(dirname "$0")" && pwd)

if [ ${#work} -eq ${#build} ]; then
    echo "$work: the second build's path must differ in length from $build's" >&2
    exit 2
fi

targets=()
for program in "$@"; do targets+=("$(basename "$program" .exe)"); done

# From scratch every time: nothing of an earlier run takes part. (ctest
# shows this output only when the test fails.)
rm -rf "$work"
(cd "$source_dir" && "$cmake" --preset "$preset" -B "$work")
"$cmake" --build "$work" --target "${targets[@]}"

status=0
for program in "$@"; do
    "$here/compare_pe.sh" "$objdump" "$program" "$work/${program#"$build"/}" || status=1
done
exit $status
