# Registers the Wine tiers with this (native) tree's CTest for each Windows build tree it is given: x86
# (VUR_WIN32_BUILD, the shipped 32-bit suite) and x64 (VUR_WIN64_BUILD, the suite for 64-bit Windows). Each
# tier runs on every architecture this machine executes natively; elsewhere each of its tests is reported as
# skipped with the reason, under the same name. The architecture ends every test's name.
set(VUR_WINE_VERSIONS win98 nt40 win2k winxp)
set(VUR_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(VUR_WINE_SCRIPTS ${PROJECT_SOURCE_DIR}/tests/wine)

set(VUR_ARCHS "")
set(VUR_BUILD_x86 ${VUR_WIN32_BUILD})
set(VUR_BUILD_x64 ${VUR_WIN64_BUILD})
foreach(arch x86 x64)
  if(NOT VUR_BUILD_${arch})
    continue()
  endif()
  list(APPEND VUR_ARCHS ${arch})
  # Decided by running a tiny program of the architecture on this machine, at every configure.
  execute_process(COMMAND ${VUR_WINE_SCRIPTS}/arch-probe ${arch} RESULT_VARIABLE probe_rc
                  OUTPUT_VARIABLE VUR_WHY_${arch} OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(probe_rc EQUAL 0)
    set(VUR_RUNS_${arch} ON)
  else()
    set(VUR_RUNS_${arch} OFF)
  endif()
  message(STATUS "Wine tiers ${arch}: ${VUR_WHY_${arch}}")
endforeach()

# vur_wine_test(NAME n ARCH a LABELS l COMMAND c... [PROPERTIES k v...]): the test where the architecture
# runs; otherwise a test of the same name that reports itself skipped with the probe's reason. Property values
# are single items; a list value is set by the caller when VUR_RUNS_<arch> is on.
function(vur_wine_test)
  cmake_parse_arguments(W "" "NAME;ARCH;LABELS" "COMMAND;PROPERTIES" ${ARGN})
  if(VUR_RUNS_${W_ARCH})
    add_test(NAME ${W_NAME} COMMAND ${W_COMMAND})
    set_tests_properties(${W_NAME} PROPERTIES LABELS ${W_LABELS} ${W_PROPERTIES})
  else()
    add_test(NAME ${W_NAME} COMMAND ${VUR_WINE_SCRIPTS}/skipped "${VUR_WHY_${W_ARCH}}")
    set_tests_properties(${W_NAME} PROPERTIES LABELS ${W_LABELS} SKIP_RETURN_CODE 77)
  endif()
endfunction()

foreach(arch IN LISTS VUR_ARCHS)
  # One fresh prefix per Windows version, architecture and test run; a test that needs one requires its
  # fixture.
  foreach(version IN LISTS VUR_WINE_VERSIONS)
    vur_wine_test(NAME wine.prefix.${version}.${arch} ARCH ${arch} LABELS wine
                  COMMAND ${VUR_WINE_SCRIPTS}/make-prefix ${VUR_WINE_DIR}/${arch}/${version} ${version} ${arch}
                  PROPERTIES FIXTURES_SETUP wine_${version}_${arch} TIMEOUT 180)
  endforeach()

  # The win32 tier (cross-built GoogleTest) on every system class.
  foreach(version IN LISTS VUR_WINE_VERSIONS)
    vur_wine_test(NAME win32.${version}.${arch} ARCH ${arch} LABELS win32
                  COMMAND ${VUR_WINE_SCRIPTS}/wine-run ${VUR_WINE_DIR}/${arch}/${version} ${arch}
                          ${VUR_BUILD_${arch}}/posix/bin/vur_win32_tests.exe
                  PROPERTIES FIXTURES_REQUIRED wine_${version}_${arch} TIMEOUT 300
                             RESOURCE_LOCK prefix_${version}_${arch})
  endforeach()
endforeach()

# vur_e2e_test(NAME n SCRIPT file VERSIONS v... [LOCKS l...] [TIMEOUT s]): the script runs once per Windows
# version and architecture, in its prefix, on that architecture's dist. The scripts take turns: all of them
# share one Xvfb screen and mouse (message boxes of one would cover the windows another one reads), and those
# of one prefix share its wineserver, its registry and the monitor's named mutex. LOCKS adds locks per
# version and architecture (l_<version>_<arch>).
function(vur_e2e_test)
  cmake_parse_arguments(E "" "NAME;SCRIPT;TIMEOUT" "VERSIONS;LOCKS" ${ARGN})
  if(NOT E_TIMEOUT)
    set(E_TIMEOUT 300)
  endif()
  foreach(arch IN LISTS VUR_ARCHS)
    foreach(version IN LISTS E_VERSIONS)
      set(locks display prefix_${version}_${arch})
      foreach(lock IN LISTS E_LOCKS)
        list(APPEND locks ${lock}_${version}_${arch})
      endforeach()
      set(name e2e.${E_NAME}.${version}.${arch})
      vur_wine_test(NAME ${name} ARCH ${arch} LABELS e2e
                    COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/e2e/${E_SCRIPT}
                            --prefix ${VUR_WINE_DIR}/${arch}/${version} --version ${version} --arch ${arch}
                            --dist ${VUR_BUILD_${arch}}/dist --work ${CMAKE_BINARY_DIR}/e2e/${E_NAME}.${version}.${arch}
                            --native-bin ${CMAKE_BINARY_DIR}/bin
                    PROPERTIES FIXTURES_REQUIRED wine_${version}_${arch} TIMEOUT ${E_TIMEOUT}
                               ENVIRONMENT PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e)
      if(VUR_RUNS_${arch})
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${locks}")
      endif()
    endforeach()
  endforeach()
endfunction()

# Static checks of each dist run on every machine, whatever it executes.
foreach(arch IN LISTS VUR_ARCHS)
  add_test(NAME static.dist.${arch}
           COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/static/check_dist.py ${VUR_BUILD_${arch}}/dist --arch ${arch})
  set_tests_properties(static.dist.${arch} PROPERTIES LABELS static)
  # No shipped file, the signature files included, is found by a shipped signature or by the heuristics.
  add_test(NAME static.dist_clean.${arch}
           COMMAND enginescan --heuristics --signature-folder ${VUR_BUILD_${arch}}/dist/signaturen ${VUR_BUILD_${arch}}/dist)
  set_tests_properties(static.dist_clean.${arch} PROPERTIES LABELS static)
endforeach()
if(VUR_WIN32_BUILD AND VUR_WIN64_BUILD)
  add_test(NAME static.checker
           COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/static/test_check_dist.py ${VUR_WIN32_BUILD} ${VUR_WIN64_BUILD})
  set_tests_properties(static.checker PROPERTIES LABELS static)
endif()

include(${PROJECT_SOURCE_DIR}/tests/e2e/Tests.cmake)
include(${PROJECT_SOURCE_DIR}/tests/smoke/Smoke.cmake)
