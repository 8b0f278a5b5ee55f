#!/usr/bin/env bash
# md5hex on many files and on one large file against the usual tools, side
# by side in one run, files in the page cache. The machine may be shared and
# noisy: the runs alternate, and what counts is the median of each round's
# ratio (the tools of one round saw the same machine).
#   first the lanes alone, GB/s on one processor for each path this
#   processor has (bench/md5lanes_bench.cpp)
#   data: 256 files of 4 MiB, 4096 of 64 KiB, 1 of 1 GiB
#   md5hex with each MD5HEX_SIMD path this processor has; md5sum; rhash;
#   hashdeep -j$(nproc); xargs -P$(nproc) md5sum; and on the 1 GiB file
#   md5hex as it was before it hashed files at once (built from BASELINE)
#   md5hex -c with each path against md5sum -c, on the sums of the 256 and
#   of the 4096 files
# Every tool's digests are checked, md5hex's lines against md5sum's byte for
# byte (md5hex -c's against md5sum -c's); md5hex's peak memory is measured
# on every run, and so is where its processor time went: its system time is
# the reading (the copy out of the page cache, opening and closing), its
# user time the hashing, and what its wall time on every processor leaves
# of both is idle. rhash and hashdeep are installed from Debian when missing.
# Usage: bench/md5hex_bench.sh [RUNS]   (RUNS rounds, default 5)
#        BASELINE=<commit> to compare with another md5hex on the 1 GiB file
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-5}
# The last commit whose md5hex hashed one file after another.
baseline=${BASELINE:-1da8c27}
jobs=$(nproc)
# md5hex's bound: 48 MiB of read buffers, and everything else in 8 MiB.
bound_kib=$((56 * 1024))

