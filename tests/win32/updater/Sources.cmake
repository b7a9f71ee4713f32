list(APPEND VUR_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/http_client_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_servers_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/replace_system_win32_test.cpp
)
list(APPEND VUR_WIN32_LIBS vur_http_win32 vur_updater_win32)
