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
