# The e2e tests: every tests/e2e/*.tests.cmake registers its scripts with vur_e2e_test().
file(GLOB e2e_lists ${CMAKE_CURRENT_LIST_DIR}/*.tests.cmake)
foreach(list_file IN LISTS e2e_lists)
  include(${list_file})
endforeach()
