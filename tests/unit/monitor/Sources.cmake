list(APPEND VUR_UNIT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/application_watch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/connection_watch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fake_ras.cpp
  ${CMAKE_CURRENT_LIST_DIR}/magrascon_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/monitor_tick_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_lists_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ras_scenario_test.cpp
)
list(APPEND VUR_UNIT_LIBS vur_monitor_core vur_monitor_ras vur_ras_world)
