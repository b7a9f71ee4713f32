// What every program of the heuristics test corpus shares: it only pretends. Its dialing functions and texts
// sit in a volatile table that it reads, so that compiler and linker keep them, and then it waits to be
// examined; it never calls them.
#pragma once

#include <windows.h>

#define VUR_CORPUS_ITEM(p) reinterpret_cast<const volatile void*>(p)

inline int CorpusWait(const volatile void* volatile const* kept, int count) {
    for (int i = 0; i < count; ++i)
        if (kept[i] == nullptr) return 1;
    Sleep(60000);
    return 0;
}

#define VUR_CORPUS_MAIN(...)                                                                   \
    const volatile void* volatile const kKept[] = {__VA_ARGS__};                               \
    int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {                                     \
        return CorpusWait(kKept, static_cast<int>(sizeof kKept / sizeof kKept[0]));            \
    }
