// Outside Windows there is no monitor to end: every call fails, and the command says so.
#include "monitor_stop.h"

namespace vurconf {

namespace {

class NoMonitorHosts : public MonitorHosts {
public:
    vur::monitor::ProcessLists* Lists() override { return nullptr; }
    std::uint32_t OwnProcessId() override { return 0; }
    std::string LongPath(const std::string& path) override { return path; }
    void MarkDeliberateStop() override {}
    bool AskToQuit(std::uint32_t) override { return false; }
    bool WaitForEnd(std::uint32_t, unsigned) override { return false; }
    bool Terminate(std::uint32_t) override { return false; }
};

} // namespace

MonitorHosts& SystemMonitorHosts() {
    static NoMonitorHosts hosts;
    return hosts;
}

} // namespace vurconf
