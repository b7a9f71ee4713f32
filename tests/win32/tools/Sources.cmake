list(APPEND VUR_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/console_text_win32_test.cpp
)
list(APPEND VUR_WIN32_LIBS vurconf_commands)
