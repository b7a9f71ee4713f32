// The order of the tick's steps and the containment of their errors.
#include "monitor/monitor_tick.h"

#include "shared/caught_error.h"
#include "shared/settings_schema.h"

namespace vur::monitor {

MonitorTick::MonitorTick(TickSystem& system, vur::TCustomIniFile& settings, std::string programFolder)
    : system_(system), settings_(settings), programFolder_(std::move(programFolder)) {}

void MonitorTick::Run() {
    Guarded([this] { RefreshAutostart(); });
    if (checkApplications) Guarded(checkApplications);
    if (pollConnections) Guarded(pollConnections);
}

void MonitorTick::RefreshAutostart() {
    // Without a settings file nothing is written; only the choice 0 "start with Windows" restores the value.
    if (!system_.SettingsFileExists()) return;
    if (vur::schema::Read(settings_, vur::schema::kAutoStart) != vur::schema::kStartWithWindows)
        return;
    system_.WriteRunValue(vur::schema::RunValueData(programFolder_));
}

void MonitorTick::Guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        Report(vur::CaughtErrorMessage());
    }
}

void MonitorTick::Report(const std::string& message) {
    // A damaged settings file would otherwise raise the same box twice a second.
    if (reported_.insert(message).second) system_.ShowError(message);
}

} // namespace vur::monitor
