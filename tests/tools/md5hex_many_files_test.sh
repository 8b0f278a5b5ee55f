#!/usr/bin/env bash
# md5hex on a folder of many files against md5sum on the same names, with
# each MD5HEX_SIMD cap: every digest line the same and in the same place; in
# place of md5sum's complaint about a name (on standard error), md5hex's
# line for it ("NAME can't be opened" or "NAME can't be read", on standard
# output); nothing on md5hex's standard error; the same exit status.
# And md5hex -c on sums of those names against md5sum -c: standard output
# and standard error, taken together, the same byte for byte and in the
# same order (md5sum's name in its messages made md5hex's), and the same
# exit status.
#   md5hex_many_files_test.sh MD5HEX WORK_DIR [EMULATOR]
# With an emulator (Wine, for md5hex.exe) the names are relative to WORK_DIR,
# and a folder can't be opened at all there, as on Windows.
set -uo pipefail
md5hex=$1 work=$2 emulator=${3:-}
export LC_ALL=C.UTF-8

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 2

# Sizes around the padding (55, 56, 63, 64 bytes into a block) and the read
# pieces (256 KiB), many small files and a few of several pieces; names that
# don't exist and folders among them.
sizes=(0 1 55 56 63 64 65 1000 4096 70000 1 119 120 300 5000)
names=()
for i in $(seq 0 299); do
    case $i in
        7) size=262143 ;; 17) size=262144 ;; 27) size=262145 ;; 37) size=$((3 * 262144 + 57)) ;;
        47) size=2000001 ;;
        *) size=${sizes[$((i % ${#sizes[@]}))]} ;;
    esac
    head -c "$size" /dev/urandom > "f$i.bin"
    names+=("f$i.bin")
    if [ $((i % 37)) = 5 ]; then names+=("missing$i"); fi
    if [ $((i % 71)) = 3 ]; then mkdir "folder$i"; names+=("folder$i"); fi
done
# A read that fails at once (the process's own memory at address 0), natively.
[ -n "$emulator" ] || names+=(/proc/self/mem f0.bin)

folder="can't be read"
[ -z "$emulator" ] || folder="can't be opened"
failures=0

# compare LABEL NAMES...: md5sum's lines, its complaints turned into md5hex's,
# against md5hex with each cap.
compare() {
    local label=$1; shift
    stdbuf -oL md5sum -- "$@" > expected 2>&1
    local want=$?
    sed -i -e "s/^md5sum: \(.*\): No such file or directory$/\1 can't be opened/" \
           -e "s/^md5sum: \(.*\): Is a directory$/\1 $folder/" \
           -e "s/^md5sum: \(.*\): Input\/output error$/\1 can't be read/" expected
    for simd in "" scalar avx2 avx512; do
        MD5HEX_SIMD=$simd $emulator "$md5hex" "$@" > out 2> err
        local got=$?
        tr -d '\r' < out > got
        if [ "$want" != "$got" ] || ! cmp -s expected got || [ -s err ]; then
            failures=$((failures + 1))
            echo "FAIL: $label, MD5HEX_SIMD=$simd: exit status md5sum $want, md5hex $got"
            diff expected got | head -10 | sed 's/^/  /'
            sed 's/^/  stderr: /' err | head -5
        fi
    done
}

compare "${#names[@]} names, some missing or unreadable" "${names[@]}"
compare "the files alone" f*.bin

# compare_check LABEL [-i STDIN] ARGS...: md5sum -c and md5hex -c, standard
# input from STDIN (else /dev/null).
compare_check() {
    local label=$1 input=/dev/null; shift
    if [ "$1" = -i ]; then input=$2; shift 2; fi
    stdbuf -oL md5sum "$@" < "$input" > expected 2>&1
    local want=$?
    sed -i -e 's/^md5sum: /md5hex: /' expected
    [ -z "$emulator" ] || sed -i -e 's/: Is a directory$/: Permission denied/' expected
    for simd in "" scalar avx2 avx512; do
        MD5HEX_SIMD=$simd $emulator "$md5hex" "$@" < "$input" > out 2>&1
        local got=$?
        tr -d '\r' < out > got
        if [ "$want" != "$got" ] || ! cmp -s expected got; then
            failures=$((failures + 1))
            echo "FAIL: $label, MD5HEX_SIMD=$simd: exit status md5sum $want, md5hex $got"
            diff expected got | head -10 | sed 's/^/  /'
        fi
    done
}

# Every name four times over (more lines than the pipeline takes names at
# once), the same way in each round: a wrong digest for some, an improperly
# formatted line now and then, and one after the largest file (whose result
# comes long after the line is read).
declare -A digest
while read -r sum name; do digest[$name]=$sum; done < <(md5sum f*.bin)
wrong=00000000000000000000000000000000
line=0
for round in 1 2 3 4; do
    for name in "${names[@]}"; do
        line=$((line + 1))
        sum=${digest[$name]:-$wrong}
        [ $((line % 53)) != 0 ] || sum=$wrong
        echo "$sum  $name"
        [ $((line % 97)) != 0 ] && [ "$name" != f47.bin ] || echo "not a line $line"
    done
done > many.md5
# A listed "-" among other names: standard input is hashed in its turn.
{ head -20 many.md5; echo "$(md5sum < many.md5 | cut -c1-32)  -"; sed -n 21,40p many.md5; } > dash.md5

compare_check "-c on $line lines" -c many.md5
compare_check "-c -w on $line lines" -c -w many.md5
# The listed "-" reads all of standard input before the sums file "-" reads
# what is left of it (nothing), and then it is empty.
compare_check "--quiet --ignore-missing -c dash.md5 - dash.md5 < many.md5" -i many.md5 \
    --quiet --ignore-missing -c dash.md5 - dash.md5

echo "md5hex_many_files: $failures failures"
[ "$failures" = 0 ]
