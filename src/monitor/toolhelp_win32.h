// ToolHelp32, bound at run time from kernel32: Windows 9x, 2000 and XP have it, NT 4 does not (Windows
// builds only).
#pragma once

#include <windows.h>

#include <tlhelp32.h>

namespace vur::monitor {

struct ToolHelp {
    HANDLE(WINAPI* createSnapshot)(DWORD flags, DWORD processId) = nullptr;
    BOOL(WINAPI* processFirst)(HANDLE snapshot, PROCESSENTRY32* entry) = nullptr;
    BOOL(WINAPI* processNext)(HANDLE snapshot, PROCESSENTRY32* entry) = nullptr;
    BOOL(WINAPI* moduleFirst)(HANDLE snapshot, MODULEENTRY32* entry) = nullptr;
    BOOL(WINAPI* moduleNext)(HANDLE snapshot, MODULEENTRY32* entry) = nullptr;

    bool Available() const {
        return createSnapshot && processFirst && processNext && moduleFirst && moduleNext;
    }
};

// Bound once per process.
const ToolHelp& BoundToolHelp();

} // namespace vur::monitor
