// Prints the monitor's costs under the running system: the CPU time of an idle tick (autostart value, process
// snapshot with every process settled, connection poll with no connection) and of one application watch pass
// over 200 settled processes without the snapshot call. Usage: monitor_bench [folder with vur.conf]
#include "application_system_win32.h"
#include "application_watch.h"
#include "connection_watch.h"
#include "magrascon.h"
#include "monitor/monitor_engines_win32.h"
#include "monitor_tick.h"
#include "shared/module_path_win32.h"
#include "shared/program_settings.h"
#include "shared/run_value.h"
#include "shared/ui/message_window.h"

#include <windows.h>

#include <cstdio>
#include <functional>

namespace {

double ThreadCpuMs() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

class BenchTickSystem : public vur::monitor::TickSystem {
public:
    explicit BenchTickSystem(std::string file) : file_(std::move(file)) {}
    bool SettingsFileExists() override { return GetFileAttributesA(file_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    void WriteRunValue(const std::string& data) override { vur::WriteRunValue(data); }
    void ShowError(const std::string& message) override { std::printf("error: %s\n", message.c_str()); }

private:
    std::string file_;
};

class NoQuestions : public vur::monitor::TConnectionPrompt {
public:
    int Ask(const std::string&, const std::string&, unsigned) override { return IDNO; }
    bool CanAsk() override { return true; }
    void ReportError(const std::string&) override {}
};

// 200 processes that the engines find clean and that load nothing to dial with: settled after 11 passes.
class SettledProcesses : public vur::monitor::ApplicationSystem {
public:
    bool Processes(std::vector<vur::monitor::ProcessEntry>& out) override {
        out.clear();
        for (std::uint32_t i = 1; i <= 200; ++i) out.push_back({i * 4, "programm" + std::to_string(i) + ".exe"});
        return true;
    }
    bool Modules(std::uint32_t id, std::vector<vur::monitor::ModuleEntry>& out) override {
        out = {{"programm.exe", "c:\\programme\\programm" + std::to_string(id) + ".exe"}, {"kernel32.dll", "k"}};
        return true;
    }
    bool IsWindowsNT() override { return true; }
    std::uint32_t CurrentProcessId() override { return 0xFFFF; }
    std::string ExpandLongPath(const std::string& path) override { return path; }
    std::uint32_t FileChecksum(const std::string&) override { return 0; }
    bool CanScan() override { return true; }
    std::string ScanDialers(const std::string&) override { return "OK"; }
    bool CanCheckHeuristically() override { return true; }
    std::string CheckHeuristically(const std::string&) override { return "OK"; }
    int Ask(const std::string&, const std::string&, unsigned) override { return IDNO; }
    std::unique_ptr<vur::monitor::HeldProcess> Hold(std::uint32_t id) override {
        return std::make_unique<vur::monitor::HeldProcess>(id);
    }
    void Terminate(vur::monitor::HeldProcess&) override {}
    bool CanAsk() override { return true; }
    void Isolate(const std::string&, const std::string&) override {}
    void ReportError(const std::string&) override {}
};

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? std::string(argv[1]) + "\\" : vur::ModuleFolder(nullptr);
    vur::ui::MessageWindow owner([](UINT, WPARAM, LPARAM) {});
    auto settings = vur::OpenProgramSettings(folder);
    vur::monitor::MonitorEngines engines;
    engines.Load(vur::ModuleFolder(nullptr));
    engines.LoadSignatures(vur::ModuleFolder(nullptr));

    BenchTickSystem system(folder + "vur.conf");
    vur::monitor::MonitorTick tick(system, *settings, folder);
    vur::monitor::Win32ApplicationSystem applications(
        engines, folder, [](const std::string&, const std::string&, unsigned) { return IDNO; }, [] { return true; },
        [](const std::string&) {});
    vur::monitor::ApplicationWatch watch(applications, *settings);
    vur::monitor::TMagRasCon mag(vur::monitor::ProcessRasBinding(), owner.hwnd());
    NoQuestions prompt;
    vur::monitor::TConnectionWatch connections(mag, *settings, prompt);
    tick.checkApplications = [&] { watch.CheckApplications(); };
    tick.pollConnections = [&] { connections.PollConnections(); };

    for (int i = 0; i < 12; ++i) tick.Run(); // every process of the system settles
    const int ticks = 1000; // the thread clock counts in steps of 10 ms or more
    double start = ThreadCpuMs();
    const DWORD wallStart = GetTickCount();
    for (int i = 0; i < ticks; ++i) tick.Run();
    const double tickMs = (ThreadCpuMs() - start) / ticks;
    std::printf("idle tick: %.3f ms CPU, %.3f ms wall (%d ticks, %u settled processes; target at most 1 ms)\n",
                tickMs, static_cast<double>(GetTickCount() - wallStart) / ticks, ticks,
                static_cast<unsigned>(watch.RecordCount()));

    // Where an idle tick's time goes, step by step.
    const auto perCall = [&](const char* what, const std::function<void()>& step) {
        const double before = ThreadCpuMs();
        for (int i = 0; i < ticks; ++i) step();
        std::printf("  %-40s %.3f ms CPU\n", what, (ThreadCpuMs() - before) / ticks);
    };
    perCall("settings read of AutoStart", [&] { settings->ReadInteger("Generell", "AutoStart", 0); });
    perCall("Run value write", [&] { vur::WriteRunValue("\"" + folder + "fast.exe\""); });
    perCall("application watch (snapshot included)", [&] { watch.CheckApplications(); });
    perCall("connection poll", [&] { connections.PollConnections(); });
    std::vector<vur::monitor::ProcessEntry> processes;
    const double snapshotBefore = ThreadCpuMs();
    for (int i = 0; i < ticks; ++i) applications.Processes(processes);
    std::printf("  %-40s %.3f ms CPU\n", "process snapshot alone", (ThreadCpuMs() - snapshotBefore) / ticks);

    SettledProcesses fake;
    vur::monitor::ApplicationWatch settled(fake, *settings);
    for (int i = 0; i < 12; ++i) settled.CheckApplications();
    const int passes = 2000;
    start = ThreadCpuMs();
    for (int i = 0; i < passes; ++i) settled.CheckApplications();
    std::printf("application watch, 200 settled processes, without the snapshot: %.4f ms CPU per tick "
                "(target at most 2 ms)\n",
                (ThreadCpuMs() - start) / passes);
    return 0;
}
