# Compiler settings shared by every target: C++17, warnings, CP1252 strings, static runtime on Windows.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# Sources are UTF-8; every string that reaches Windows or a file is CP1252.
set(VUR_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=CP1252)

function(vur_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wno-unused-parameter ${VUR_CHARSET_FLAGS})
  if(WIN32)
    # Windows 9x and NT 4 have only the ANSI calls; nothing newer may be imported.
    target_compile_definitions(${target} PRIVATE WINVER=0x0400 _WIN32_WINDOWS=0x0410 _WIN32_WINNT=0x0400
                                                 _WIN32_IE=0x0400 WIN32_LEAN_AND_MEAN NOMINMAX)
    # Users fetch these files by modem: every unused function is dropped, symbols stripped. Data stays in one
    # section per object: with a section per datum, this compiler gives zero-filled buffers and tables file
    # space in the data section instead of leaving them to the loader's zeroed memory.
    target_compile_options(${target} PRIVATE -ffunction-sections
                                             "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${PROJECT_SOURCE_DIR}/src/shared/lean_string.h>")
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
  endif()
endfunction()

# The Windows trees build for size; only the measured hot paths (the engines' matcher, the hashes, the CRC and
# the settings file's cipher) keep the speed optimisation, named with vur_hot_path() in their directory.
# Set outright rather than edited from the cache: a configure that once failed before it found the compiler
# leaves these empty in the cache, and the Windows trees would then build without any optimisation.
if(WIN32)
  foreach(lang C CXX)
    set(CMAKE_${lang}_FLAGS_RELEASE "-Os -DNDEBUG")
  endforeach()
endif()
function(vur_hot_path)
  if(WIN32)
    set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_OPTIONS $<$<CONFIG:Release>:-O2>)
  endif()
endfunction()

option(VUR_SANITIZE "Build the native tree with AddressSanitizer and UBSan" ON)
if(NOT WIN32 AND VUR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
