list(APPEND VUR_UNIT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/rule_editor_test.cpp)
list(APPEND VUR_UNIT_LIBS vur_configurator_core)
