# Runs the include check over small trees made for the purpose: each file either keeps the layering
# or breaks it once, and the check must pass the one and fail the other, naming the file.
#   cmake -DCHECK=<check_layers.cmake> -DSCRATCH=<empty folder> -P check_layers_test.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")

# check(<name> <file> <text> <PASS|FAIL>): a tree holding one file with this text.
function(check name file text expected)
  set(tree "${SCRATCH}/${name}")
  file(REMOVE_RECURSE "${tree}")
  file(WRITE "${tree}/${file}" "${text}\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DROOT=${tree} -P "${CHECK}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(said "${out}${err}")
  if(expected STREQUAL "PASS" AND NOT result EQUAL 0)
    set(failures "${failures}\n${name}: ${file} was refused:\n${said}" PARENT_SCOPE)
  elseif(expected STREQUAL "FAIL" AND result EQUAL 0)
    set(failures "${failures}\n${name}: ${file} passed" PARENT_SCOPE)
  elseif(expected STREQUAL "FAIL" AND NOT said MATCHES "${file}")
    set(failures "${failures}\n${name}: the failure does not name ${file}:\n${said}" PARENT_SCOPE)
  endif()
endfunction()

check(lower_layer dbengine/connection.cpp "#include \"platform/folders.h\"" PASS)
check(data_layer_includes_ui dbengine/connection.cpp "#include \"ui/screen.h\"" FAIL)
check(library_includes_forms addressbook/data_module.cpp "#include \"zeravu/main_form.h\"" FAIL)
check(library_includes_ui addressbook/data_module.cpp "#include \"ui/screen.h\"" FAIL)
check(postcodes_include_address_book postcodedb/query.cpp "#include \"addressbook/vcard.h\"" FAIL)
check(forms_use_the_address_book zeravu/main_form.cpp "#include \"addressbook/data_module.h\"" PASS)
check(a_form_includes_wx zeravu/main_form.cpp "#include <wx/frame.h>" FAIL)
check(a_form_includes_a_view postcode/zip_search.cpp "#include \"ui/wx/form_view.h\"" FAIL)
check(a_view_includes_wx zeravu/main_form_view.cpp "#include <wx/frame.h>" PASS)
check(a_program_includes_wx programs/zarize-db/main.cpp "#include <wx/app.h>" FAIL)
check(one_program_uses_another programs/zarize-db/main.cpp "#include \"programs/host/hand_off_text.h\"" FAIL)
check(a_program_uses_a_devtool programs/host/main.cpp "#include \"devtools/desktop-test/autopilot.h\"" FAIL)
check(a_library_includes_sqlite addressbook/csv_writers.cpp "#include <sqlite3.h>" FAIL)
check(a_test_reads_sqlite_itself postcodedb/tests/zip_database_test.cpp "#include <sqlite3.h>" PASS)
check(a_test_drives_the_desktop zeravu/tests/process_test.cpp "#include \"devtools/desktop-test/desktop_driver.h\"" PASS)
check(a_test_uses_a_benchmark zeravu/tests/process_test.cpp "#include \"devtools/bench/compare.h\"" FAIL)

if(failures)
  message(FATAL_ERROR "The layering check judged wrongly:${failures}")
endif()
