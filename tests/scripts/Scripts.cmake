# Tests of the project's own scripts (label unit).
add_test(NAME scripts.apt_source_entry COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/scripts/test_apt_source_entry.py)
set_tests_properties(scripts.apt_source_entry PROPERTIES LABELS unit)
add_test(NAME scripts.release_configure
         COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/scripts/test_release_configure.py ${PROJECT_SOURCE_DIR}
                 $<TARGET_FILE:vurconf>)
set_tests_properties(scripts.release_configure PROPERTIES LABELS unit TIMEOUT 300)
