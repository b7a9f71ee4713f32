// The engines' entry points, imported from vurscan.dll and vurheur.dll when scanner.exe is loaded: without
// either library the system does not start the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "shared/engine_api.h"

extern "C" {
__declspec(dllimport) int VUR_ENGINE_CALL InitDialersDatabase(const char* fileName);
__declspec(dllimport) void VUR_ENGINE_CALL ScanDialers(unsigned char* result, const char* fileName);
__declspec(dllimport) void VUR_ENGINE_CALL CheckHeuristically(unsigned char* result, const char* fileName);
}

namespace vur::scanner {

// ScanDialers with the engine's read error (engine_api.h), taken before any other call can change it.
inline std::string ScanDialersChecked(const std::string& path, std::uint32_t& readError) {
    unsigned char buffer[kEngineResultBytes] = {};
    ::ScanDialers(buffer, path.c_str());
    readError = GetLastError();
    return EngineResultText(buffer);
}

} // namespace vur::scanner
