# Part of `cmake --install` (and so of cpack), after the programs: writes
# SHA256SUMS and MD5SUMS beside them, a "<digest>  <name>" line for each of
# VORKEL_SUMMED_FILES, the format sha256sum -c and md5sum -c read in the
# folder that holds them.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
foreach(algorithm SHA256 MD5)
  set(lines "")
  foreach(name IN LISTS VORKEL_SUMMED_FILES)
    file(${algorithm} "${folder}/${name}" digest)
    string(APPEND lines "${digest}  ${name}\n")
  endforeach()
  message(STATUS "Writing: ${folder}/${algorithm}SUMS")
  file(WRITE "${folder}/${algorithm}SUMS" "${lines}")
endforeach()
