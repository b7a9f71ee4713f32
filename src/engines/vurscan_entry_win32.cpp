// vurscan.dll, the signature engine: the signature files' patterns and hashes, one scan per file.
#include "engines/signature_database.h"

#include "shared/engine_api.h"
#include "shared/file_reader.h"

#include <windows.h>

#include <type_traits>

namespace {

vur::engines::SignatureDatabase& Database() {
    static vur::engines::SignatureDatabase database;
    return database;
}

} // namespace

extern "C" __declspec(dllexport) int __stdcall InitDialersDatabase(const char* fileName) {
    try {
        std::string content;
        if (!fileName || !vur::ReadWholeFile(fileName, content)) return 0;
        return static_cast<int>(Database().Add(vur::engines::ParseSignatureFile(content)));
    } catch (...) {
        return 0; // nothing may escape into the caller
    }
}

// The thread's last error tells the caller whether "OK" means read and clean: 0, or why the file could not
// be read (see engine_api.h). Set last, so that nothing after it can change it.
extern "C" __declspec(dllexport) void __stdcall ScanDialers(unsigned char* result, const char* fileName) {
    DWORD readError = NO_ERROR;
    try {
        std::uint32_t error = 0;
        const std::string name = fileName ? Database().Scan(fileName, &error) : std::string();
        readError = error;
        vur::SetEngineResult(result, name.empty() ? vur::kEngineClean : name);
    } catch (...) {
        readError = ERROR_NOT_ENOUGH_MEMORY; // the only thing the scan raises
        vur::SetEngineResult(result, vur::kEngineClean);
    }
    SetLastError(readError);
}

// The caller's pointer types, calling convention included, on either architecture.
static_assert(std::is_same_v<decltype(&InitDialersDatabase), vur::InitDialersDatabaseFn>, "engine entry point");
static_assert(std::is_same_v<decltype(&ScanDialers), vur::ScanDialersFn>, "engine entry point");
