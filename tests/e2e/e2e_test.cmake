# Runs the end-to-end tests of Vorkel.exe (vorkel_e2e) under the emulator:
# makes the sample files they have Vorkel hash, and lists them for the tests
# with md5sum's digests, the digests the program must show.
#   cmake -DEMULATOR=... -DTESTS=vorkel_e2e.exe -DVORKEL=Vorkel.exe
#         -DMD5HEX=md5hex.exe -DPLANTED=planted_dll.dll -DDROP_HOOK=drop_hook.dll
#         -DWORK_DIR=... -P e2e_test.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(REAL_PATH "${WORK_DIR}" work)
if(NOT work MATCHES "^[ -~]*$")
  message(FATAL_ERROR "the long path below is sized for an ASCII folder, not ${work}")
endif()

# Every byte value but zero, five times over: more than one 1024-byte piece
# of the program's reads, and bytes that a text-mode read would change (CR LF)
# or stop at (Ctrl-Z).
foreach(byte RANGE 1 255)
  list(APPEND bytes ${byte})
endforeach()
string(ASCII ${bytes} once)
string(REPEAT "${once}" 5 content)

# Names in Chinese, in Korean, with a character outside the BMP (a surrogate
# pair in UTF-16, 4 bytes in UTF-8) and with letters that the double-byte
# code pages lack; and a deep Chinese path of fewer than 260 characters (the
# most Wine's file chooser takes) but far more than 260 bytes, in folders of
# 60 characters (180 bytes: a Unix name takes at most 255).
set(names "样本 文件.bin" "한국어 파일.bin" "emoji 😀.bin" "Straße łódź.bin")
string(LENGTH "Z:${work}/" used) # ASCII: one byte a character
math(EXPR room "250 - ${used} - 7") # for the folders, after them 7 characters: 长路径.bin
string(REPEAT "深" 60 folder)
set(long "")
while(room GREATER 61)
  string(APPEND long "${folder}/")
  math(EXPR room "${room} - 61")
endwhile()
if(room GREATER 1)
  math(EXPR room "${room} - 1")
  string(REPEAT "深" ${room} rest)
  string(APPEND long "${rest}/")
endif()
list(APPEND names "${long}长路径.bin")

set(list "")
foreach(name IN LISTS names)
  set(sample "${work}/${name}")
  get_filename_component(folder_of "${sample}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder_of}")
  file(WRITE "${sample}" "${name}\n${content}") # each file a content of its own
  execute_process(COMMAND md5sum "${sample}" OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT output MATCHES "^([0-9a-f]+) ")
    message(FATAL_ERROR "md5sum ${sample}: status ${status}, output [${output}]")
  endif()
  # Wine's drive Z: is the Unix root.
  string(REPLACE "/" "\\" windows_path "Z:${sample}")
  string(APPEND list "${CMAKE_MATCH_1}  ${windows_path}\n")
endforeach()
file(WRITE "${work}/samples.md5" "${list}")

# The drop hook takes the names to drop from a file beside itself: a copy of
# its own in this run's folder, so that the runs of other locales going on
# at the same time (each in a folder of its own) never read this one's.
file(COPY "${DROP_HOOK}" DESTINATION "${work}")
get_filename_component(hook_name "${DROP_HOOK}" NAME)
set(DROP_HOOK "${work}/${hook_name}")

foreach(program vorkel md5hex planted drop_hook)
  string(TOUPPER ${program} variable)
  file(REAL_PATH "${${variable}}" ${program})
  string(REPLACE "/" "\\" ${program} "Z:${${program}}")
endforeach()
string(REPLACE "/" "\\" samples "Z:${work}/samples.md5")
# The time limit ends the run should a program it started keep it waiting.
execute_process(COMMAND ${EMULATOR} "${TESTS}" "${vorkel}" "${md5hex}" "${planted}" "${drop_hook}"
                        "${samples}"
                RESULT_VARIABLE status TIMEOUT 180)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vorkel_e2e: status ${status}")
endif()
