# Vorkel.exe and md5hex.exe as the loader sees them: system DLLs only among
# their static imports, and only those that Windows takes from System32
# whatever the search order (the rest are loaded at run time, after the DLL
# search is restricted); the runtime linked in statically, stack guard and
# checked string functions included; randomised, relocatable, non-executable
# data, terminal-server aware; no section both writable and executable.
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump "-DPROGRAMS=Vorkel.exe;md5hex.exe"
#         -P pe_test.cmake
cmake_minimum_required(VERSION 3.25)

foreach(program IN LISTS PROGRAMS)
  get_filename_component(name "${program}" NAME)
  execute_process(COMMAND "${OBJDUMP}" -p -h "${program}" OUTPUT_VARIABLE headers
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p -h ${program}: status ${status}")
  endif()

  string(REGEX MATCHALL "DLL Name: [^\n]*" imports "${headers}")
  list(TRANSFORM imports REPLACE "^DLL Name: *" "")
  list(TRANSFORM imports TOLOWER)
  if(NOT "kernel32.dll" IN_LIST imports)
    message(FATAL_ERROR "no imports read from ${name} (found: ${imports})")
  endif()
  foreach(dll IN LISTS imports)
    if(NOT dll MATCHES "^(kernel32|user32|gdi32|msvcrt|advapi32)\\.dll$")
      message(FATAL_ERROR "${name} imports ${dll}: not one of the system's KnownDLLs "
                          "that the program may import (the others are loaded at run time)")
    endif()
  endforeach()

  # HIGH_ENTROPY_VA 0x20, DYNAMIC_BASE 0x40, NX_COMPAT 0x100,
  # TERMINAL_SERVER_AWARE 0x8000.
  if(NOT headers MATCHES "\nDllCharacteristics[ \t]+([0-9a-fA-F]+)")
    message(FATAL_ERROR "no DllCharacteristics read from ${name}")
  endif()
  math(EXPR flags "0x${CMAKE_MATCH_1} & 0x8160" OUTPUT_FORMAT HEXADECIMAL)
  if(NOT flags EQUAL 0x8160)
    message(FATAL_ERROR "${name}: DllCharacteristics 0x${CMAKE_MATCH_1} lacks some of 0x8160")
  endif()
  # Randomisation needs the relocations to be there.
  if(NOT headers MATCHES "\nEntry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation Directory")
    message(FATAL_ERROR "${name} has no base relocations")
  endif()

  # objdump marks a section that is not writable READONLY.
  string(REGEX MATCHALL "\n *[0-9]+ [^\n]+\n[^\n]+" sections "${headers}")
  list(LENGTH sections count)
  if(count LESS 3)
    message(FATAL_ERROR "no sections read from ${name}")
  endif()
  foreach(section IN LISTS sections)
    if(section MATCHES "CODE" AND NOT section MATCHES "READONLY")
      string(STRIP "${section}" section)
      message(FATAL_ERROR "${name} has a section both writable and executable: ${section}")
    endif()
  endforeach()

  # libssp's reports, linked in with the stack guard and the checked
  # functions (the programs carry no symbols to look for).
  file(STRINGS "${program}" reports REGEX "\\*\\*\\* (stack smashing|buffer overflow) detected")
  list(LENGTH reports found)
  if(found LESS 2)
    message(FATAL_ERROR "${name} lacks the stack guard or the checked string functions: ${reports}")
  endif()
endforeach()
