# The public key update.exe trusts, a build setting: VUR_UPDATE_PUBLIC_KEY names a key file as
# `vurconf keygen` writes it (64 hex digits). The default is the repository's test key, which the test suite
# signs with; a build with it says so in update.exe's version resource and in `vurconf version`.
set(VUR_TEST_UPDATE_KEY ${PROJECT_SOURCE_DIR}/keys/test-update-key.pub)
set(VUR_UPDATE_PUBLIC_KEY ${VUR_TEST_UPDATE_KEY} CACHE FILEPATH "Public key file the updater trusts (vurconf keygen)")

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

vur_read_key_file(${VUR_UPDATE_PUBLIC_KEY} VUR_UPDATE_KEY_HEX)
vur_read_key_file(${VUR_TEST_UPDATE_KEY} vur_test_key_hex)
if(VUR_UPDATE_KEY_HEX STREQUAL vur_test_key_hex)
  set(VUR_UPDATE_KEY_IS_TEST ON)
  set(vur_is_test true)
else()
  set(VUR_UPDATE_KEY_IS_TEST OFF)
  set(vur_is_test false)
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " vur_key_bytes "${VUR_UPDATE_KEY_HEX}")
set(vur_key_header ${CMAKE_BINARY_DIR}/generated/update_key.h)
file(CONFIGURE OUTPUT ${vur_key_header} CONTENT
"// Generated from ${VUR_UPDATE_PUBLIC_KEY} (build setting VUR_UPDATE_PUBLIC_KEY): the key update lists and
// files must be signed with.
#pragma once

#include \"shared/ed25519.h\"

namespace vur::updater {

constexpr ed25519::PublicKey kTrustedUpdateKey = {{${vur_key_bytes}}};
constexpr bool kTrustedUpdateKeyIsTestKey = ${vur_is_test};
constexpr char kTrustedUpdateKeyHex[] = \"${VUR_UPDATE_KEY_HEX}\";

} // namespace vur::updater
")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VUR_UPDATE_PUBLIC_KEY} ${VUR_TEST_UPDATE_KEY})
add_library(vur_update_key INTERFACE)
target_include_directories(vur_update_key INTERFACE ${CMAKE_BINARY_DIR}/generated)
