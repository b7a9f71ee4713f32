// Stand-in signature engine vurscan.dll: loads "name|pattern" signature files and names the first match.
#include "pattern_search.h"

#include "shared/engine_api.h"
#include "shared/file_reader.h"

#include <windows.h>

#include <type_traits>
#include <vector>

namespace {

std::vector<standin::Signature>& Database() {
    static std::vector<standin::Signature> signatures;
    return signatures;
}

std::string ReadWhole(const char* path) {
    std::string content;
    vur::SharedFileReader file;
    if (!file.Open(path)) return content;
    char buffer[4096];
    long got;
    while ((got = file.Read(buffer, sizeof buffer)) > 0) content.append(buffer, static_cast<std::size_t>(got));
    return content;
}

} // namespace

extern "C" __declspec(dllexport) int __stdcall InitDialersDatabase(const char* fileName) {
    try {
        const auto loaded = standin::ParseSignatureFile(ReadWhole(fileName));
        Database().insert(Database().end(), loaded.begin(), loaded.end());
        return static_cast<int>(loaded.size());
    } catch (...) {
        return 0; // nothing may escape into the caller
    }
}

extern "C" __declspec(dllexport) void __stdcall ScanDialers(unsigned char* result, const char* fileName) {
    try {
        const int match = standin::FindFirstMatch(fileName, Database());
        vur::SetEngineResult(result, match < 0 ? vur::kEngineClean : Database()[static_cast<std::size_t>(match)].name);
    } catch (...) {
        vur::SetEngineResult(result, vur::kEngineClean);
    }
}

// The caller's pointer types, calling convention included, on either architecture.
static_assert(std::is_same_v<decltype(&InitDialersDatabase), vur::InitDialersDatabaseFn>, "engine entry point");
static_assert(std::is_same_v<decltype(&ScanDialers), vur::ScanDialersFn>, "engine entry point");
