# Read by cpack before it packs, so that the same files give the same
# package. CPack stamps every file in the archive with SOURCE_DATE_EPOCH when
# that is set; unless the caller set it, it is the time of the sources' last
# commit (in a git checkout) instead of the time the files were built. A zip
# also holds each time in the packer's local time: UTC, whoever packs.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_VORKEL_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
  endif()
endif()
set(ENV{TZ} UTC0)

