// The one place where the PSAPI entry points are looked up, and the calls made through them.
#include "monitor/psapi_win32.h"

#include "shared/system_library.h"
#include "shared/system_library_win32.h"
#include "shared/handles_win32.h"

namespace vur::monitor {

static_assert(sizeof(std::uint32_t) == sizeof(DWORD), "process ids are DWORDs");

const Psapi& BoundPsapi() {
    static const Psapi bound = [] {
        Psapi p;
        HMODULE library = vur::LoadSystemLibrary("psapi.dll");
        if (!library) return p;
        vur::BindEntryPoint(library, "EnumProcesses", p.enumProcesses);
        vur::BindEntryPoint(library, "EnumProcessModules", p.enumProcessModules);
        vur::BindEntryPoint(library, "GetModuleFileNameExA", p.moduleFileName);
        return p;
    }();
    return bound;
}

bool Win32PsapiCalls::ProcessIds(std::uint32_t* ids, std::uint32_t capacity, std::uint32_t& count) {
    DWORD bytes = 0;
    if (!psapi_.enumProcesses(reinterpret_cast<DWORD*>(ids), capacity * sizeof(DWORD), &bytes)) return false;
    count = bytes / sizeof(DWORD);
    return true;
}

bool Win32PsapiCalls::ModulePaths(std::uint32_t processId, std::size_t most, std::vector<std::string>& paths) {
    vur::ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return false;
    // The module list can grow between two calls: the size it needs is asked again until it fits.
    std::vector<HMODULE> modules(64);
    DWORD needed = 0;
    for (;;) {
        const DWORD room = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!psapi_.enumProcessModules(process.Get(), modules.data(), room, &needed)) return false;
        if (needed <= room) break;
        modules.resize(needed / sizeof(HMODULE) + 16);
    }
    modules.resize(needed / sizeof(HMODULE));
    paths.clear();
    char name[vur::kMaxPathChars];
    for (HMODULE module : modules) {
        if (paths.size() >= most) break;
        const DWORD length = psapi_.moduleFileName(process.Get(), module, name, sizeof name);
        // A module that unloaded meanwhile has no name; the program file must have one.
        if (length == 0 && paths.empty()) return false;
        if (length > 0) paths.emplace_back(name, length < sizeof name ? length : sizeof name - 1);
    }
    return true;
}

} // namespace vur::monitor
