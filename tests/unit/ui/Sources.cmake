list(APPEND VUR_UNIT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/jpeg_test.cpp)
# The shipped pictures' folder reaches the test as a definition through a library of its own.
if(NOT TARGET vur_unit_pictures)
  add_library(vur_unit_pictures INTERFACE)
  target_compile_definitions(vur_unit_pictures INTERFACE VUR_PICTURES_DIR="${VUR_PICTURES_DIR}")
endif()
list(APPEND VUR_UNIT_LIBS vur_jpeg vur_unit_pictures)
