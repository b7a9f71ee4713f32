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
    # Every shipped C++ program gets the lean runtime helpers; one built without the C++ runtime does not.
    get_target_property(plain ${t} VUR_WITHOUT_CXX_RUNTIME)
    if(NOT plain)
      target_sources(${t} PRIVATE ${PROJECT_SOURCE_DIR}/src/shared/lean_runtime.cpp)
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
  vur_setup_program("${targets}" "${sources}")
endfunction()

# The setup program beside dist, VUR-3.5-Setup.exe, made with makensis (installed by scripts/setup).
function(vur_setup_program targets sources)
  find_program(VUR_MAKENSIS makensis)
  if(NOT VUR_MAKENSIS)
    message(WARNING "makensis not found (scripts/setup installs it): no setup program is built")
    return()
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(arch x64)
  else()
    set(arch x86)
  endif()
  set(script ${PROJECT_SOURCE_DIR}/src/installer/vur.nsi)
  set(setup ${CMAKE_BINARY_DIR}/VUR-3.5-Setup.exe)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${CMAKE_COMMAND} -DDIST=${VUR_DIST_DIR} -DSCRIPT=${script} -DOUTFILE=${setup} -DARCH=${arch}
            -DICON=${VUR_PICTURES_DIR}/vur.ico -DBITMAP=${VUR_PICTURES_DIR}/setup.bmp -DMAKENSIS=${VUR_MAKENSIS}
            "-DTITLE_SUFFIX=${VUR_TITLE_SUFFIX}" -P ${PROJECT_SOURCE_DIR}/cmake/Setup.cmake
    DEPENDS dist ${targets} ${sources} ${script} ${PROJECT_SOURCE_DIR}/cmake/Setup.cmake
            ${VUR_PICTURES_DIR}/vur.ico ${VUR_PICTURES_DIR}/setup.bmp ${vur_key_header}
    COMMENT "Building the setup program ${setup}"
    VERBATIM)
  add_custom_target(setup ALL DEPENDS ${setup})
endfunction()
