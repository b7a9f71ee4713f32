list(APPEND VUR_UNIT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/jpeg_test.cpp)
# The shipped pictures' folder reaches the test as a definition through a library of its own.
if(NOT TARGET vur_unit_pictures)
  add_library(vur_unit_pictures INTERFACE)
  target_compile_definitions(vur_unit_pictures INTERFACE VUR_PICTURES_DIR="${VUR_PICTURES_DIR}")
endif()
# The system's libjpeg encodes test pictures and decodes them as the reference the suite's decoder is held to.
find_package(JPEG REQUIRED)
list(APPEND VUR_UNIT_LIBS vur_jpeg vur_unit_pictures JPEG::JPEG)