scripts/setup.sh
missing=()
for tool in rhash hashdeep; do command -v "$tool" >/dev/null || missing+=("$tool"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
cmake --preset native >/dev/null
cmake --build --preset native --target md5hex md5lanes_bench >/dev/null
md5hex=$root/build/native/tools/md5hex

data=${TMPDIR:-/tmp}/vorkel-bench
mkdir -p "$data"

# The md5hex of BASELINE, built once from that commit's sources.
old=$data/md5hex-$baseline
if [ ! -x "$old" ]; then
    src=$(mktemp -d)
    git -C "$root" archive "$baseline" | tar -x -C "$src"
    (cd "$src" && cmake --preset native >/dev/null && cmake --build --preset native --target md5hex >/dev/null)
    cp "$src/build/native/tools/md5hex" "$old"
    rm -rf "$src"
fi

# The data: random bytes, cut into files.
make_files() { # DIR COUNT SIZE
    local dir=$data/$1
    if [ "$(ls "$dir" 2>/dev/null | wc -l)" != "$2" ]; then
        rm -rf "$dir"
        mkdir -p "$dir"
        head -c "$(($2 * $3))" /dev/urandom | (cd "$dir" && split -a 4 -d -b "$3" - f)
    fi
}
make_files many-4m 256 $((4 << 20))
make_files many-64k 4096 $((64 << 10))
[ "$(stat -c %s "$data/1g.bin" 2>/dev/null || echo 0)" = 1073741824 ] ||
    head -c 1G /dev/urandom > "$data/1g.bin"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
verdict() { awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN {
    ok = (op == ">=") ? v >= t : v <= t; printf "%s (target %s %s)", ok ? "met" : "MISSED", op, t }'; }

# The paths this processor has (md5hex itself also asks the system).
paths=(scalar)
grep -q -w avx2 /proc/cpuinfo && paths+=(avx2)
grep -q -w avx512f /proc/cpuinfo && paths+=(avx512)

# bench NAME FILES...: every tool on FILES, RUNS rounds; prints the medians
# and each tool's ratio to md5hex on the widest path.
bench() {
    local name=$1; shift
    local -a labels=() commands=() simd=()
    for p in "${paths[@]}"; do
        labels+=("md5hex MD5HEX_SIMD=$p"); commands+=("$md5hex"); simd+=("$p")
    done
    [ "$name" != "1 x 1 GiB" ] || { labels+=("md5hex of $baseline"); commands+=("$old"); simd+=(""); }
    labels+=(md5sum rhash "hashdeep -j$jobs" "xargs -P$jobs md5sum")
    commands+=(md5sum "rhash --md5" "hashdeep -c md5 -j$jobs" "xargs"); simd+=("" "" "" "")
    md5sum "$@" > "$data/out.expected"
    grep -o '^[0-9a-f]\{32\}' "$data/out.expected" | sort > "$data/out.digests"
    rounds "$name" "$@"
}

# bench_check NAME SUMS: md5hex -c on each path and md5sum -c on the sums
# file SUMS, as bench does.
bench_check() {
    local name=$1 sums=$2
    local -a labels=() commands=() simd=()
    for p in "${paths[@]}"; do
        labels+=("md5hex -c MD5HEX_SIMD=$p"); commands+=("$md5hex -c"); simd+=("$p")
    done
    labels+=("md5sum -c"); commands+=("md5sum -c"); simd+=("")
    md5sum -c "$sums" > "$data/out.expected"
    cut -c35- "$sums" | xargs cat > /dev/null # into the page cache
    rounds "$name" "$sums"
}

# rounds NAME ARGS...: the commands and labels of the caller on ARGS, RUNS
# rounds, MD5HEX_SIMD set by the shell as the caller's simd says (started
# through env, md5hex would pay for a second start with every name: about
# 15 ms here with 4096 of them, a sixth of its time on them); md5hex's
# output (or md5sum -c's) must be out.expected, the others' digests
# out.digests.
rounds() {
    local name=$1; shift
    local files=("$@") out=$data/out
    local per=$(( (${#files[@]} + jobs - 1) / jobs ))

    cat "${files[@]}" > /dev/null # into the page cache
    rm -f "$out".times.* "$out".mem.* "$out".user.* "$out".sys.*

    echo
    echo "== $name: $runs rounds, medians of wall times (s)"
    for round in $(seq 0 "$runs"); do # round 0 warms up, uncounted
        for i in "${!commands[@]}"; do
            local start end
            start=${EPOCHREALTIME/[.,]/} # microseconds, no program started
            if [ "${commands[$i]}" = xargs ]; then
                printf '%s\0' "${files[@]}" | xargs -0 -P"$jobs" -n"$per" md5sum > "$out.got"
            else
                MD5HEX_SIMD=${simd[$i]} /usr/bin/time -f '%M %U %S' -o "$out.usage" \
                    ${commands[$i]} "${files[@]}" > "$out.got"
            fi
            end=${EPOCHREALTIME/[.,]/}
            if [ "${labels[$i]}" != "${labels[$i]#md5hex}" ] || [ "${labels[$i]}" = "md5sum -c" ]; then
                cmp -s "$out.got" "$out.expected" ||
                    { echo "bench: ${labels[$i]} printed other lines than md5sum" >&2; exit 1; }
                if [ "$round" != 0 ] && [ "${labels[$i]}" != "md5sum -c" ]; then
                    read -r mem user sys < "$out.usage"
                    echo "$mem" >> "$out.mem.$i"; echo "$user" >> "$out.user.$i"; echo "$sys" >> "$out.sys.$i"
                fi
            else
                grep -o '[0-9a-f]\{32\}' "$out.got" | sort | cmp -s - "$out.digests" ||
                    { echo "bench: ${labels[$i]} gave other digests than md5sum" >&2; exit 1; }
            fi
            [ "$round" = 0 ] || echo "$((end - start))" >> "$out.times.$i"
        done
    done

    # Each tool's time over md5hex's on the widest path (the last path),
    # round by round: how many times faster md5hex is.
    local ref=$(( ${#paths[@]} - 1 ))
    printf '  %-29s %9s %15s %11s\n' tool "wall (s)" "md5hex faster" "peak (KiB)"
    for i in "${!commands[@]}"; do
        local t ratio mem=""
        t=$(median < "$out.times.$i" | awk '{ printf "%.3f", $1 / 1e6 }')
        ratio=$(paste "$out.times.$i" "$out.times.$ref" | awk '{ print $1 / $2 }' | median)
        [ ! -s "$out.mem.$i" ] || mem=$(sort -n "$out.mem.$i" | tail -1)
        printf '  %-29s %9s %14.2fx %11s\n' "${labels[$i]}" "$t" "$ratio" "$mem"
        printf '%.2f\n' "$ratio" > "$out.ratio.$i"
        if [ -n "$mem" ] && [ "$mem" -gt "$bound_kib" ]; then
            echo "  ${labels[$i]}: peak memory $mem KiB: MISSED (bound $bound_kib KiB)"
        fi
    done

    # Where md5hex's processor time went, medians of the rounds: reading
    # (system time), hashing (user time) and idle (what is left of the wall
    # time on every processor). The larger of reading and hashing over the
    # processors is as fast as it can go.
    printf '  %-29s %11s %11s %11s   (of %d processors x wall)\n' "md5hex's processor time (s)" reading hashing idle "$jobs"
    for i in "${!paths[@]}"; do
        local user sys idle
        user=$(median < "$out.user.$i"); sys=$(median < "$out.sys.$i")
        idle=$(paste "$out.times.$i" "$out.user.$i" "$out.sys.$i" |
            awk -v n="$jobs" '{ print n * $1 / 1e6 - $2 - $3 }' | median)
        printf '  %-29s %11.2f %11.2f %11.2f\n' "${labels[$i]}" "$sys" "$user" "$idle"
    done
}

# over NAME INDEX: md5hex on path INDEX's wall time over md5sum's (at index
# n, after the paths), median of the rounds, against the path's target:
# 0.15 for AVX-512, 0.22 for AVX2; none for the scalar core.
over() {
    local r target=""
    r=$(paste "$data/out.times.$2" "$data/out.times.$n" | awk '{ print $1 / $2 }' | median | awk '{ printf "%.3f", $1 }')
    case ${paths[$2]} in avx512) target=0.15 ;; avx2) target=0.22 ;; esac
    printf '  %-33s %s' "$1 MD5HEX_SIMD=${paths[$2]}:" "$r"
    if [ -n "$target" ]; then echo ": $(verdict "$r" "<=" "$target")"; else echo; fi
}

echo "== $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $jobs processors; md5hex paths: ${paths[*]}"

n=${#paths[@]}
"$root/build/native/bench/md5lanes_bench"

# Each data set: md5hex on every path over md5sum (md5sum -c), the targets;
# indices after the md5hex paths: md5sum, rhash, hashdeep, xargs (one more
# on the 1 GiB file, where the baseline comes first).
bench "256 x 4 MiB" "$data"/many-4m/f*
echo "  wall time over md5sum's:"
for i in "${!paths[@]}"; do over "md5hex" "$i"; done
r_deep=$(cat "$data/out.ratio.$((n + 2))")
echo "  md5hex against hashdeep -j$jobs:      ${r_deep}x: $(verdict "$r_deep" ">=" 2.5)"

bench "4096 x 64 KiB" "$data"/many-64k/f*
echo "  wall time over md5sum's:"
for i in "${!paths[@]}"; do over "md5hex" "$i"; done

bench "1 x 1 GiB" "$data/1g.bin"
r_old=$(cat "$data/out.ratio.$n")
echo "  md5hex against md5hex of $baseline: ${r_old}x: $(verdict "$r_old" ">=" 1.05)"
r_sum=$(paste "$data/out.times.$((n - 1))" "$data/out.times.$((n + 1))" | awk '{ print $1 / $2 }' | median | awk '{ printf "%.3f", $1 }')
echo "  md5hex's wall time over md5sum's:   ${r_sum}: $(verdict "$r_sum" "<=" 0.86)"

# md5hex -c: the same targets as hashing the same files.
md5sum "$data"/many-4m/f* > "$data/many-4m.md5"
md5sum "$data"/many-64k/f* > "$data/many-64k.md5"
bench_check "md5hex -c, 256 x 4 MiB" "$data/many-4m.md5"
echo "  wall time over md5sum -c's:"
for i in "${!paths[@]}"; do over "md5hex -c" "$i"; done
bench_check "md5hex -c, 4096 x 64 KiB" "$data/many-64k.md5"
echo "  wall time over md5sum -c's:"
for i in "${!paths[@]}"; do over "md5hex -c" "$i"; done
