// Engine loading for the monitor.
#include "monitor/monitor_engines_win32.h"

#include "shared/signatures.h"

namespace vur::monitor {

namespace {

template <typename Fn>
Fn Entry(const vur::ScopedModule& library, const char* library_name, const char* name,
         std::vector<std::string>& missing) {
    if (!library) return nullptr;
    FARPROC address = GetProcAddress(library.Get(), name);
    if (!address) missing.push_back(std::string(library_name) + ": " + name);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
}

vur::ScopedModule LoadEngine(const std::string& folder, const char* name, std::vector<std::string>& missing) {
    vur::ScopedModule library(LoadLibraryA((folder + name).c_str()));
    if (!library) missing.push_back(name);
    return library;
}

} // namespace

MonitorEngines::~MonitorEngines() {
    scanLibrary_.Reset();
    heuristicLibrary_.Reset();
}

void MonitorEngines::Load(const std::string& programFolder) {
    heuristicLibrary_ = LoadEngine(programFolder, "vurheur.dll", missing_);
    scanLibrary_ = LoadEngine(programFolder, "vurscan.dll", missing_);
    scan_ = Entry<vur::ScanDialersFn>(scanLibrary_, "vurscan.dll", "ScanDialers", missing_);
    init_ = Entry<vur::InitDialersDatabaseFn>(scanLibrary_, "vurscan.dll", "InitDialersDatabase", missing_);
    heuristic_ = Entry<vur::CheckHeuristicallyFn>(heuristicLibrary_, "vurheur.dll", "CheckHeuristically", missing_);
}

void MonitorEngines::LoadSignatures(const std::string& programFolder) {
    if (!init_) return;
    vur::LoadSignatures(
        programFolder, [this](const std::string& file) { return init_(file.c_str()); }, vur::FindEntries);
}

} // namespace vur::monitor
