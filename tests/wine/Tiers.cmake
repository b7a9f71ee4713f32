# Registers the Wine tiers with this (native) tree's CTest: win32 (cross-built GoogleTest) and e2e (dist).
set(VUR_WINE_VERSIONS win98 nt40 win2k winxp)
set(VUR_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(VUR_DIST_DIR ${VUR_WIN32_BUILD}/dist)

# One fresh prefix per Windows version and test run; a test that needs one requires its fixture.
foreach(version IN LISTS VUR_WINE_VERSIONS)
  add_test(NAME wine.prefix.${version}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/make-prefix ${VUR_WINE_DIR}/${version} ${version})
  set_tests_properties(wine.prefix.${version} PROPERTIES FIXTURES_SETUP wine_${version} LABELS wine TIMEOUT 180)
endforeach()

# The win32 tier runs on both system families.
foreach(version win98 winxp)
  add_test(NAME win32.${version}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/wine-run ${VUR_WINE_DIR}/${version}
                   ${VUR_WIN32_BUILD}/posix/bin/vur_win32_tests.exe)
  set_tests_properties(win32.${version} PROPERTIES FIXTURES_REQUIRED wine_${version} LABELS win32 TIMEOUT 300)
endforeach()

# vur_e2e_test(NAME n SCRIPT file VERSIONS v... [LOCKS l...]): the script runs once per Windows version, in
# its prefix. The scripts take turns: all of them share one Xvfb screen and mouse (message boxes of one would
# cover the windows another one reads), and those of one prefix share its wineserver, its registry and the
# monitor's named mutex. LOCKS adds locks per version (l_<version>).
function(vur_e2e_test)
  cmake_parse_arguments(E "" "NAME;SCRIPT;TIMEOUT" "VERSIONS;LOCKS" ${ARGN})
  if(NOT E_TIMEOUT)
    set(E_TIMEOUT 300)
  endif()
  foreach(version IN LISTS E_VERSIONS)
    add_test(NAME e2e.${E_NAME}.${version}
             COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/e2e/${E_SCRIPT}
                     --prefix ${VUR_WINE_DIR}/${version} --version ${version} --dist ${VUR_DIST_DIR}
                     --work ${CMAKE_BINARY_DIR}/e2e/${E_NAME}.${version} --native-bin ${CMAKE_BINARY_DIR}/bin)
    set(locks display prefix_${version})
    foreach(lock IN LISTS E_LOCKS)
      list(APPEND locks ${lock}_${version})
    endforeach()
    set_tests_properties(e2e.${E_NAME}.${version} PROPERTIES FIXTURES_REQUIRED wine_${version} LABELS e2e
                         TIMEOUT ${E_TIMEOUT} ENVIRONMENT "PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e"
                         RESOURCE_LOCK "${locks}")
  endforeach()
endfunction()

add_test(NAME e2e.dist.imports
         COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/e2e/check_imports.py ${VUR_DIST_DIR})
set_tests_properties(e2e.dist.imports PROPERTIES LABELS e2e)

include(${PROJECT_SOURCE_DIR}/tests/e2e/Tests.cmake)
