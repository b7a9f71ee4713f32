// The one place where the ToolHelp32 entry points are looked up.
#include "monitor/toolhelp_win32.h"

#include "shared/system_library_win32.h"


namespace vur::monitor {

// The record sizes the system expects of the ANSI entries; on 64-bit Windows their pointer-sized fields grow.
constexpr bool kWide = sizeof(void*) == 8;
static_assert(sizeof(PROCESSENTRY32) == (kWide ? 304 : 296), "process entry record size");
static_assert(sizeof(MODULEENTRY32) == (kWide ? 568 : 548), "module entry record size");

const ToolHelp& BoundToolHelp() {
    static const ToolHelp bound = [] {
        ToolHelp t;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (!kernel) return t;
        vur::BindEntryPoint(kernel, "CreateToolhelp32Snapshot", t.createSnapshot);
        // The plain names are the ANSI entry points.
        vur::BindEntryPoint(kernel, "Process32First", t.processFirst);
        vur::BindEntryPoint(kernel, "Process32Next", t.processNext);
        vur::BindEntryPoint(kernel, "Module32First", t.moduleFirst);
        vur::BindEntryPoint(kernel, "Module32Next", t.moduleNext);
        return t;
    }();
    return bound;
}

} // namespace vur::monitor
