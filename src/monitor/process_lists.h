// The two sources of the application watch's process and module records: ToolHelp32 where kernel32 has it
// (Windows 9x, 2000, XP) and PSAPI (psapi.dll) on NT 4, whose kernel32 has no ToolHelp32.
#pragma once

#include "monitor/application_watch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vur::monitor {

// One source of the process list and of each process's modules, in the records the watch reads.
class ProcessLists {
public:
    virtual ~ProcessLists() = default;
    // False when no list could be taken.
    virtual bool Processes(std::vector<ProcessEntry>& processes) = 0;
    // The process's modules, first module first; false when they cannot be read.
    virtual bool Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) = 0;
};

// Seam: the PSAPI calls, as the Windows side makes them.
class PsapiCalls {
public:
    virtual ~PsapiCalls() = default;
    // EnumProcesses into room for `capacity` ids; `count` is how many it wrote. False when the call failed.
    virtual bool ProcessIds(std::uint32_t* ids, std::uint32_t capacity, std::uint32_t& count) = 0;
    // EnumProcessModules and GetModuleFileNameExA: the full paths of at most `most` of the process's modules,
    // the program file first. False when the process cannot be opened or its modules cannot be read.
    virtual bool ModulePaths(std::uint32_t processId, std::size_t most, std::vector<std::string>& paths) = 0;
};

// The records from PSAPI. EnumProcesses cannot say that its buffer was too small, so a full buffer is taken
// for a cut list and the call is made again with twice the room. The image name is the program file's name,
// as ToolHelp32 reports it on the NT family; empty for a process that cannot be opened (the idle process,
// the system, other users' services).
class PsapiLists : public ProcessLists {
public:
    static constexpr std::uint32_t kFirstCapacity = 256;
    static constexpr std::uint32_t kMostCapacity = 65536;

    explicit PsapiLists(PsapiCalls& calls) : calls_(calls) {}

    bool Processes(std::vector<ProcessEntry>& processes) override;
    bool Modules(std::uint32_t processId, std::vector<ModuleEntry>& modules) override;

private:
    PsapiCalls& calls_;
};

} // namespace vur::monitor
