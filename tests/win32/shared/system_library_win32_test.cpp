// Loading system libraries: from the system folder only, never a file of the same name on the search path.
#include "shared/system_library_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(SystemLibraryWin32, LoadsFromTheSystemFolderOnly) {
    HMODULE kernel = vur::LoadSystemLibrary("KERNEL32.DLL");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(kernel, GetModuleHandleA("kernel32.dll"));
    FreeLibrary(kernel);

    // The stand-in RAS library beside this program, copied under a name of its own: this program's folder is
    // on the search path, the system folder does not have it. The runner runs in several prefixes at once,
    // whose process ids may be the same: the name is made unique on disk.
    char self[MAX_PATH];
    const std::string own(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    const std::string folder = own.substr(0, own.find_last_of('\\') + 1);
    char unique[MAX_PATH];
    ASSERT_NE(GetTempFileNameA(folder.c_str(), "vpl", 0, unique), 0u);
    const std::string planted = unique;
    ASSERT_TRUE(CopyFileA((folder + "rasapi32.dll").c_str(), planted.c_str(), FALSE));
    const std::string name = planted.substr(planted.find_last_of('\\') + 1);
    HMODULE bySearch = LoadLibraryA(name.c_str());
    EXPECT_NE(bySearch, nullptr);
    if (bySearch) FreeLibrary(bySearch);
    EXPECT_EQ(vur::LoadSystemLibrary(name), nullptr);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    DeleteFileA(planted.c_str());

    // A name that cannot fit a path fails with a reason of its own.
    EXPECT_EQ(vur::LoadSystemLibrary(std::string(300, 'x') + ".dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}
