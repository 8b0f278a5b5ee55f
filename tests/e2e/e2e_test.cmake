# Runs the end-to-end tests of Vorkel.exe (vorkel_e2e) under the emulator:
# makes the sample file they have Vorkel hash, and gives them md5sum's digest
# of it to compare with what the program shows.
#   cmake -DEMULATOR=... -DTESTS=vorkel_e2e.exe -DVORKEL=Vorkel.exe
#         -DWORK_DIR=... -P e2e_test.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# Every byte value but zero, five times over: more than one 1024-byte piece
# of the program's reads, and bytes that a text-mode read would change (CR LF)
# or stop at (Ctrl-Z). The name is Chinese, as a user's files may be named.
foreach(byte RANGE 1 255)
  list(APPEND bytes ${byte})
endforeach()
string(ASCII ${bytes} once)
string(REPEAT "${once}" 5 content)
set(sample "${WORK_DIR}/样本 文件.bin")
file(WRITE "${sample}" "${content}")

execute_process(COMMAND md5sum "${sample}" OUTPUT_VARIABLE md5sum_output
                RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT md5sum_output MATCHES "^([0-9a-f]+) ")
  message(FATAL_ERROR "md5sum ${sample}: status ${status}, output [${md5sum_output}]")
endif()
string(TOUPPER "${CMAKE_MATCH_1}" digest)

# Wine's drive Z: is the Unix root.
function(windows_path unix_path out)
  file(REAL_PATH "${unix_path}" absolute)
  string(REPLACE "/" "\\" path "Z:${absolute}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
windows_path("${VORKEL}" vorkel_path)
windows_path("${sample}" sample_path)

# The time limit ends the run should a program it started keep it waiting.
execute_process(COMMAND ${EMULATOR} "${TESTS}" "${vorkel_path}" "${sample_path}" "${digest}"
                RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vorkel_e2e: status ${status}")
endif()
