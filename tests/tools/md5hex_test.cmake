# Runs md5hex (under the emulator, if any) on files made here, and checks what
# it prints and the exit status. Paths are relative to WORK_DIR so that they
# mean the same to a Windows program under Wine.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(WRITE "${WORK_DIR}/abc.txt" "abc")
file(TOUCH "${WORK_DIR}/empty")

function(run_md5hex expected_status expected_stdout expected_stderr)
  execute_process(COMMAND ${EMULATOR} "${MD5HEX}" ${ARGN}
    WORKING_DIRECTORY "${WORK_DIR}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r\n" "\n" out "${out}")
  string(REPLACE "\r\n" "\n" err "${err}")
  if(NOT status STREQUAL expected_status OR NOT out STREQUAL expected_stdout
     OR NOT err MATCHES "${expected_stderr}")
    message(FATAL_ERROR "md5hex ${ARGN}: status ${status}, stdout [${out}], stderr [${err}]; "
                        "expected status ${expected_status}, stdout [${expected_stdout}], "
                        "stderr matching [${expected_stderr}]")
  endif()
endfunction()

run_md5hex(0 "900150983cd24fb0d6963f7d28e17f72  abc.txt\nd41d8cd98f00b204e9800998ecf8427e  empty\n" "^$"
           abc.txt empty)
run_md5hex(1 "missing can't be opened\n900150983cd24fb0d6963f7d28e17f72  abc.txt\n" "^$"
           missing abc.txt)
run_md5hex(2 "" "^usage: md5hex FILE\\.\\.\\.\n$")

# Check mode on sums files in UTF-8, with LF and with CR LF line ends, naming
# files in Chinese, in Korean and with an emoji (4 bytes in UTF-8, a
# surrogate pair in UTF-16): under Wine in the Chinese locale, whose code
# page 936 spells none of the last two, md5hex.exe opens them only through
# its manifest's UTF-8 code page. The digests are CMake's own.
set(names "样本 文件.bin" "한국어 파일.bin" "emoji 😀.bin")
set(sums "")
set(oks "")
foreach(name IN LISTS names)
  file(WRITE "${WORK_DIR}/${name}" "${name}\n")
  file(MD5 "${WORK_DIR}/${name}" digest)
  string(APPEND sums "${digest}  ${name}\n")
  string(APPEND oks "${name}: OK\n")
endforeach()
file(WRITE "${WORK_DIR}/names.md5" "${sums}")
string(REPLACE "\n" "\r\n" crlf "${sums}")
file(WRITE "${WORK_DIR}/names-crlf.md5" "${crlf}")
run_md5hex(0 "${oks}" "^$" -c names.md5)
run_md5hex(0 "${oks}" "^$" --check names-crlf.md5)
file(WRITE "${WORK_DIR}/missing.md5" "${digest}  없는 파일.bin\n")
run_md5hex(1 "없는 파일.bin: FAILED open or read\n"
           "^md5hex: '없는 파일\\.bin': No such file or directory\nmd5hex: WARNING: 1 listed file could not be read\n$"
           -c missing.md5)

run_md5hex(0 "md5hex (Vorkel) ${VERSION}\n" "^$" --version)
