"""Every program and library in dist imports only system DLLs, and nothing that Windows 9x or NT 4 lacks."""
import os
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comctl32.dll", "comdlg32.dll",
    "msvcrt.dll", "wsock32.dll", "ole32.dll", "oleaut32.dll", "version.dll", "winmm.dll",
}
# Calls that came with Windows 2000 or later and that the mingw runtime or careless code can pull in.
NEWER_CALLS = {
    "GetTickCount64", "GetFileSizeEx", "SetFilePointerEx", "GetLongPathNameA", "GetLongPathNameW",
    "InitializeCriticalSectionEx", "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
    "InitializeConditionVariable", "SleepConditionVariableCS", "WakeConditionVariable", "InitOnceExecuteOnce",
    "FlsAlloc", "FlsGetValue", "FlsSetValue", "GetModuleHandleExA", "GetModuleHandleExW", "AttachConsole",
    "AddVectoredExceptionHandler", "RtlCaptureContext", "GetNativeSystemInfo", "GlobalMemoryStatusEx",
    "GetSystemTimePreciseAsFileTime", "CreateSymbolicLinkA", "GetFinalPathNameByHandleA", "TryEnterCriticalSection",
    "GetProcessId", "GetThreadId", "SetDllDirectoryA", "LoadLibraryExW",
}


def imports(path):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], capture_output=True, text=True, check=True).stdout
    dlls, calls = set(), set()
    for line in out.splitlines():
        line = line.strip()
        if line.startswith("DLL Name:"):
            dlls.add(line.split(":", 1)[1].strip().lower())
        else:
            parts = line.split()
            if len(parts) == 3 and parts[0].isalnum() and parts[1].isdigit():
                calls.add(parts[2])
    return dlls, calls


def main(dist):
    problems, checked = [], 0
    for root, _, files in os.walk(dist):
        for name in files:
            if not name.lower().endswith((".exe", ".dll")):
                continue
            checked += 1
            path = os.path.join(root, name)
            dlls, calls = imports(path)
            own = {f.lower() for f in files}
            for dll in sorted(dlls - SYSTEM_DLLS - own):
                problems.append("%s imports %s" % (name, dll))
            for call in sorted(calls & NEWER_CALLS):
                problems.append("%s imports %s, which Windows 9x or NT 4 lacks" % (name, call))
    for p in problems:
        print("FAILED: " + p)
    print("checked %d binaries, %d problems" % (checked, len(problems)))
    return 1 if problems or not checked else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
