// The process and module lists of the running system: ToolHelp32 first, PSAPI where kernel32 has no
// ToolHelp32 (Windows builds only).
#pragma once

#include "monitor/process_lists.h"
#include "monitor/psapi_win32.h"
#include "monitor/toolhelp_win32.h"

#include <memory>

namespace vur::monitor {

class ToolHelpLists : public ProcessLists {
public:
    explicit ToolHelpLists(const ToolHelp& toolHelp) : toolHelp_(toolHelp) {}

    bool Processes(std::vector<ProcessEntry>& processes) override;
    bool Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) override;

private:
    const ToolHelp& toolHelp_;
};

// The first of the two sources that is available; null when neither is. The bindings must outlive the result.
std::unique_ptr<ProcessLists> MakeProcessLists(const ToolHelp& toolHelp, const Psapi& psapi);

} // namespace vur::monitor
