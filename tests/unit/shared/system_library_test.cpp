// The system library's path: the folder's own backslash, and no path at all when the folder could not be
// read or the result would not fit, so that a bare name is never handed to the loader.
#include "shared/system_library.h"

#include <gtest/gtest.h>

#include <string>

TEST(SystemLibraryPath, JoinsTheFolderAndTheNameAndFailsClosed) {
    const char folder[] = "C:\\WINDOWS\\SYSTEM32junk";
    EXPECT_EQ(vur::SystemLibraryPath(folder, 19, "riched32.dll"), "C:\\WINDOWS\\SYSTEM32\\riched32.dll");
    EXPECT_EQ(vur::SystemLibraryPath("C:\\", 3, "psapi.dll"), "C:\\psapi.dll");
    // GetSystemDirectoryA failed (0) or needs a larger buffer (the size it needs, at least the buffer's).
    EXPECT_EQ(vur::SystemLibraryPath(folder, 0, "riched32.dll"), "");
    EXPECT_EQ(vur::SystemLibraryPath(folder, vur::kMaxPathChars, "riched32.dll"), "");
    EXPECT_EQ(vur::SystemLibraryPath(folder, 19, ""), "");
    // The whole path must leave room for its terminating zero.
    const std::string deep(250, 'a');
    EXPECT_EQ(vur::SystemLibraryPath(deep.c_str(), 250, "12345678").size(), 259u);
    EXPECT_EQ(vur::SystemLibraryPath(deep.c_str(), 250, "123456789"), "");
}
