list(APPEND VUR_UNIT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/posix_scan_file_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scan_run_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/minimize_name_test.cpp)
list(APPEND VUR_UNIT_LIBS vur_scanner_core)
