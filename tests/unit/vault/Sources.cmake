list(APPEND VUR_UNIT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/quarantine_manager_test.cpp)
list(APPEND VUR_UNIT_LIBS vur_vault_core)
