// dialer_latency: starts the test dialer RUNS times at random phases of the monitor's tick and measures, on the
// Windows side, the time from CreateProcess to the signal of the process handle (its end by the monitor).
// With "--exit" it is the program that ends at once, for the cost of a process's start and end alone.
// Usage: dialer_latency DIALER RUNS   prints one line "ms ..." of the times, then "baseline ms"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from CreateProcess to the end of the process, or a negative value when it did not end.
double StartAndWait(const char* program, const char* commandLine) {
    char command[MAX_PATH * 2];
    std::snprintf(command, sizeof command, "%s", commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double start = Now();
    if (!CreateProcessA(program, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
    const bool ended = WaitForSingleObject(info.hProcess, 10000) == WAIT_OBJECT_0;
    const double elapsed = Now() - start;
    if (!ended) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ended ? elapsed : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--exit") == 0) return 0;
    if (argc != 3) {
        std::fprintf(stderr, "usage: dialer_latency DIALER RUNS\n");
        return 2;
    }
    const int runs = std::atoi(argv[2]);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char selfCommand[MAX_PATH + 16];
    std::snprintf(selfCommand, sizeof selfCommand, "\"%s\" --exit", self);
    char dialerCommand[MAX_PATH + 4];
    std::snprintf(dialerCommand, sizeof dialerCommand, "\"%s\"", argv[1]);
    std::srand(GetTickCount());

    std::printf("ms");
    for (int run = 0; run < runs; ++run) {
        // A random phase of the 500 ms tick, and time for the monitor to settle after the last dialer.
        Sleep(300 + static_cast<DWORD>(std::rand() % 500));
        std::printf(" %.1f", StartAndWait(argv[1], dialerCommand));
        std::fflush(stdout);
    }
    std::printf("\nbaseline");
    for (int run = 0; run < 5; ++run) std::printf(" %.1f", StartAndWait(self, selfCommand));
    std::printf("\n");
    return 0;
}
