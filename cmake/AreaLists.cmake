# vur_include_area_lists(dir): includes dir/<area>/Sources.cmake for every area folder that has one, so that
# each area lists its own test files and libraries without touching the runner's CMakeLists.
macro(vur_include_area_lists dir)
  file(GLOB _vur_areas LIST_DIRECTORIES true RELATIVE ${dir} ${dir}/*)
  foreach(_vur_area IN LISTS _vur_areas)
    if(EXISTS ${dir}/${_vur_area}/Sources.cmake)
      include(${dir}/${_vur_area}/Sources.cmake)
    endif()
  endforeach()
endmacro()
