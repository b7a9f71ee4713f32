# Assembles the program folder build/win32/dist: programs and engines side by side, and the data folders.
set(VUR_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
# "quarantäne" is the CP1252 name on Windows; Wine shows the Linux file system as UTF-8.
set(VUR_DIST_FOLDERS signaturen hilfe "quarantäne")

# Programs that go into dist; each program's CMakeLists adds itself with vur_dist_program().
set_property(GLOBAL PROPERTY VUR_DIST_TARGETS "")
function(vur_dist_program target)
  set_property(GLOBAL APPEND PROPERTY VUR_DIST_TARGETS ${target})
endfunction()

# Data files (signatures, help pages): vur_dist_file(SOURCE subfolder), subfolder "." for the top.
set_property(GLOBAL PROPERTY VUR_DIST_FILES "")
function(vur_dist_file source subfolder)
  set_property(GLOBAL APPEND PROPERTY VUR_DIST_FILES "${source}|${subfolder}")
endfunction()

vur_dist_program(vurconf)

function(vur_finish_dist)
  get_property(targets GLOBAL PROPERTY VUR_DIST_TARGETS)
  set(commands "")
  foreach(folder IN LISTS VUR_DIST_FOLDERS)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory "${VUR_DIST_DIR}/${folder}")
  endforeach()
  foreach(t IN LISTS targets)
    # Every shipped C++ program gets the quiet terminate handler; one built without the C++ runtime does not.
    get_target_property(plain ${t} VUR_WITHOUT_CXX_RUNTIME)
    if(NOT plain)
      target_sources(${t} PRIVATE ${PROJECT_SOURCE_DIR}/src/shared/quiet_terminate.cpp)
    endif()
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${t}> ${VUR_DIST_DIR}/)
  endforeach()
  get_property(files GLOBAL PROPERTY VUR_DIST_FILES)
  set(sources "")
  foreach(entry IN LISTS files)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 source)
    list(GET parts 1 subfolder)
    list(APPEND sources ${source})
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory "${VUR_DIST_DIR}/${subfolder}"
                         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} "${VUR_DIST_DIR}/${subfolder}/")
  endforeach()
  add_custom_target(dist ALL ${commands} DEPENDS ${targets} ${sources} COMMENT "Assembling dist")
endfunction()
