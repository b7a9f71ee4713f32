// One tick of the monitor: restore the autostart value, then the application and the connection checks.
// An error escaping one step never stops the monitor: the tick goes on with the next step, and the user
// hears of each distinct error once per run.
#pragma once

#include "shared/ini_file.h"

#include <functional>
#include <set>
#include <string>

namespace vur::monitor {

// Seam: what the tick needs of the system besides the settings.
class TickSystem {
public:
    virtual ~TickSystem() = default;
    virtual bool SettingsFileExists() = 0;
    // Writes the Run value "VUR starten" with the given data, creating the Run key when missing.
    virtual void WriteRunValue(const std::string& data) = 0;
    // Tells the user of an error that escaped a step of the tick.
    virtual void ShowError(const std::string& message) = 0;
};

class MonitorTick {
public:
    MonitorTick(TickSystem& system, vur::TCustomIniFile& settings, std::string programFolder);

    std::function<void()> checkApplications;
    std::function<void()> pollConnections;

    void Run();
    // Runs a step of the monitor's work with the tick's containment: an error of any kind is reported.
    void Guarded(const std::function<void()>& step);
    // Tells the user of an error, once per distinct message in this run.
    void Report(const std::string& message);

private:
    void RefreshAutostart();

    TickSystem& system_;
    vur::TCustomIniFile& settings_;
    std::string programFolder_;
    std::set<std::string> reported_;
};

} // namespace vur::monitor
