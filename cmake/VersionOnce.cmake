# The project's version is written once, in the top CMakeLists.txt, and taken
# from there by everything else. This script fails when a copy of it appears
# in a source, resource, script or document: a version resource's four
# numbers, with or without blanks after the commas, or major.minor after a
# product's name or the word version. CHANGES.txt heads each version's entry
# with its bare number, as history; the package test holds its newest entry
# to this version, and the guides take it from the build (@VERSION@).
# Usage: cmake -DSOURCE_DIR=... -DVERSION=major.minor.patch.tweak -P VersionOnce.cmake
string(REPLACE "." ";" parts "${VERSION}")
list(GET parts 0 major)
list(GET parts 1 minor)
list(GET parts 2 patch)
list(GET parts 3 tweak)
set(numbers "${major}, ?${minor}, ?${patch}, ?${tweak}")
set(named "(Tuftling[A-Za-z]*|sdk|SDK|[Vv]ersion)[- ]+${major}\\.${minor}([^0-9]|$)")

# Every folder of the tree but the build folders (build, build-clang, ...)
# and git's, and the files at the top.
set(patterns *.h *.c *.cpp *.rc *.in *.txt *.md *.sh *.cmake dev LICENSE)
file(GLOB entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(files "")
foreach(entry IN LISTS entries)
  if(entry MATCHES "^(build|\\.)")
    continue()
  endif()
  if(IS_DIRECTORY ${SOURCE_DIR}/${entry})
    set(globs "")
    foreach(pattern IN LISTS patterns)
      list(APPEND globs ${SOURCE_DIR}/${entry}/${pattern})
    endforeach()
    file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${globs})
    list(APPEND files ${found})
  else()
    list(APPEND files ${entry})
  endif()
endforeach()
list(FILTER files EXCLUDE REGEX "/corpus/|\\.(png|gif|ico|xpm)$")

set(strays "")
foreach(file IN LISTS files)
  file(STRINGS ${SOURCE_DIR}/${file} lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "${numbers}" OR line MATCHES "${named}")
      string(APPEND strays "  ${file}:${number}: ${line}\n")
    endif()
  endforeach()
endforeach()
if(strays)
  message(FATAL_ERROR "the version ${VERSION} is written again outside CMakeLists.txt:\n${strays}"
                      "take it from TuftlingVersion.h, the build or ./dev instead")
endif()
message(STATUS "the version ${VERSION} is written once")
