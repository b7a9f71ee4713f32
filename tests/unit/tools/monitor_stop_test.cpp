// Ending a folder's monitor: which processes are ended, how, and what is reported as still holding the
// library; short and long path forms and letter case as the process lists give them.
#include "monitor_stop.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "shared/errors.h"

using namespace vurconf;

namespace {

struct FakeProcess {
    std::vector<std::string> modules; // program first
    bool hasWindows = true;
    bool quits = true;      // ends on WM_QUIT
    bool terminable = true;
};

class FakeHosts : public MonitorHosts, public vur::monitor::ProcessLists {
public:
    std::map<std::uint32_t, FakeProcess> running;
    std::vector<std::string> calls;
    bool listsAvailable = true;

    vur::monitor::ProcessLists* Lists() override { return listsAvailable ? this : nullptr; }
    std::uint32_t OwnProcessId() override { return 1; }
    // The system would expand the 8.3 form of the folder.
    std::string LongPath(const std::string& path) override {
        const std::string shortForm = "C:\\PROGRA~1\\VUR\\";
        return path.compare(0, shortForm.size(), shortForm) == 0
                   ? "C:\\Programme\\VUR\\" + path.substr(shortForm.size())
                   : path;
    }
    void MarkDeliberateStop() override { calls.push_back("mark"); }
    bool AskToQuit(std::uint32_t id) override {
        calls.push_back("quit " + std::to_string(id));
        if (!running.at(id).hasWindows) return false;
        if (running[id].quits) running.erase(id);
        return true;
    }
    bool WaitForEnd(std::uint32_t id, unsigned) override { return running.count(id) == 0; }
    bool Terminate(std::uint32_t id) override {
        calls.push_back("terminate " + std::to_string(id));
        if (!running.at(id).terminable) return false;
        running.erase(id);
        return true;
    }

    bool Processes(std::vector<vur::monitor::ProcessEntry>& processes) override {
        for (const auto& [id, process] : running) processes.push_back({id, process.modules.front()});
        return true;
    }
    bool Modules(std::uint32_t id, std::vector<vur::monitor::ModuleEntry>& modules) override {
        if (!running.count(id)) return false;
        for (const std::string& path : running[id].modules) modules.push_back({path.substr(path.rfind('\\') + 1), path});
        return true;
    }
};

} // namespace

TEST(MonitorStop, EndsTheFoldersHostsGentlyOrByForceAndNamesEveryOtherHolder) {
    FakeHosts hosts;
    const std::string dll = "C:\\Programme\\VUR\\watch.dll";
    hosts.running[1] = {{"C:\\Programme\\VUR\\vurconf.exe", dll}};                       // the tool itself
    hosts.running[10] = {{"C:\\PROGRA~1\\VUR\\FAST.EXE", "C:\\PROGRA~1\\VUR\\WATCH.DLL"}}; // 8.3, upper case
    hosts.running[11] = {{"C:\\Programme\\VUR\\fast.exe", dll}, false};                   // no windows
    hosts.running[12] = {{"C:\\Programme\\VUR\\fast.exe", dll}, true, false};             // ignores WM_QUIT
    hosts.running[20] = {{"C:\\Windows\\explorer.exe", dll}};                            // hooked, not ours
    hosts.running[21] = {{"C:\\Andere\\VUR\\fast.exe", "C:\\Andere\\VUR\\watch.dll"}};    // another folder
    hosts.running[22] = {{"C:\\Programme\\VUR\\scanner.exe"}};                           // no library

    StopResult result = StopMonitors("C:\\Programme\\VUR\\", hosts);
    std::set<std::uint32_t> ended;
    for (const HeldLibrary& host : result.ended) ended.insert(host.processId);
    EXPECT_EQ(ended, (std::set<std::uint32_t>{10, 11, 12}));
    // The stop is marked as deliberate before the first host is asked to end.
    EXPECT_EQ(hosts.calls, (std::vector<std::string>{"mark", "quit 10", "quit 11", "terminate 11", "quit 12",
                                                     "terminate 12"}));
    ASSERT_EQ(result.stillHolding.size(), 1u) << "neither the tool itself nor another folder's library counts";
    EXPECT_EQ(result.stillHolding[0].program, "C:\\Windows\\explorer.exe");
    EXPECT_TRUE(hosts.running.count(20) && hosts.running.count(21) && hosts.running.count(22));

    // A host that can be neither asked nor terminated is not reported as ended, but as still holding.
    hosts.running.clear();
    hosts.calls.clear();
    hosts.running[30] = {{"C:\\Programme\\VUR\\fast.exe", dll}, false, true, false};
    result = StopMonitors("C:\\Programme\\VUR\\", hosts);
    EXPECT_TRUE(result.ended.empty());
    ASSERT_EQ(result.stillHolding.size(), 1u);
    EXPECT_EQ(result.stillHolding[0].processId, 30u);

    hosts.listsAvailable = false;
    EXPECT_THROW(StopMonitors("C:\\Programme\\VUR\\", hosts), vur::EVurError);
}
