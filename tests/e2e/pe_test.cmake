# Vorkel.exe runs on a clean Windows: a GUI program that imports system DLLs
# only, with the C++ runtime, libgcc and winpthread linked in statically.
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DVORKEL=Vorkel.exe -P imports_test.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND "${OBJDUMP}" -p "${VORKEL}" OUTPUT_VARIABLE headers
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${VORKEL}: status ${status}")
endif()

if(NOT headers MATCHES "\nSubsystem[ \t]+00000002[ \t]")
  message(FATAL_ERROR "Vorkel.exe is not a GUI-subsystem program")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]*" imports "${headers}")
list(TRANSFORM imports REPLACE "^DLL Name: *" "")
list(TRANSFORM imports TOLOWER)
if(NOT "kernel32.dll" IN_LIST imports)
  message(FATAL_ERROR "no imports read from Vorkel.exe (found: ${imports})")
endif()

# Windows' own DLLs, the C runtime that comes with it among them.
set(system_dlls kernel32 user32 gdi32 comdlg32 advapi32 shell32 comctl32 ole32 version
    msvcrt ucrtbase "api-ms-win-crt-[a-z0-9-]+")
list(JOIN system_dlls "|" system_dll)
foreach(dll IN LISTS imports)
  if(dll MATCHES "^(libstdc\\+\\+|libgcc|libwinpthread)")
    message(FATAL_ERROR "Vorkel.exe needs ${dll}: a runtime that should be linked in statically")
  endif()
  if(NOT dll MATCHES "^(${system_dll})\\.dll$")
    message(FATAL_ERROR "Vorkel.exe imports ${dll}, which is not a system DLL")
  endif()
endforeach()
