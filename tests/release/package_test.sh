#!/usr/bin/env bash
# The release package as a user gets it: made by cpack from this build,
# unpacked with unzip, its sums checked with sha256sum and md5sum, its
# programs the very ones the other tests ran, its guide readable in Notepad;
# packed again later and in another time zone, the same bytes.
#   package_test.sh CPACK CPACK_CONFIG WORK_DIR PACKAGE_NAME OBJDUMP VORKEL.exe MD5HEX.exe
set -euo pipefail
export LC_ALL=C # bytes, and sort's order
cpack=$1 config=$2 work=$3 name=$4 objdump=$5 vorkel=$6 md5hex=$7
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$config" -B "$work/first" >/dev/null
zip=$work/first/$name.zip
[ -f "$zip" ] || fail "no $name.zip in $work/first: $(ls "$work/first")"
(cd "$work/first" && sha256sum --strict --quiet -c "$name.zip.sha256") ||
    fail "$name.zip.sha256 does not match the package"

# Exactly these files, in one folder named like the package.
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf "$name/%s\n" MD5SUMS README.txt SHA256SUMS THIRD-PARTY-NOTICES.txt \
    Vorkel.exe Vorkel.spdx.json md5hex.exe | sort)
[ "$listing" = "$expected" ] || fail "the package holds"$'\n'"$listing"$'\n'"instead of"$'\n'"$expected"

unzip -q "$zip" -d "$work/unpacked"
folder=$work/unpacked/$name

# The sums, checked where a user checks them, name every other file but
# the guide.
for sums in SHA256SUMS MD5SUMS; do
    names=$(sed 's/^[0-9a-f]*  //' "$folder/$sums" | sort | tr '\n' ' ')
    [ "$names" = "THIRD-PARTY-NOTICES.txt Vorkel.exe Vorkel.spdx.json md5hex.exe " ] ||
        fail "$sums lists: $names"
done
(cd "$folder" && sha256sum --strict -c SHA256SUMS && md5sum --strict -c MD5SUMS) ||
    fail "the sums do not match the programs"
# And as a user checks them on Windows: with the md5hex.exe in the package.
checked=$(cd "$folder" && "$here/../../cmake/wine-run.sh" ./md5hex.exe --strict -c MD5SUMS) ||
    fail "md5hex.exe --strict -c MD5SUMS: exit status $?"
[ "$(printf '%s' "$checked" | tr -d '\r')" = \
    $'Vorkel.exe: OK\nmd5hex.exe: OK\nTHIRD-PARTY-NOTICES.txt: OK\nVorkel.spdx.json: OK' ] ||
    fail "md5hex.exe -c MD5SUMS printed: $checked"

# The programs are the tested ones, byte for byte.
"$here/compare_pe.sh" "$objdump" "$vorkel" "$folder/Vorkel.exe" || fail "Vorkel.exe is not the tested one"
"$here/compare_pe.sh" "$objdump" "$md5hex" "$folder/md5hex.exe" || fail "md5hex.exe is not the tested one"

# The notices hold the runtime's licences; the SBOM names what is inside.
notices=$folder/THIRD-PARTY-NOTICES.txt
for licence in "License: ZPL-2.1" "Files: mingw-w64-libraries/winpthreads/\*" \
    "GCC RUNTIME LIBRARY EXCEPTION"; do
    grep -q "^$licence" "$notices" || fail "THIRD-PARTY-NOTICES.txt lacks $licence"
done
version=${name#Vorkel-}
version=${version%-win64}
cmake -DSBOM="$folder/Vorkel.spdx.json" -DVERSION="$version" -P "$here/sbom_check.cmake" ||
    fail "Vorkel.spdx.json does not say what the package holds"

# The guide: UTF-8 with a byte order mark, every line ended by CR LF, and
# the package's version in its title.
guide=$folder/README.txt
[ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no UTF-8 byte order mark"
iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null || fail "README.txt is not UTF-8"
if grep -q $'[^\r]$\|^$' "$guide"; then fail "README.txt has lines not ended by CR LF"; fi
[ "$(tail -c 2 "$guide" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "README.txt's last line has no CR LF"
head -n 1 "$guide" | grep -q -F "Vorkel $version " || fail "README.txt's title does not name version $version"

# Packing does not stamp the time or the time zone of the packing into the
# package: two seconds later (zip times have a two-second grain) and eight
# hours east, the same bytes.
sleep 2
TZ=CST-8 "$cpack" --config "$config" -B "$work/second" >/dev/null
cmp "$zip" "$work/second/$name.zip" || fail "packed again, the package differs"
