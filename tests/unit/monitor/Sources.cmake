list(APPEND VUR_UNIT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/application_watch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/monitor_tick_test.cpp
)
list(APPEND VUR_UNIT_LIBS vur_monitor_core)
