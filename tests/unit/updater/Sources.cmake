list(APPEND VUR_UNIT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/http_parse_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_session_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_fuzz_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/update_run_parts_test.cpp
)
list(APPEND VUR_UNIT_LIBS vur_http vur_updater_core)
