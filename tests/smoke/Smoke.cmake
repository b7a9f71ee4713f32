# The x86 smoke tier: where 32-bit programs do not run natively, the shipped 32-bit dist runs a short while
# under qemu-user in a 64-bit prefix. Where they do, the full x86 tiers run and this one reports itself
# skipped; where binfmt_misc cannot be used, the script does. It runs alone: while its emulator is registered,
# every 32-bit program of the machine runs emulated, Wine's set-up of any other fresh prefix included.
if(VUR_WIN32_BUILD AND VUR_WIN64_BUILD)
  set(smoke_name smoke.x86.winxp)
  if(VUR_RUNS_x86)
    add_test(NAME ${smoke_name} COMMAND ${VUR_WINE_SCRIPTS}/skipped
             "x86 programs run natively here, so the full x86 tiers run instead")
    set_tests_properties(${smoke_name} PROPERTIES LABELS smoke SKIP_RETURN_CODE 77)
  else()
    vur_wine_test(NAME ${smoke_name} ARCH x64 LABELS smoke
                  COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/smoke/test_x86_smoke.py
                          --prefix ${VUR_WINE_DIR}/smoke/winxp --version winxp --arch x64
                          --dist ${VUR_WIN32_BUILD}/dist --driver ${VUR_WIN64_BUILD}/bin/vurdrive.exe
                          --work ${CMAKE_BINARY_DIR}/smoke/x86.winxp --native-bin ${CMAKE_BINARY_DIR}/bin
                  PROPERTIES TIMEOUT 1200 SKIP_RETURN_CODE 77 RESOURCE_LOCK display RUN_SERIAL ON
                             ENVIRONMENT PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e)
  endif()
endif()
