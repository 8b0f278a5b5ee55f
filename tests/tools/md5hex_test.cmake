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
