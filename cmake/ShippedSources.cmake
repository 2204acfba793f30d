# What the shipped programs are built from, written down at configure time
# for the shipped_sources test (cmake/CheckShipped.cmake): for each shipped
# target and every target it links, directly or through others, the folder
# that defines it, its source files and its include folders, one
# "<shipped target>[ via <linked target>]=<path>" line each.

function(shipped_sources_write file)
  set(entries "")
  foreach(shipped IN LISTS ARGN)
    set(seen "")
    set(queue ${shipped})
    while(queue)
      list(POP_FRONT queue target)
      if(NOT TARGET ${target} OR target IN_LIST seen)
        continue() # a system library, or met before
      endif()
      list(APPEND seen ${target})
      set(label ${shipped})
      if(NOT target STREQUAL shipped)
        set(label "${shipped} via ${target}")
      endif()
      get_target_property(dir ${target} SOURCE_DIR)
      list(APPEND entries "${label}=${dir}")
      foreach(property SOURCES INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES
                       LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(values ${target} ${property})
        if(NOT values)
          continue()
        endif()
        foreach(value IN LISTS values)
          # A static library's private links show as $<LINK_ONLY:name>.
          string(REGEX REPLACE "^\\$<(LINK_ONLY|BUILD_INTERFACE):(.*)>$" "\\2" value "${value}")
          if(property MATCHES "LINK_LIBRARIES")
            list(APPEND queue ${value})
          elseif(NOT value MATCHES "^\\$<")
            if(NOT IS_ABSOLUTE "${value}")
              set(value "${dir}/${value}")
            endif()
            list(APPEND entries "${label}=${value}")
          endif()
        endforeach()
      endforeach()
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES entries)
  list(JOIN entries "\n" text)
  file(WRITE ${file} "${text}\n")
endfunction()
