// Finding and ending the monitor hosts of a program folder.
#include "monitor_stop.h"

#include "shared/errors.h"
#include "shared/text_case.h"

namespace vurconf {

namespace {

std::string Comparable(MonitorHosts& hosts, const std::string& path) {
    return vur::LowerCp1252(hosts.LongPath(path));
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

// The processes that have `library` loaded, each with its program file's full path.
std::vector<HeldLibrary> Holders(const std::string& library, MonitorHosts& hosts) {
    vur::monitor::ProcessLists* lists = hosts.Lists();
    std::vector<vur::monitor::ProcessEntry> processes;
    if (!lists || !lists->Processes(processes)) throw vur::EVurError("the process list cannot be read");
    std::vector<HeldLibrary> holders;
    for (const vur::monitor::ProcessEntry& process : processes) {
        if (process.id == hosts.OwnProcessId()) continue;
        std::vector<vur::monitor::ModuleEntry> modules;
        if (!lists->Modules(process.id, modules) || modules.empty()) continue;
        for (const vur::monitor::ModuleEntry& module : modules)
            if (Comparable(hosts, module.path) == library) {
                holders.push_back(HeldLibrary{process.id, modules.front().path});
                break;
            }
    }
    return holders;
}

} // namespace

std::vector<HeldLibrary> LibraryHolders(const std::string& folder, MonitorHosts& hosts) {
    return Holders(Comparable(hosts, folder + "watch.dll"), hosts);
}

StopResult StopMonitors(const std::string& folder, MonitorHosts& hosts) {
    const std::string home = Comparable(hosts, folder);
    const std::string library = Comparable(hosts, folder + "watch.dll");
    StopResult result;
    bool marked = false;
    for (const HeldLibrary& holder : Holders(library, hosts)) {
        if (FolderOf(Comparable(hosts, holder.program)) != home) continue;
        if (!marked) hosts.MarkDeliberateStop(), marked = true;
        const bool ended = (hosts.AskToQuit(holder.processId) && hosts.WaitForEnd(holder.processId, kQuitWaitMs)) ||
                           (hosts.Terminate(holder.processId) && hosts.WaitForEnd(holder.processId, kTerminateWaitMs));
        if (ended) result.ended.push_back(holder);
    }
    result.stillHolding = Holders(library, hosts);
    return result;
}

} // namespace vurconf
