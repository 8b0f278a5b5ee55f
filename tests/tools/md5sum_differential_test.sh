#!/usr/bin/env bash
# md5hex -c against md5sum -c itself: each case runs both with the same
# arguments and standard input in the same folder, and compares standard
# output, standard error (md5sum's name there made md5hex's) and the exit
# status.
#   md5sum_differential_test.sh MD5HEX WORK_DIR
set -uo pipefail
md5hex=$1 work=$2
# md5sum's messages in English, and names quoted as in a UTF-8 locale.
export LC_ALL=C.UTF-8

rm -rf "$work"
mkdir -p "$work/files" "$work/out"
cd "$work/files" || exit 2

# The files the sums name: plain ones, and names with a blank, a leading
# dash, a backslash, a line end, an apostrophe, a colon, a CR and Chinese.
printf abc > abc
printf '' > empty
printf 'other bytes\r\n' > changed
mkdir folder
tricky=("sp ace" "-dash" 'back\slash' $'new\nline' "it's" "co:lon" $'cr\rname' "中文.txt")
for name in "${tricky[@]}"; do printf '%s' "$name" > "$name"; done
abc=900150983cd24fb0d6963f7d28e17f72
md5sum abc empty changed > good.md5
md5sum -- "${tricky[@]}" > tricky.md5 # escaped lines for the backslash and line-end names
md5sum --tag -- abc "${tricky[@]}" > tagged.md5
sed 's/$/\r/' good.md5 > crlf.md5
printf 'abc\n' > changed # now it differs from its line
{ cat good.md5; echo "$abc  missing"; echo "$abc  folder"; } > mixed.md5

cases=0 failures=0
# same [-i STDIN] ARGS...: md5sum ARGS and md5hex ARGS agree.
same() {
    local input=/dev/null
    if [ "$1" = -i ]; then input=$2; shift 2; fi
    cases=$((cases + 1))
    local o=$work/out
    md5sum "$@" < "$input" > "$o/sum.out" 2> "$o/sum.err"; local want=$?
    "$md5hex" "$@" < "$input" > "$o/hex.out" 2> "$o/hex.err"; local got=$?
    sed -i "s/^md5sum: /md5hex: /; s/^Try 'md5sum --help'/Try 'md5hex --help'/" "$o/sum.err"
    if [ "$want" != "$got" ] || ! cmp -s "$o/sum.out" "$o/hex.out" || ! cmp -s "$o/sum.err" "$o/hex.err"; then
        failures=$((failures + 1))
        echo "FAIL: $(printf '%q ' "$@")< $input"
        echo "  exit status: md5sum $want, md5hex $got"
        diff <(cat -A "$o/sum.out") <(cat -A "$o/hex.out") | sed 's/^/  stdout: /'
        diff <(cat -A "$o/sum.err") <(cat -A "$o/hex.err") | sed 's/^/  stderr: /'
    fi
}
# lines NAME LINE...: a sums file of these lines.
lines() { local name=$1; shift; printf '%s\n' "$@" > "$name"; }

echo "== formats"
same -c good.md5
same -c tricky.md5
same -c tagged.md5
same -c crlf.md5
lines binary.md5 "$abc *abc" "${abc^^}  abc" "	 $abc  abc"
same -c binary.md5
lines tagged-variants.md5 "MD5 (abc) = $abc" "MD5(abc)= $abc" "MD5 (abc)=$abc" " MD5 (abc) =	${abc^^}" \
    "MD5 ((abc)) = $abc" "MD5 (abc) = ${abc}0" "MD5 (abc = $abc" "MD5  (abc) = $abc" "\\MD5 (back\\\\slash) = $abc"
