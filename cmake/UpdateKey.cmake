# The public key update.exe trusts, a build setting: VUR_UPDATE_PUBLIC_KEY names a key file as
# `vurconf keygen` writes it (64 hex digits). The default is the repository's test key, which the test suite
# signs with; a build with it says so in update.exe's version resource and in `vurconf version`.
#
# VUR_RELEASE makes a release build (scripts/build --release): it refuses the test key, whose private half is
# in the repository, and compiles in the least serial an update list must carry (VUR_MINIMUM_UPDATE_SERIAL,
# by default the configure time in seconds since 1970, as `vurconf updates` numbers its lists). Every other
# build is a test build: its minimum serial is 0 unless set, and the titles a user sees say "(Testversion)".
set(VUR_TEST_UPDATE_KEY ${PROJECT_SOURCE_DIR}/keys/test-update-key.pub)
set(VUR_UPDATE_PUBLIC_KEY ${VUR_TEST_UPDATE_KEY} CACHE FILEPATH "Public key file the updater trusts (vurconf keygen)")
option(VUR_RELEASE "A release build: refuses the test key, compiles in a minimum update serial" OFF)
set(VUR_MINIMUM_UPDATE_SERIAL "" CACHE STRING
    "Least serial of an update list the updater accepts (release default: the configure time, else 0)")

function(vur_read_key_file file result)
  file(READ ${file} text)
  string(STRIP "${text}" text)
  string(TOLOWER "${text}" text)
  if(NOT text MATCHES "^[0-9a-f]+$")
    message(FATAL_ERROR "${file} is not a public key file of 64 hex digits")
  endif()
  string(LENGTH "${text}" length)
  if(NOT length EQUAL 64)
    message(FATAL_ERROR "${file} is not a public key file of 64 hex digits")
  endif()
  set(${result} ${text} PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/SmallOrderKeys.cmake)

vur_read_key_file(${VUR_UPDATE_PUBLIC_KEY} VUR_UPDATE_KEY_HEX)
vur_read_key_file(${VUR_TEST_UPDATE_KEY} vur_test_key_hex)
vur_key_has_small_order(${VUR_UPDATE_KEY_HEX} vur_small_order)
if(vur_small_order)
  message(FATAL_ERROR "VUR_UPDATE_PUBLIC_KEY ${VUR_UPDATE_PUBLIC_KEY} is a key of small order: anyone could "
                      "sign updates that the updater accepts. Make a key pair with `vurconf keygen`.")
endif()
if(VUR_UPDATE_KEY_HEX STREQUAL vur_test_key_hex)
  if(VUR_RELEASE)
    message(FATAL_ERROR "A release build cannot trust the test key ${VUR_UPDATE_PUBLIC_KEY}: its private half "
                        "is in the repository. Name the release key: scripts/build --release PUBLIC-KEY-FILE")
  endif()
  set(VUR_UPDATE_KEY_IS_TEST ON)
  set(vur_is_test true)
else()
  set(VUR_UPDATE_KEY_IS_TEST OFF)
  set(vur_is_test false)
endif()

# The suffix of every title a user sees (the updater's window, the setup program, `vurconf version`).
if(VUR_RELEASE)
  set(VUR_TITLE_SUFFIX "")
  set(vur_release true)
else()
  set(VUR_TITLE_SUFFIX " (Testversion)")
  set(vur_release false)
endif()

if(NOT VUR_MINIMUM_UPDATE_SERIAL STREQUAL "")
  set(vur_minimum_serial ${VUR_MINIMUM_UPDATE_SERIAL})
elseif(VUR_RELEASE)
  # Taken once per tree, so that configuring again does not move it.
  if(NOT VUR_RELEASE_CONFIGURE_TIME)
    string(TIMESTAMP now "%s" UTC)
    set(VUR_RELEASE_CONFIGURE_TIME ${now} CACHE INTERNAL "When this release tree was first configured")
  endif()
  set(vur_minimum_serial ${VUR_RELEASE_CONFIGURE_TIME})
else()
  set(vur_minimum_serial 0)
endif()
# As the updater reads a list's serial: decimal, no leading zero, at most 19 digits.
string(LENGTH "${vur_minimum_serial}" length)
if(NOT vur_minimum_serial MATCHES "^(0|[1-9][0-9]*)$" OR length GREATER 19)
  message(FATAL_ERROR "VUR_MINIMUM_UPDATE_SERIAL ${vur_minimum_serial} is not a serial (decimal, at most 19 digits)")
endif()

string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " vur_key_bytes "${VUR_UPDATE_KEY_HEX}")
set(vur_key_header ${CMAKE_BINARY_DIR}/generated/update_key.h)
file(CONFIGURE OUTPUT ${vur_key_header} CONTENT
"// Generated from ${VUR_UPDATE_PUBLIC_KEY} (build setting VUR_UPDATE_PUBLIC_KEY): the key update lists and
// files must be signed with, and what kind of build this is (VUR_RELEASE, cmake/UpdateKey.cmake).
#pragma once

#include <cstdint>

#include \"shared/ed25519.h\"

namespace vur::updater {

constexpr ed25519::PublicKey kTrustedUpdateKey = {{${vur_key_bytes}}};
constexpr bool kTrustedUpdateKeyIsTestKey = ${vur_is_test};
constexpr char kTrustedUpdateKeyHex[] = \"${VUR_UPDATE_KEY_HEX}\";
constexpr bool kReleaseBuild = ${vur_release};
// An update list with a smaller serial is refused, also where no serial has been accepted yet.
constexpr std::uint64_t kMinimumUpdateSerial = ${vur_minimum_serial}u;
// Appended to the titles a user sees: a test build says so.
constexpr char kTitleSuffix[] = \"${VUR_TITLE_SUFFIX}\";

} // namespace vur::updater
")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VUR_UPDATE_PUBLIC_KEY} ${VUR_TEST_UPDATE_KEY})
add_library(vur_update_key INTERFACE)
target_include_directories(vur_update_key INTERFACE ${CMAKE_BINARY_DIR}/generated)
