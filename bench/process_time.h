// The processor time this process has used so far, as Windows counts it (kernel and user), for benchmarks.
#pragma once

#include <windows.h>

inline unsigned long long ProcessorMicroseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10;
}
