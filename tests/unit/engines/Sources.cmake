list(APPEND VUR_UNIT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/pe_builder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/signature_engine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pe_image_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heuristic_engine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_fuzz_test.cpp
)
list(APPEND VUR_UNIT_LIBS vur_engines_core)
