# The layers and what each may use: one table for the build's two checks, the targets' links
# (zarize_check_target_layers, at configure time) and the files' includes (check_layers.cmake, a
# build step). docs/architecture.md explains the table.

# Folder prefixes of the project and the layer each belongs to; the longest prefix wins.
set(ZARIZE_LAYER_PREFIXES
  "platform/=platform"
  "dbengine/=dbengine"
  "postcodedb/=postcodedb"
  "addressbook/=addressbook"
  "ui/wx/=ui_wx"
  "ui/=ui"
  "postcode/=postcode"
  "zeravu/=zeravu"
  "zireziv/=zireziv"
  "programs/=programs"
  "devtools/=devtools")

# What each layer may use besides itself. A program may use its own folder of programs/ and the
# toolkit-free libraries, never another program's code; devtools may use anything.
set(ZARIZE_LAYER_USES_platform "")
set(ZARIZE_LAYER_USES_dbengine platform)
set(ZARIZE_LAYER_USES_postcodedb dbengine platform)
set(ZARIZE_LAYER_USES_addressbook postcodedb dbengine platform)
set(ZARIZE_LAYER_USES_ui dbengine platform)
set(ZARIZE_LAYER_USES_ui_wx ui dbengine platform)
set(ZARIZE_LAYER_USES_postcode ui_wx ui postcodedb dbengine platform)
set(ZARIZE_LAYER_USES_zeravu postcode ui_wx ui addressbook postcodedb dbengine platform)
set(ZARIZE_LAYER_USES_zireziv postcode ui_wx ui platform)
set(ZARIZE_LAYER_USES_programs addressbook postcodedb dbengine platform)
set(ZARIZE_LAYER_USES_devtools
    programs zeravu zireziv postcode ui_wx ui addressbook postcodedb dbengine platform)

# Tests (and the helpers under a testing/ folder) sit above every library: besides what their own
# layer may use, they may use every library and the desktop-test driver of the process-level
# tests, never a program's or another developer tool's code.
set(ZARIZE_TEST_USES zeravu zireziv postcode ui_wx ui addressbook postcodedb dbengine platform)
set(ZARIZE_TEST_TOOL "devtools/desktop-test/")

# zarize_layer_of(<relative path> <out layer> <out unit>): the layer of a path inside the project
# ("" outside every layer) and its unit, the folder two layers may not share: a program's or a
# developer tool's own folder (programs/zarize-db/), else the layer's prefix.
function(zarize_layer_of path outLayer outUnit)
  set(best "")
  set(bestLayer "")
  foreach(entry IN LISTS ZARIZE_LAYER_PREFIXES)
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 0 prefix)
    list(GET pair 1 layer)
    string(LENGTH "${prefix}" length)
    string(LENGTH "${best}" bestLength)
    if(length GREATER bestLength)
      string(FIND "${path}" "${prefix}" at)
      if(at EQUAL 0)
        set(best "${prefix}")
        set(bestLayer "${layer}")
      endif()
    endif()
  endforeach()
  set(unit "${best}")
  if(bestLayer STREQUAL "programs" OR bestLayer STREQUAL "devtools")
    string(REGEX MATCH "^[a-z]+/[^/]+/" unit "${path}")
  endif()
  set(${outLayer} "${bestLayer}" PARENT_SCOPE)
  set(${outUnit} "${unit}" PARENT_SCOPE)
endfunction()

# zarize_layer_allows(<from path> <to path> <is test> <out allowed>): whether code at the first
# path may use code at the second.
function(zarize_layer_allows from to isTest outAllowed)
  zarize_layer_of("${from}" fromLayer fromUnit)
  zarize_layer_of("${to}" toLayer toUnit)
  set(allowed FALSE)
  if(fromLayer STREQUAL "" OR toLayer STREQUAL "")
    set(allowed TRUE)
  elseif(fromLayer STREQUAL toLayer)
    # Within a layer; programs and developer tools keep to their own folder.
    if(fromUnit STREQUAL toUnit OR fromLayer STREQUAL "devtools")
      set(allowed TRUE)
    endif()
  elseif(toLayer IN_LIST ZARIZE_LAYER_USES_${fromLayer})
    set(allowed TRUE)
  elseif(isTest)
    string(FIND "${to}" "${ZARIZE_TEST_TOOL}" toolAt)
    if(toLayer IN_LIST ZARIZE_TEST_USES OR toolAt EQUAL 0)
      set(allowed TRUE)
    endif()
  endif()
  set(${outAllowed} ${allowed} PARENT_SCOPE)
endfunction()
