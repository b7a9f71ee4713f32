list(APPEND VUR_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/folder_tree_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scan_file_system_test.cpp)
list(APPEND VUR_WIN32_LIBS vur_scanner_win32)
