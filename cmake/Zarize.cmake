include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

# Shared target settings: every target of our own compiles with the same strict warnings.
add_library(zarize_warnings INTERFACE)
target_compile_options(zarize_warnings INTERFACE -Wall -Wextra -Werror)

# zarize_library(NAME SOURCES... [DEPS libs...])
function(zarize_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE zarize_warnings)
endfunction()

# zarize_tests(NAME SOURCES... [DEPS libs...] [LABELS labels...] [SERVER])
# One GoogleTest executable per layer; each test case becomes its own CTest entry. SERVER: some
# of its tests need the run's PostgreSQL server (dbengine/testing), which ctest starts first.
function(zarize_tests name)
  cmake_parse_arguments(ARG "SERVER" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES ZARIZE_TEST TRUE)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main
                                        zarize_warnings)
  target_compile_definitions(${name} PRIVATE
    ZARIZE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZARIZE_SHARED_DATA_DIR="${PROJECT_SOURCE_DIR}/../shared/data"
    ZARIZE_BIN_DIR="${ZARIZE_BIN_DIR}")
  set(labels unit)
  if(ARG_LABELS)
    set(labels ${ARG_LABELS})
  endif()
  set(properties LABELS "${labels}")
  if(ARG_SERVER)
    list(APPEND properties FIXTURES_REQUIRED test_server
         ENVIRONMENT "ZARIZE_TEST_SERVER_FILE=${ZARIZE_TEST_SERVER_FILE}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
endfunction()

# zarize_program(NAME SOURCES... [DEPS libs...]): an executable placed in bin/ beside the others.
function(zarize_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} zarize_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZARIZE_BIN_DIR})
  install(TARGETS ${name} RUNTIME DESTINATION .)
endfunction()

# Every target defined in `dir` and the folders below it.
function(zarize_targets_below dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    zarize_targets_below("${subdir}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The link half of the layering: fails the configuration when a target links a target of a layer
# its own may not use (cmake/layers.cmake). Call once every target is defined.
function(zarize_check_target_layers)
  zarize_targets_below("${PROJECT_SOURCE_DIR}" targets)
  set(violations "")
  foreach(target IN LISTS targets)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH from "${PROJECT_SOURCE_DIR}" "${dir}/x")
    get_target_property(isTest ${target} ZARIZE_TEST)
    if(from MATCHES "/(tests|testing)/")
      set(isTest TRUE)
    endif()
    get_target_property(deps ${target} LINK_LIBRARIES)
    if(NOT deps)
      continue()
    endif()
    foreach(dep IN LISTS deps)
      if(NOT TARGET "${dep}")
        continue()
      endif()
      get_target_property(imported "${dep}" IMPORTED)
      if(imported)
        continue()
      endif()
      get_target_property(depDir "${dep}" SOURCE_DIR)
      file(RELATIVE_PATH to "${PROJECT_SOURCE_DIR}" "${depDir}/x")
      zarize_layer_allows("${from}" "${to}" "${isTest}" allowed)
      if(NOT allowed)
        list(APPEND violations "${target} (${dir}) links ${dep} (${depDir})")
      endif()
    endforeach()
  endforeach()
  if(violations)
    list(JOIN violations "\n  " report)
    message(FATAL_ERROR "A target links a layer its own may not use:\n  ${report}")
  endif()
endfunction()

# The include half: every build checks that each file includes only what its layer may use, and
# the unit tests check that the check refuses what it must.
function(zarize_add_layer_check)
  set(globs "")
  foreach(entry IN LISTS ZARIZE_LAYER_PREFIXES)
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 0 prefix)
    list(APPEND globs "${PROJECT_SOURCE_DIR}/${prefix}*.cpp" "${PROJECT_SOURCE_DIR}/${prefix}*.h")
  endforeach()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${globs})
  set(stamp "${CMAKE_BINARY_DIR}/layers.checked")
  set(check "${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND "${CMAKE_COMMAND}" -DROOT=${PROJECT_SOURCE_DIR} -P "${check}"
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${sources} "${check}" "${PROJECT_SOURCE_DIR}/cmake/layers.cmake"
    COMMENT "Checking that every file includes only what its layer may use"
    VERBATIM)
  add_custom_target(layer_check ALL DEPENDS "${stamp}")

  add_test(NAME layering.TheCheckRefusesWhatALayerMayNotInclude
           COMMAND "${CMAKE_COMMAND}" -DCHECK=${check}
                   -DSCRATCH=${CMAKE_BINARY_DIR}/layer-check-scratch
                   -P "${PROJECT_SOURCE_DIR}/cmake/tests/check_layers_test.cmake")
  set_tests_properties(layering.TheCheckRefusesWhatALayerMayNotInclude PROPERTIES LABELS unit)
endfunction()
