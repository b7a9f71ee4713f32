list(APPEND VUR_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/application_system_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/magrascon_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_lists_win32_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray_form_win32_test.cpp
)
list(APPEND VUR_WIN32_LIBS vur_monitor_ras vur_monitor_win32)
