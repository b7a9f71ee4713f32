// Stand-in heuristic engine vurheur.dll: a file carrying the heuristic test marker counts as suspicious.
#include "pattern_search.h"

#include "shared/engine_api.h"

#include <windows.h>

#include <type_traits>

extern "C" __declspec(dllexport) void __stdcall CheckHeuristically(unsigned char* result, const char* fileName) {
    // Put together at run time, so that this library's own file does not carry the marker.
    static const std::string marker = std::string("VUR-TEST") + "HEURISTIK-0190";
    static const std::vector<standin::Signature> rules = {
        {"Verdächtiges Testmuster " + marker + " gefunden", marker},
    };
    try {
        const int match = standin::FindFirstMatch(fileName, rules);
        vur::SetEngineResult(result, match < 0 ? vur::kEngineClean : rules[static_cast<std::size_t>(match)].name);
    } catch (...) {
        vur::SetEngineResult(result, vur::kEngineClean);
    }
}

// The caller's pointer type, calling convention included, on either architecture.
static_assert(std::is_same_v<decltype(&CheckHeuristically), vur::CheckHeuristicallyFn>, "engine entry point");
