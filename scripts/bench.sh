#!/usr/bin/env bash
# Measures Vorkel's digest speed against the usual tools, side by side in one
# run (the machine may be shared and noisy: only the ratios mean anything):
#  1. the core against OpenSSL's MD5 over the same 64 MiB buffer (md5_bench);
#  2. md5hex against md5sum and `openssl md5` on the same warm 1 GiB file,
#     runs alternating, medians of the wall times;
#  3. md5hex's peak memory for a 1 MiB and a 1 GiB file.
# Usage: scripts/bench.sh [RUNS]   (RUNS per tool, default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}

scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
md5hex=$PWD/build/native/tools/md5hex

# Prints "met" or "MISSED" for a measured value against a target.
verdict() { awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN {
    ok = (op == ">=") ? v >= t : v <= t; printf "%s (target %s %s)\n", ok ? "met" : "MISSED", op, t }'; }

echo "== core against OpenSSL, in memory"
core=$(build/native/bench/md5_bench --benchmark_format=console 2>/dev/null | sed -n '/^Core against OpenSSL/,$p')
echo "$core"
ratio=$(echo "$core" | awk '/pieces of +1024 bytes/ { print $NF }')
echo "  core / OpenSSL, 1024-byte pieces: $(verdict "$ratio" ">=" 1.03)"

data=${TMPDIR:-/tmp}/vorkel-bench
mkdir -p "$data"
[ "$(stat -c %s "$data/1g.bin" 2>/dev/null || echo 0)" = 1073741824 ] ||
    head -c 1G /dev/urandom > "$data/1g.bin"
[ "$(stat -c %s "$data/1m.bin" 2>/dev/null || echo 0)" = 1048576 ] ||
    head -c 1M /dev/urandom > "$data/1m.bin"
cat "$data/1g.bin" > /dev/null # warm the page cache

# Wall time of one run in seconds, its output checked against md5sum's.
expected=$(md5sum < "$data/1g.bin" | cut -c1-32)
walltime() {
    local start end digest
    start=$(date +%s%N)
    digest=$("$@" | grep -o '[0-9a-f]\{32\}' | head -1)
    end=$(date +%s%N)
    [ "$digest" = "$expected" ] || { echo "bench: $1 gave $digest, not $expected" >&2; exit 1; }
    awk -v ns=$((end - start)) 'BEGIN { printf "%.4f\n", ns / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo
echo "== md5hex against md5sum and openssl md5, warm 1 GiB file, $runs runs each, alternating"
: > "$data/md5hex.times"; : > "$data/md5sum.times"; : > "$data/openssl.times"
for _ in $(seq "$runs"); do
    walltime "$md5hex" "$data/1g.bin" >> "$data/md5hex.times"
    walltime md5sum "$data/1g.bin" >> "$data/md5sum.times"
    walltime openssl md5 "$data/1g.bin" >> "$data/openssl.times"
done
t_hex=$(median < "$data/md5hex.times")
t_sum=$(median < "$data/md5sum.times")
t_ssl=$(median < "$data/openssl.times")
printf '  median wall time: md5hex %.3f s, md5sum %.3f s, openssl md5 %.3f s\n' "$t_hex" "$t_sum" "$t_ssl"
r_sum=$(awk -v h="$t_hex" -v s="$t_sum" 'BEGIN { printf "%.3f", h / s }')
r_ssl=$(awk -v h="$t_hex" -v o="$t_ssl" 'BEGIN { printf "%.3f", h / o }')
echo "  md5hex / md5sum      = $r_sum: $(verdict "$r_sum" "<=" 0.95)"
echo "  md5hex / openssl md5 = $r_ssl: $(verdict "$r_ssl" "<=" 0.92)"

echo
echo "== md5hex peak memory (maximum resident set size)"
# The median of several runs: how many pages of the shared libraries a run
# maps depends on what the page cache holds at the time.
declare -A peak
for size in 1m 1g; do
    peak[$size]=$(for _ in $(seq 5); do
        { /usr/bin/time -f '%M' "$md5hex" "$data/$size.bin" >/dev/null; } 2>&1 | tail -1
    done | median)
    printf '  %s file: %s KiB (median of 5 runs)\n' "$size" "${peak[$size]}"
done
growth=$(( peak[1g] - peak[1m] ))
echo "  growth from 1 MiB to 1 GiB: ${growth#-} KiB: $(verdict "${growth#-}" "<=" 256)"
