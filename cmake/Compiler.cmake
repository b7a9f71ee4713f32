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
    if(VUR_BUILD_DELIVERABLES)
      # No program asks for a type at run time; exceptions still get the type data they need.
      target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
    endif()
    get_target_property(plain ${target} VUR_WITHOUT_CXX_RUNTIME)
    if(plain)
      # Built without the C++ runtime, so without exceptions; and 32-bit code without an unwinder has no use
      # for unwind tables (x64 keeps them: there Windows itself unwinds through every function).
      target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
      endif()
    endif()
  endif()
endfunction()

# The shipped programs are optimised as a whole at link time: with the unwind data of every function kept, the
# linker alone could only drop whole objects, never the unused functions of an object it needs. One partition
# per program: GCC 12 for mingw fails internally (binds_to_current_def_p) when it splits a program into parts.
# The win32 test tier is a separate build and links as usual.
option(VUR_WHOLE_PROGRAM "Optimise the Windows programs at link time" ON)
if(WIN32 AND NOT VUR_WIN32_TESTS_ONLY AND VUR_WHOLE_PROGRAM)
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
  add_link_options(-flto-partition=one)
endif()

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
