// The PSAPI records over scripted calls: a cut id list is taken again with more room, image and module names
// come from the paths, unreadable processes stay listed without a name, and the watch catches a dialer
// listed only through PSAPI.
#include "fake_application_system.h"
#include "process_lists.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// A process table as PSAPI shows it: ids in order, each with its module paths (none: cannot be opened).
struct FakePsapi : vur::monitor::PsapiCalls {
    std::vector<std::uint32_t> ids;
    std::map<std::uint32_t, std::vector<std::string>> paths;
    std::vector<std::uint32_t> capacities;
    bool failIds = false;

    bool ProcessIds(std::uint32_t* out, std::uint32_t capacity, std::uint32_t& count) override {
        capacities.push_back(capacity);
        if (failIds) return false;
        count = static_cast<std::uint32_t>(std::min<std::size_t>(capacity, ids.size()));
        std::copy(ids.begin(), ids.begin() + count, out);
        return true;
    }
    bool ModulePaths(std::uint32_t id, std::size_t most, std::vector<std::string>& out) override {
        const auto it = paths.find(id);
        if (it == paths.end()) return false;
        out.assign(it->second.begin(), it->second.begin() + std::min(most, it->second.size()));
        return true;
    }
};

} // namespace

TEST(PsapiLists, RecordsOfEveryProcessWithARoomThatGrowsUntilTheListFits) {
    FakePsapi psapi;
    for (std::uint32_t id = 0; id < 600; ++id) psapi.ids.push_back(id * 4);
    psapi.paths[8] = {"\\??\\C:\\WINNT\\system32\\csrss.exe", "C:\\WINNT\\System32\\ntdll.dll"};
    psapi.paths[2396] = {"C:\\Programme\\Wähler\\WÄHLER.EXE", "C:\\WINNT\\System32\\RASAPI32.dll"};
    vur::monitor::PsapiLists lists(psapi);

    std::vector<vur::monitor::ProcessEntry> processes{{1, "old"}};
    ASSERT_TRUE(lists.Processes(processes));
    // 256 and 512 ids fill the room: the list may be cut. 1024 holds all 600.
    EXPECT_EQ(psapi.capacities, (std::vector<std::uint32_t>{256, 512, 1024}));
    ASSERT_EQ(processes.size(), 600u);
    EXPECT_EQ(processes[0].id, 0u);
    EXPECT_EQ(processes[0].imageName, ""); // the idle process cannot be opened
    EXPECT_EQ(processes[2].imageName, "csrss.exe");
    EXPECT_EQ(processes[599].id, 2396u);
    EXPECT_EQ(processes[599].imageName, "WÄHLER.EXE");

    std::vector<vur::monitor::ModuleEntry> modules;
    ASSERT_TRUE(lists.Modules(8, modules));
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0].name, "csrss.exe");
    EXPECT_EQ(modules[0].path, "C:\\WINNT\\system32\\csrss.exe");
    EXPECT_EQ(modules[1].name, "ntdll.dll");
    EXPECT_FALSE(lists.Modules(12, modules));
    psapi.paths[12] = {};
    EXPECT_FALSE(lists.Modules(12, modules)); // opened, but no program file

    // A list that fills even the largest room is taken as it is; a failed call gives no list.
    psapi.ids.assign(vur::monitor::PsapiLists::kMostCapacity + 5, 7);
    psapi.capacities.clear();
    ASSERT_TRUE(lists.Processes(processes));
    EXPECT_EQ(processes.size(), vur::monitor::PsapiLists::kMostCapacity);
    EXPECT_EQ(psapi.capacities.back(), vur::monitor::PsapiLists::kMostCapacity);
    psapi.failIds = true;
    EXPECT_FALSE(lists.Processes(processes));
}

TEST(PsapiLists, TheWatchCatchesADialerListedThroughPsapi) {
    // The watch's system on NT 4: the process and module records come from PSAPI.
    struct Nt4System : vurtest::FakeApplicationSystem {
        vur::monitor::ProcessLists* lists = nullptr;
        bool Processes(std::vector<vur::monitor::ProcessEntry>& out) override { return lists->Processes(out); }
        bool Modules(std::uint32_t id, std::vector<vur::monitor::ModuleEntry>& out) override {
            return lists->Modules(id, out);
        }
    } system;
    FakePsapi psapi;
    psapi.ids = {0, 8, 77};
    psapi.paths[8] = {"\\??\\C:\\WINNT\\system32\\csrss.exe"};
    psapi.paths[77] = {"C:\\Programme\\Tool\\Tool.exe", "C:\\WINNT\\System32\\TAPI32.DLL"};
    vur::monitor::PsapiLists lists(psapi);
    system.lists = &lists;
    vurtest::MemoryIniFile settings;
    settings.WriteInteger("Generell", "Neue Anwendung", 2);
    vur::monitor::ApplicationWatch watch(system, settings);
    watch.CheckApplications();
    EXPECT_EQ(system.log, std::vector<std::string>{"terminate 77"});
    EXPECT_EQ(system.scans, 2); // csrss.exe and tool.exe; the idle process is skipped
}
