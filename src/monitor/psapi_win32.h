// PSAPI, bound at run time from psapi.dll in the system folder: the process and module lists of NT 4, whose
// kernel32 has no ToolHelp32 (Windows builds only).
#pragma once

#include "monitor/process_lists.h"

#include <windows.h>

namespace vur::monitor {

struct Psapi {
    BOOL(WINAPI* enumProcesses)(DWORD* ids, DWORD bytes, DWORD* bytesReturned) = nullptr;
    BOOL(WINAPI* enumProcessModules)(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* bytesNeeded) = nullptr;
    DWORD(WINAPI* moduleFileName)(HANDLE process, HMODULE module, LPSTR name, DWORD size) = nullptr;

    bool Available() const { return enumProcesses && enumProcessModules && moduleFileName; }
};

// Bound once per process; the library stays loaded until the process ends.
const Psapi& BoundPsapi();

// The PSAPI calls made through `psapi`, which must be available.
class Win32PsapiCalls : public PsapiCalls {
public:
    explicit Win32PsapiCalls(const Psapi& psapi) : psapi_(psapi) {}

    bool ProcessIds(std::uint32_t* ids, std::uint32_t capacity, std::uint32_t& count) override;
    bool ModulePaths(std::uint32_t processId, std::size_t most, std::vector<std::string>& paths) override;

private:
    const Psapi& psapi_;
};

} // namespace vur::monitor
