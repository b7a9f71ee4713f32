# Cross toolchain for 64-bit Windows (mingw-w64, x86-64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VUR_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
