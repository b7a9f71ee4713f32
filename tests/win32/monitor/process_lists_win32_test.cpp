// The process and module lists on the running system: PSAPI called directly gives this program with its
// own path and modules, as ToolHelp32 does, and the source is PSAPI where ToolHelp32 is missing.
#include "monitor/process_lists_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string OwnPath() {
    char path[MAX_PATH];
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

// This process's record in the list and its modules, as the given source reports them.
void ExpectThisProcess(vur::monitor::ProcessLists& lists) {
    const std::string own = OwnPath();
    std::vector<vur::monitor::ProcessEntry> processes;
    ASSERT_TRUE(lists.Processes(processes));
    bool found = false;
    for (const auto& process : processes) {
        if (process.id != GetCurrentProcessId()) continue;
        found = true;
        EXPECT_EQ(lstrcmpiA(process.imageName.c_str(), own.substr(own.rfind('\\') + 1).c_str()), 0)
            << process.imageName;
    }
    EXPECT_TRUE(found);
    std::vector<vur::monitor::ModuleEntry> modules;
    ASSERT_TRUE(lists.Modules(GetCurrentProcessId(), modules));
    ASSERT_FALSE(modules.empty());
    EXPECT_EQ(lstrcmpiA(modules.front().path.c_str(), own.c_str()), 0) << modules.front().path;
    bool kernel = false;
    for (const auto& module : modules) kernel = kernel || lstrcmpiA(module.name.c_str(), "kernel32.dll") == 0;
    EXPECT_TRUE(kernel);
}

} // namespace

TEST(ProcessListsWin32, PsapiCalledDirectlyListsThisProcessLikeToolHelp) {
    const vur::monitor::Psapi& psapi = vur::monitor::BoundPsapi();
    ASSERT_TRUE(psapi.Available());
    vur::monitor::Win32PsapiCalls calls(psapi);
    vur::monitor::PsapiLists lists(calls);
    ExpectThisProcess(lists);
    std::vector<std::string> first;
    ASSERT_TRUE(calls.ModulePaths(GetCurrentProcessId(), 1, first));
    EXPECT_EQ(first.size(), 1u);
    EXPECT_FALSE(calls.ModulePaths(0xFFFFFFF0u, 1, first)); // no such process

    vur::monitor::ToolHelpLists toolHelp(vur::monitor::BoundToolHelp());
    ExpectThisProcess(toolHelp);
}

TEST(ProcessListsWin32, PsapiStandsInWhereToolHelpIsMissing) {
    const vur::monitor::ToolHelp none;
    auto lists = vur::monitor::MakeProcessLists(none, vur::monitor::BoundPsapi());
    ASSERT_NE(lists, nullptr);
    ExpectThisProcess(*lists); // without ToolHelp32 this can only be PSAPI
    EXPECT_EQ(vur::monitor::MakeProcessLists(none, vur::monitor::Psapi{}), nullptr);
    EXPECT_NE(vur::monitor::MakeProcessLists(vur::monitor::BoundToolHelp(), vur::monitor::Psapi{}), nullptr);
}
