// The calls into the dialer recognition engines vurscan.dll and vurheur.dll, and their result form.
#pragma once

#include <string>

#ifdef _WIN32
#define VUR_ENGINE_CALL __stdcall
#else
#define VUR_ENGINE_CALL
#endif

namespace vur {

// Result buffers are 256 bytes owned by the caller: a length byte (0 to 255), then the characters.
constexpr int kEngineResultBytes = 256;

using InitDialersDatabaseFn = int(VUR_ENGINE_CALL*)(const char* fileName);
using ScanDialersFn = void(VUR_ENGINE_CALL*)(unsigned char* result, const char* fileName);
using CheckHeuristicallyFn = void(VUR_ENGINE_CALL*)(unsigned char* result, const char* fileName);

// "OK" means clean; anything else names the dialer or gives the analysis. ScanDialers of vurscan.dll also
// leaves the thread's last error (GetLastError) at 0 when it read the file, or at the system's error code of
// the open or read that failed (ERROR_BAD_DEVICE for a device name, which it never opens), so that a caller
// can tell an unreadable file from a clean one without opening it a second time.
const char* const kEngineClean = "OK";

std::string EngineResultText(const unsigned char* result);
void SetEngineResult(unsigned char* result, const std::string& text);

// Calls a scan entry point with a fresh buffer and returns its text.
template <typename Fn>
std::string CallEngine(Fn entry, const std::string& path) {
    unsigned char buffer[kEngineResultBytes] = {};
    entry(buffer, path.c_str());
    return EngineResultText(buffer);
}

} // namespace vur
