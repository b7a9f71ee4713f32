list(APPEND VUR_UNIT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/crypto_known_answer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/disk_ini_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ed25519_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_binding_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field25519_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_identity_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_document_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_typed_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quarantine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sealing_openssl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sealing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/securityunit_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_schema_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_library_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/winfuncs_test.cpp
)
