# Builds the fuzzers (CMakeLists.txt here) with clang beside the native tree and runs each with a fixed seed
# and a bounded number of inputs (label fuzz). Without clang's libFuzzer each test reports itself as skipped.
set(_vur_fuzz_dir ${CMAKE_BINARY_DIR}/fuzz)
find_program(VUR_CLANGXX clang++)
set(_vur_fuzzers signature_file_fuzzer pe_image_fuzzer ini_document_fuzzer sealed_value_fuzzer update_list_fuzzer
                 quarantine_description_fuzzer http_response_fuzzer)
if(VUR_CLANGXX)
  include(ExternalProject)
  ExternalProject_Add(fuzzers
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${_vur_fuzz_dir}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${VUR_CLANGXX} -DCMAKE_BUILD_TYPE=Debug
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  add_test(NAME fuzz.signature_file_fuzzer
           COMMAND ${_vur_fuzz_dir}/signature_file_fuzzer -seed=20261209 -runs=200000 -max_len=8192)
  foreach(fuzzer ini_document_fuzzer sealed_value_fuzzer update_list_fuzzer quarantine_description_fuzzer
                 http_response_fuzzer)
    add_test(NAME fuzz.${fuzzer} COMMAND ${_vur_fuzz_dir}/${fuzzer} -seed=20261209 -runs=100000 -max_len=4096)
  endforeach()
  # The PE parser starts from the corpus programs the Windows trees build (where they exist): real headers
  # and import tables take it much deeper than inputs grown from nothing. New inputs go to a scratch folder
  # made afresh, so every run starts alike.
  set(_vur_seeds "")
  foreach(tree IN ITEMS "${VUR_WIN32_BUILD}" "${VUR_WIN64_BUILD}")
    if(tree)
      list(APPEND _vur_seeds "${tree}/e2e-programs/corpus")
    endif()
  endforeach()
  add_test(NAME fuzz.pe_image_fuzzer
           COMMAND sh -c "rm -rf \"$1\" && mkdir -p \"$1\" && d=\"$1\" && f=\"$2\" && shift 2 &&
                          for s in \"$@\"; do [ -d \"$s\" ] && set -- \"$@\" \"$s\"; shift; done &&
                          exec \"$f\" -seed=20261209 -runs=20000 -max_len=262144 \"$d\" \"$@\""
                   pe_image_fuzzer ${_vur_fuzz_dir}/pe-corpus ${_vur_fuzz_dir}/pe_image_fuzzer ${_vur_seeds})
  foreach(fuzzer IN LISTS _vur_fuzzers)
    # A failing input is kept beside the fuzzers, not in the tree the tests run from.
    set_tests_properties(fuzz.${fuzzer} PROPERTIES LABELS fuzz TIMEOUT 300 WORKING_DIRECTORY ${_vur_fuzz_dir})
  endforeach()
else()
  foreach(fuzzer IN LISTS _vur_fuzzers)
    add_test(NAME fuzz.${fuzzer} COMMAND ${CMAKE_COMMAND} -E echo "skipped: clang++ with libFuzzer not found")
    set_tests_properties(fuzz.${fuzzer} PROPERTIES LABELS fuzz SKIP_REGULAR_EXPRESSION "skipped:")
  endforeach()
endif()