same -c tagged-variants.md5
lines reversed.md5 "$abc abc" "$abc	abc" "$abc  abc"   # the standard line after BSD's is refused
same -c reversed.md5
same -c good.md5 reversed.md5                         # across files too
lines escapes.md5 "\\$abc  a\\\\b" "\\$abc  a\\nb\\rc" "\\$abc  a\\x" "\\$abc  a\\" "\\$abc  abc" "$abc  a\\nb"
same -c escapes.md5
lines misformed.md5 "# a comment" "" "$abc" "$abc " "${abc}0  abc" "${abc:1}  abc" "g${abc:1}  abc" \
    "$abc  " "$abc   " "MD5" "\\" "md5 (abc) = $abc"
same -c misformed.md5
same -w -c misformed.md5
printf '%s  abc' "$abc" > no-final-newline.md5
same -c no-final-newline.md5
printf '%s  abc\r\r\n%s  ab\0c\n\r\n' "$abc" "$abc" > odd-ends.md5
same -c odd-ends.md5

echo "== outcomes"
same -c mixed.md5                                     # OK, FAILED, missing, a folder
lines one-of-each.md5 "$abc  missing" "$abc  empty" "# x" "junk"
same -c one-of-each.md5                               # each warning in the singular
lines two-of-each.md5 "$abc  missing" "$abc  gone" "$abc  empty" "$abc  changed" "junk" "junk"
same -c two-of-each.md5                               # and in the plural
printf '' > empty.md5
same -c empty.md5
lines comments.md5 "# only" "#$abc  abc"
same -c comments.md5
same -c no-such.md5
same -c folder
same -c good.md5 no-such.md5 tricky.md5 empty.md5     # several sums files
same -i good.md5 -c
same -i good.md5 -c -
same -i good.md5 -c good.md5 - tricky.md5
lines stdin-listed.md5 "$abc  -" "$abc  abc"
same -i abc -c stdin-listed.md5                       # "-" in a file: standard input is hashed
same -i stdin-listed.md5 -c                           # "-" in standard input: improperly formatted
same -i stdin-listed.md5 -c -w -
lines tricky-missing.md5 "$abc  sp ace " "$abc  -dash-" "\\$abc  back\\\\slash\\\\" "\\$abc  new\\nline\\n" \
    "$abc  it's not" "$abc  it's \$x" "$abc  co:lon:" "$abc  中文" "$abc  é" "$abc  #x" "$abc  x#" \
    "$abc  ~" "$abc  {" "$abc  {x}" "$abc  a=b" "\\$abc  \\r"
same -c tricky-missing.md5
same -c "sp ace.md5" -- -dash.md5 "it's.md5"

echo "== options"
same --quiet -c mixed.md5
same -c --quiet good.md5
same -c --status mixed.md5
same -c --status good.md5
same -c --status misformed.md5
same -c --strict misformed.md5
same -c --strict good.md5
same -c --strict one-of-each.md5
same -c -w one-of-each.md5
same -c --warn --status misformed.md5                 # the last of these three counts
same -c --status --warn misformed.md5
same -c --status --quiet mixed.md5
same -c --ignore-missing mixed.md5
same -c --ignore-missing tricky-missing.md5           # no file was verified
same -c --ignore-missing --status tricky-missing.md5
same -c --ignore-missing --quiet good.md5 one-of-each.md5
same -cw misformed.md5
same -wc misformed.md5
same good.md5 --check
same --ch --qui good.md5
same --che --stat --ignore good.md5
same -c -- --quiet
same -c -x good.md5
same -cx good.md5
same -c --bogus good.md5
same -c --bogus=1 good.md5
same -c --st good.md5
same -c --s=1 good.md5
same -c --t good.md5
same -c --quiet=1 good.md5
same --check=yes good.md5
same -c -b good.md5
same -c --text good.md5
same -c --tag good.md5
same -c -t --tag good.md5
same -c --tag -t good.md5
same -c -z good.md5
same -c --zero --tag good.md5
same --help=x
same --bogus --help

echo "$cases passed, 0 failed" | sed "s/^[0-9]* passed, 0/$((cases - failures)) passed, $failures/"
[ "$failures" = 0 ]
