list(APPEND VUR_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_identity_win32_test.cpp)
