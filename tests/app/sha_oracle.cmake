# Writes the digests that coreutils gives files of the test's bytes, for
# file_digests_test.cpp: every byte value but zero in turn, cut to lengths
# around the core's 1024-byte pieces.
#   cmake -DOUTPUT=sha_oracle.h -P sha_oracle.cmake
cmake_minimum_required(VERSION 3.25)

foreach(byte RANGE 1 255)
  list(APPEND bytes ${byte})
endforeach()
string(ASCII ${bytes} once)
string(REPEAT "${once}" 9 content) # 2295 bytes

get_filename_component(work "${OUTPUT}" DIRECTORY)
set(file "${work}/sha_oracle.bin")
set(rows "")
foreach(length 0 1 55 64 1023 1024 1025 2048 2049)
  string(SUBSTRING "${content}" 0 ${length} bytes)
  file(WRITE "${file}" "${bytes}")
  set(row "    {${length}")
  foreach(tool sha1sum sha256sum sha384sum sha512sum)
    execute_process(COMMAND ${tool} "${file}" OUTPUT_VARIABLE output RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT output MATCHES "^([0-9a-f]+) ")
      message(FATAL_ERROR "${tool}: status ${status}, output [${output}]")
    endif()
    string(APPEND row ", \"${CMAKE_MATCH_1}\"")
  endforeach()
  string(APPEND rows "${row}},\n")
endforeach()
file(REMOVE "${file}")
file(WRITE "${OUTPUT}.new" "// Written by sha_oracle.cmake: sha1sum, sha256sum, sha384sum and sha512sum
// of the first LENGTH bytes of 1, 2, ... 255, 1, 2, ...
struct ShaOracle {
    unsigned length;
    const char *sha[4]; // SHA-1, SHA-256, SHA-384, SHA-512, in lower case
};
const ShaOracle kShaOracle[] = {
${rows}};
")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
