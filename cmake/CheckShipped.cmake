# The shipped_sources test: no shipped program builds from the test hosts
# (and their testkit), the tests or the benchmarks. Run as
#   cmake -DLIST=<build>/shipped-sources.txt -DROOT=<source tree> [-DEXTRA=target=path,...] -P CheckShipped.cmake
# over the entries cmake/ShippedSources.cmake wrote (EXTRA adds some, so that
# the suite can show the check failing). Fails when a defining folder, a
# source file or an include folder lies under hosts/, tests/ or bench/, or
# when a file in the shipped folders names one of them in an #include.

file(STRINGS "${LIST}" entries)
if(DEFINED EXTRA)
  string(REPLACE "," ";" extra "${EXTRA}")
  list(APPEND entries ${extra})
endif()
if(NOT entries)
  message(FATAL_ERROR "no entries in ${LIST}")
endif()

set(faults 0)
set(folders "")
set(files "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "=.*" "" target "${entry}")
  string(REGEX REPLACE "^[^=]*=" "" path "${entry}")
  file(RELATIVE_PATH relative "${ROOT}" "${path}")
  if(relative MATCHES "^(hosts|tests|bench)(/|$)")
    message("${target} builds from ${relative}")
    math(EXPR faults "${faults} + 1")
  elseif(IS_DIRECTORY "${path}")
    list(APPEND folders "${path}")
  elseif(EXISTS "${path}")
    list(APPEND files "${path}")
  endif()
endforeach()

# Every file in the shipped folders, so that a header no target lists is read too.
list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
  file(GLOB found ${folder}/*.h ${folder}/*.c ${folder}/*.cpp ${folder}/*.rc)
  list(APPEND files ${found})
endforeach()
list(REMOVE_DUPLICATES files)
foreach(file IN LISTS files)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    if(line MATCHES "[\"</](hosts|tests|bench)/")
      message("${file} includes from the test hosts, tests or benchmarks: ${line}")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(faults)
  message(FATAL_ERROR "${faults} place(s) where a shipped program reaches into hosts/ or tests/")
endif()
message("shipped programs: ${count} files read, none reaches into hosts/ or tests/")
