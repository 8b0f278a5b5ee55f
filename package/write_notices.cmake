# Writes THIRD-PARTY-NOTICES.txt: the licences of the toolchain's runtime
# that is linked into Vorkel.exe and md5hex.exe, in the words of the Debian
# packages that the runtime came from (their copyright files). Included by
# package/CMakeLists.txt at configure time:
#   vorkel_write_notices(OUTPUT_FILE VERSION)
function(vorkel_write_notices output version)
  # The package holding each part, and the part: the C runtime's start-up,
  # its import libraries and winpthreads (mingw-w64-x86-64-dev); libgcc,
  # libssp and libstdc++ (the GCC packages, whose copyright files are one
  # text: the first is enough, the second is taken when it differs).
  set(parts
    "mingw-w64-x86-64-dev|the MinGW-w64 runtime (start-up code, import libraries, libmingwex) and winpthreads"
    "gcc-mingw-w64-x86-64-posix|the GCC runtime libraries libgcc and libssp, under the GCC Runtime Library Exception"
    "g++-mingw-w64-x86-64-posix|the GCC runtime library libstdc++, under the GCC Runtime Library Exception")
  set(text "Third-party notices for Vorkel ${version}\n\n")
  string(APPEND text
    "Vorkel.exe and md5hex.exe are linked statically with parts of the\n"
    "toolchain that built them. Their licences follow, each as the Debian\n"
    "package that the part came from ships it (/usr/share/doc/PACKAGE/copyright).\n\n")
  set(bodies "")
  set(taken "")
  foreach(part IN LISTS parts)
    string(REPLACE "|" ";" part "${part}")
    list(GET part 0 package)
    list(GET part 1 what)
    set(copyright "/usr/share/doc/${package}/copyright")
    if(NOT EXISTS "${copyright}")
      message(WARNING "${copyright} not found: THIRD-PARTY-NOTICES.txt lacks ${package}'s licence")
      continue()
    endif()
    file(READ "${copyright}" body)
    string(SHA256 digest "${body}")
    if(digest IN_LIST taken)
      string(APPEND text "- ${what}: package ${package}, whose licence text is the one above it.\n")
      continue()
    endif()
    list(APPEND taken ${digest})
    string(APPEND text "- ${what}: package ${package}, below.\n")
    string(APPEND bodies "\n======== ${package} ========\n\n${body}")
  endforeach()
  # Notepad's way: CR LF line ends.
  string(REPLACE "\r\n" "\n" notices "${text}${bodies}")
  string(REPLACE "\n" "\r\n" notices "${notices}")
  file(WRITE "${output}.new" "${notices}")
  file(COPY_FILE "${output}.new" "${output}" ONLY_IF_DIFFERENT)
  file(REMOVE "${output}.new")
endfunction()
