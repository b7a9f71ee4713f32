list(APPEND VUR_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_identity_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_equivalence_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quarantine_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_library_win32_test.cpp
)
