# Builds the engine fuzzers with clang beside the native tree and runs each with a fixed seed and a bounded
# number of inputs (label fuzz). Without clang's libFuzzer the two tests report themselves as skipped.
set(_vur_fuzz_dir ${CMAKE_BINARY_DIR}/engine-fuzz)
find_program(VUR_CLANGXX clang++)
set(_vur_fuzzers signature_file_fuzzer pe_image_fuzzer)
if(VUR_CLANGXX)
  include(ExternalProject)
  ExternalProject_Add(engine_fuzzers
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${_vur_fuzz_dir}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${VUR_CLANGXX} -DCMAKE_BUILD_TYPE=Debug
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  foreach(fuzzer IN LISTS _vur_fuzzers)
    add_test(NAME fuzz.${fuzzer} COMMAND ${_vur_fuzz_dir}/${fuzzer} -seed=20261209 -runs=200000 -max_len=8192)
    set_tests_properties(fuzz.${fuzzer} PROPERTIES LABELS fuzz TIMEOUT 300)
  endforeach()
else()
  foreach(fuzzer IN LISTS _vur_fuzzers)
    add_test(NAME fuzz.${fuzzer} COMMAND ${CMAKE_COMMAND} -E echo "skipped: clang++ with libFuzzer not found")
    set_tests_properties(fuzz.${fuzzer} PROPERTIES LABELS fuzz SKIP_REGULAR_EXPRESSION "skipped:")
  endforeach()
endif()
