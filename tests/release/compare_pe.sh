#!/usr/bin/env bash
# Compares two builds of a Windows program byte for byte. When they differ it
# says where: each run of differing bytes with its file offsets and the header
# field or section it falls in, which points to what made the builds differ
# (a time stamp, a path, code). Exit status 0 when they are the same.
#   compare_pe.sh OBJDUMP EXPECTED.exe ACTUAL.exe
set -euo pipefail
objdump=$1 expected=$2 actual=$3

cmp -s "$expected" "$actual" && exit 0

echo "$actual differs from $expected" \
     "($(stat -c %s "$actual") and $(stat -c %s "$expected") bytes):"

# The unsigned little-endian number of $2 bytes at offset $1 of EXPECTED.
number() { od -An -tu"$2" -j"$1" -N"$2" "$expected" | tr -d ' '; }

pe=$(number 60 4)                      # e_lfanew: where the PE signature is
coff=$((pe + 4))                       # COFF file header, 20 bytes
optional=$((coff + 20))                # optional header (PE32+)
section_table=$((optional + $(number $((coff + 16)) 2)))
sections_end=$((section_table + 40 * $(number $((coff + 2)) 2)))

# The places a byte can be in, "start end name" (end exclusive), the
# narrowest first: the first that holds an offset names it.
places() {
    echo "$((coff + 4)) $((coff + 8)) COFF header TimeDateStamp"
    echo "$((coff + 8)) $((coff + 16)) COFF header symbol table pointer and count"
    echo "$((optional + 16)) $((optional + 20)) optional header AddressOfEntryPoint"
    echo "$((optional + 56)) $((optional + 64)) optional header SizeOfImage, SizeOfHeaders"
    echo "$((optional + 64)) $((optional + 68)) optional header CheckSum"
    local i=0 directory
    for directory in Export Import Resource Exception Security BaseReloc Debug \
                     Architecture GlobalPtr TLS LoadConfig BoundImport IAT DelayImport; do
        echo "$((optional + 112 + 8 * i)) $((optional + 120 + 8 * i)) optional header $directory directory"
        i=$((i + 1))
    done
    echo "0 64 DOS header"
    echo "64 $pe DOS stub"
    echo "$pe $optional PE signature and COFF header"
    echo "$optional $section_table optional header"
    echo "$section_table $sections_end section table"
    # Sections with data in the file, from objdump -h's lines
    # "index name size vma lma file-offset alignment" (hexadecimal numbers).
    local index name size offset
    "$objdump" -h "$expected" | while read -r index name size _ _ offset _; do
        [[ $index =~ ^[0-9]+$ && $offset =~ [1-9a-f] ]] || continue
        echo "$((16#$offset)) $((16#$offset + 16#$size)) section $name"
    done
}

# Runs of differing bytes in one place become one line; twenty lines at most.
cmp -l "$expected" "$actual" 2>/dev/null | awk -v places="$(places)" '
    BEGIN { n = split(places, line, "\n")
            for (i = 1; i <= n; i++) { split(line[i], f, " "); start[i] = f[1]; end[i] = f[2]
                                       name[i] = substr(line[i], length(f[1] f[2]) + 3) } }
    function span() { return first == last ? sprintf("0x%x", first) : sprintf("0x%x-0x%x", first, last) }
    function place(offset,   i) {
        for (i = 1; i <= n; i++) if (offset >= start[i] && offset < end[i]) return name[i]
        return "outside the headers and sections (padding or trailing data)" }
    function report() { if (runs++ < 20) printf "  %s  %s\n", span(), where
                        else if (runs == 21) print "  ..." }
    { offset = $1 - 1; here = place(offset)
      if (NR > 1 && here == where && offset == last + 1) { last = offset; next }
      if (NR > 1) report()
      first = last = offset; where = here }
    END { if (NR > 0) report() }'
exit 1
