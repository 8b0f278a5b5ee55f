#!/usr/bin/env bash
# md5hex -c against md5sum -c itself: each case runs both with the same
# arguments and standard streams in the same folder, and compares standard
# output, standard error (md5sum's name there made md5hex's) and the exit
# status. With an emulator (md5hex.exe under Wine), only the cases marked
# wine_too run, and md5hex.exe's CR LF line ends count as LF.
#   md5sum_differential_test.sh [--emulator EMULATOR] MD5HEX WORK_DIR
set -uo pipefail
emulator=()
if [ "$1" = --emulator ]; then emulator=("$2"); shift 2; fi
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

cases=0 failures=0 wine_case=
# same [-i STDIN] [-r REDIRECTIONS] [-p] [-m MARKED] ARGS...: md5sum ARGS and
# md5hex ARGS agree. STDIN: a file (else /dev/null). REDIRECTIONS: applied
# after those, e.g. '>/dev/full' or '<&-'. -p: standard output into a pipe
# whose reader leaves after a byte, SIGPIPE ignored. MARKED: the sums file
# that md5hex reads as sums.md5, where md5sum reads sums.md5 itself.
same() {
    local input=/dev/null redirect= pipe= marked=
    while :; do
        case $1 in
        -i) input=$2; shift 2 ;;
        -r) redirect=$2; shift 2 ;;
        -p) pipe=1; shift ;;
        -m) marked=$2; shift 2 ;;
        *) break ;;
        esac
    done
    [ ${#emulator[@]} = 0 ] || [ -n "$wine_case" ] || return 0
    cases=$((cases + 1))
    local o=$work/out
    run() { # run OUT ERR PROGRAM...: with the case's streams
        local out=$1 err=$2; shift 2
        if [ -n "$pipe" ]; then
            : > "$out"
            (trap '' PIPE; eval '"$@" <"$input" 2>"$err" '"$redirect" | head -c1 > /dev/null)
        else
            eval '"$@" <"$input" >"$out" 2>"$err" '"$redirect"
        fi
    }
    run "$o/sum.out" "$o/sum.err" md5sum "$@"; local want=$?
    if [ -n "$marked" ]; then mv sums.md5 sums.plain && cp "$marked" sums.md5; fi
    run "$o/hex.out" "$o/hex.err" "${emulator[@]}" "$md5hex" "$@"; local got=$?
    if [ -n "$marked" ]; then mv sums.plain sums.md5; fi
    sed -i "s/^md5sum: /md5hex: /; s/^Try 'md5sum --help'/Try 'md5hex --help'/" "$o/sum.err"
    [ ${#emulator[@]} = 0 ] || sed -i 's/\r$//' "$o/hex.out" "$o/hex.err"
    if [ "$want" != "$got" ] || ! cmp -s "$o/sum.out" "$o/hex.out" || ! cmp -s "$o/sum.err" "$o/hex.err"; then
        failures=$((failures + 1))
        echo "FAIL: $(printf '%q ' "$@")< $input $redirect${pipe:+ | head -c1}${marked:+ (md5hex: $marked)}"
        echo "  exit status: md5sum $want, md5hex $got"
        diff <(cat -A "$o/sum.out") <(cat -A "$o/hex.out") | sed 's/^/  stdout: /'
        diff <(cat -A "$o/sum.err") <(cat -A "$o/hex.err") | sed 's/^/  stderr: /'
    fi
}
# wine_too same ...: a case that md5hex.exe runs under Wine too.
wine_too() { wine_case=1; "$@"; wine_case=; }
# lines NAME LINE...: a sums file of these lines.
lines() { local name=$1; shift; printf '%s\n' "$@" > "$name"; }

echo "== formats"
wine_too same -c good.md5
same -c tricky.md5
same -c tagged.md5
wine_too same -c crlf.md5
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
wine_too same -w -c misformed.md5
printf '%s  abc' "$abc" > no-final-newline.md5
same -c no-final-newline.md5
printf '%s  abc\r\r\n%s  ab\0c\n\r\n' "$abc" "$abc" > odd-ends.md5
same -c odd-ends.md5
# A zero byte after a digest: no blank (refused), or the end of a tagged one.
printf '%s\0 abc\n%s\0  abc\nMD5 (abc) = %s\0junk\n' "$abc" "$abc" "$abc" > zero-after-digest.md5
wine_too same -c -w zero-after-digest.md5

echo "== outcomes"
same -c mixed.md5                                     # OK, FAILED, missing, a folder
lines one-of-each.md5 "$abc  missing" "$abc  empty" "# x" "junk"
wine_too same -c one-of-each.md5                      # each warning in the singular
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
wine_too same -i good.md5 -c -
same -i good.md5 -c good.md5 - tricky.md5
lines stdin-listed.md5 "$abc  -" "$abc  abc"
same -i abc -c stdin-listed.md5                       # "-" in a file: standard input is hashed
same -i stdin-listed.md5 -c                           # "-" in standard input: improperly formatted
same -i stdin-listed.md5 -c -w -
lines tricky-missing.md5 "$abc  sp ace " "$abc  -dash-" "\\$abc  back\\\\slash\\\\" "\\$abc  new\\nline\\n" \
    "$abc  it's not" "$abc  it's \$x" "$abc  it's"$'\t' "$abc  co:lon:" "$abc  中文" "$abc  é" "$abc  #x" "$abc  x#" \
    "$abc  ~" "$abc  {" "$abc  {x}" "$abc  a=b" "\\$abc  \\r"
same -c tricky-missing.md5
# Quoted byte by byte: a C1 control (U+0085), the line and paragraph
# separators, noncharacters (U+FDD0, U+FFFE, U+10FFFF); U+FDF0 is printable.
lines unprintable.md5 "$abc  a$(printf '\302\205')b" "$abc  a$(printf '\342\200\250')b" \
    "$abc  a$(printf '\342\200\251')b" "$abc  a$(printf '\357\267\220')b" "$abc  a$(printf '\357\277\276')b" \
    "$abc  a$(printf '\364\217\277\277')b" "$abc  a$(printf '\357\267\260')b"
wine_too same -c unprintable.md5
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
lines long-name.md5 "$abc  $(printf '%0256d' 0)" "$abc  abc"
same -c --ignore-missing long-name.md5                # there but not openable: no skipping
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
for option in --ignore-missing --quiet --status --strict -w; do
    same "$option" abc                                # meaningful only with -c
done
wine_too same abc --ign
same --st abc                                         # ambiguous

echo "== write errors, closed streams"
for i in $(seq 20000); do echo "$abc  abc"; done > many.md5 # more than a pipe holds
wine_too same -r '>/dev/full' abc                     # every mode
wine_too same -r '>/dev/full' -c good.md5
same -r '>/dev/full' -c --status good.md5             # nothing written: no error
same -r '>/dev/full' --version
same -r '>&-' --help
same -r '>&-' -c --status good.md5
same -p -c many.md5                                   # EPIPE, SIGPIPE ignored
lines warned.md5 "$abc  abc" "junk"
same -r '2>/dev/full' -c -w warned.md5
same -r '<&-' -c stdin-listed.md5                     # no file on descriptor 0
same -r '<&-' -c
same -r '<&- >&-' -c good.md5 -
same -r '2>&-' -c good.md5

echo "== byte-order marks (md5hex: the text without the mark, as md5sum reads it)"
printf '%s\r\n' "$(md5sum abc)" "$(md5sum 中文.txt)" "$abc  없는 파일.txt" > sums.md5
{ printf '\357\273\277'; cat sums.md5; } > utf-8.md5
{ printf '\377\376'; iconv -f UTF-8 -t UTF-16LE sums.md5; } > utf-16le.md5
{ printf '\376\377'; iconv -f UTF-8 -t UTF-16BE sums.md5; } > utf-16be.md5
for marked in utf-8.md5 utf-16le.md5 utf-16be.md5; do
    wine_too same -m "$marked" -c sums.md5
done
same -m utf-16le.md5 -i sums.md5 -c
# UTF-16 that does not decode is an improperly formatted line.
{ printf '\377\376'; printf '%s  a' "$abc" | iconv -t UTF-16LE; printf '\000\330b\000\n\000'
  printf '%s  abc\n' "$abc" | iconv -t UTF-16LE; printf 'x'; } > broken-utf-16le.md5
lines sums.md5 "junk" "$abc  abc" "junk"
same -m broken-utf-16le.md5 -c -w sums.md5

echo "$cases passed, 0 failed" | sed "s/^[0-9]* passed, 0/$((cases - failures)) passed, $failures/"
[ "$failures" = 0 ]
