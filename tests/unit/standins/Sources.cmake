list(APPEND VUR_UNIT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/pattern_search_test.cpp)
list(APPEND VUR_UNIT_LIBS standin_pattern_search)
