list(APPEND VUR_UNIT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/vurconf_test.cpp ${CMAKE_CURRENT_LIST_DIR}/monitor_stop_test.cpp)
list(APPEND VUR_UNIT_LIBS vurconf_commands)
