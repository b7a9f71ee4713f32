// The engines' entry points, imported from vurscan.dll and vurheur.dll when scanner.exe is loaded: without
// either library the system does not start the program.
#pragma once

#include "shared/engine_api.h"

extern "C" {
__declspec(dllimport) int VUR_ENGINE_CALL InitDialersDatabase(const char* fileName);
__declspec(dllimport) void VUR_ENGINE_CALL ScanDialers(unsigned char* result, const char* fileName);
__declspec(dllimport) void VUR_ENGINE_CALL CheckHeuristically(unsigned char* result, const char* fileName);
}
