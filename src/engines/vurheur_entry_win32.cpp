// vurheur.dll, the heuristic engine: weighs a program file's dialer traits.
#include "engines/heuristic_verdict.h"

#include "shared/engine_api.h"

#include <windows.h>

#include <type_traits>

extern "C" __declspec(dllexport) void __stdcall CheckHeuristically(unsigned char* result, const char* fileName) {
    try {
        vur::SetEngineResult(result, fileName ? vur::engines::CheckFileHeuristically(fileName) : vur::kEngineClean);
    } catch (...) {
        vur::SetEngineResult(result, vur::kEngineClean); // nothing may escape into the caller
    }
}

// The caller's pointer type, calling convention included, on either architecture.
static_assert(std::is_same_v<decltype(&CheckHeuristically), vur::CheckHeuristicallyFn>, "engine entry point");
