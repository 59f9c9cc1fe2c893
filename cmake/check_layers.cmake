# Fails when a file includes what its layer may not use:
#   cmake -DROOT=<source tree> -P cmake/check_layers.cmake
# - a header of a layer its own may not use (cmake/layers.cmake holds the table);
# - a wx header, or one of ui/wx/, anywhere but ui/wx/, the *_view files, the programs' main.cpp,
#   the reference host, the developer tools and the window tests: forms never include the toolkit;
# - sqlite3.h outside the data layer (tests and developer tools may read a file with it directly).
# Every offending include is listed with its file and line before the check fails.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED ROOT)
  message(FATAL_ERROR "check_layers.cmake: ROOT names no source tree")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

set(globs "")
foreach(entry IN LISTS ZARIZE_LAYER_PREFIXES)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 prefix)
  list(APPEND globs "${ROOT}/${prefix}*.cpp" "${ROOT}/${prefix}*.h")
endforeach()
file(GLOB_RECURSE files RELATIVE "${ROOT}" ${globs})
list(REMOVE_DUPLICATES files)
list(SORT files)

# Where the toolkit may be included.
function(wx_allowed path outAllowed)
  get_filename_component(name "${path}" NAME)
  set(allowed FALSE)
  if(path MATCHES "^(ui/wx|programs/host|devtools)/" OR name MATCHES "_view(_test)?\\.(cpp|h)$"
     OR name MATCHES "window_test\\.cpp$" OR path MATCHES "^(zeravu|zireziv)/main\\.cpp$")
    set(allowed TRUE)
  endif()
  set(${outAllowed} ${allowed} PARENT_SCOPE)
endfunction()

set(violations "")
foreach(file IN LISTS files)
  set(isTest FALSE)
  if(file MATCHES "/(tests|testing)/")
    set(isTest TRUE)
  endif()
  file(STRINGS "${ROOT}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    set(why "")
    if(header MATCHES "^wx/" OR header MATCHES "^ui/wx/")
      wx_allowed("${file}" allowed)
      if(NOT allowed)
        set(why "the toolkit belongs in ui/wx/, the *_view files and the window tests")
      endif()
    endif()
    if(why STREQUAL "" AND header STREQUAL "sqlite3.h" AND NOT isTest
       AND NOT file MATCHES "^(dbengine|devtools)/")
      set(why "only the data layer includes sqlite3.h")
    endif()
    if(why STREQUAL "" AND header MATCHES "^[a-z-]+/")
      zarize_layer_allows("${file}" "${header}" ${isTest} allowed)
      if(NOT allowed)
        zarize_layer_of("${file}" fromLayer fromUnit)
        zarize_layer_of("${header}" toLayer toUnit)
        set(why "${fromUnit} may not use ${toUnit}")
      endif()
    endif()
    if(NOT why STREQUAL "")
      list(APPEND violations "${file}: #include ${header}: ${why}")
    endif()
  endforeach()
endforeach()

list(LENGTH files checked)
if(violations)
  list(JOIN violations "\n  " report)
  message(FATAL_ERROR "Layering broken:\n  ${report}\n")
endif()
message(STATUS "Layering kept by the ${checked} files checked")
