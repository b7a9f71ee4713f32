// Random seeds on Windows from the default CryptoAPI provider (advapi32, not on every Windows 95).
#include "random_seed.h"

#include <windows.h>

#include "shared/errors.h"
#include "shared/system_library_win32.h"

namespace vurconf {

namespace {

using AcquireFn = BOOL(WINAPI*)(ULONG_PTR*, LPCSTR, LPCSTR, DWORD, DWORD);
using GenRandomFn = BOOL(WINAPI*)(ULONG_PTR, DWORD, BYTE*);
using ReleaseFn = BOOL(WINAPI*)(ULONG_PTR, DWORD);

constexpr DWORD kProvRsaFull = 1;
constexpr DWORD kVerifyContext = 0xF0000000u;

} // namespace

vur::ed25519::Seed RandomSeed() {
    HMODULE advapi = vur::LoadSystemLibrary("advapi32.dll");
    AcquireFn acquire = nullptr;
    GenRandomFn generate = nullptr;
    ReleaseFn release = nullptr;
    if (!advapi || !vur::BindEntryPoint(advapi, "CryptAcquireContextA", acquire) ||
        !vur::BindEntryPoint(advapi, "CryptGenRandom", generate) ||
        !vur::BindEntryPoint(advapi, "CryptReleaseContext", release))
        throw vur::EVurError("this Windows has no CryptoAPI random source");
    ULONG_PTR provider = 0;
    if (!acquire(&provider, nullptr, nullptr, kProvRsaFull, kVerifyContext))
        throw vur::EVurError("cannot open the CryptoAPI random source");
    vur::ed25519::Seed seed;
    const bool generated = generate(provider, static_cast<DWORD>(seed.size()), seed.data()) != FALSE;
    release(provider, 0);
    if (!generated) throw vur::EVurError("the CryptoAPI random source failed");
    return seed;
}

} // namespace vurconf
