// FakeRas: static functions forward to the one current fake; the RAS exports to its world.
#include "fake_ras.h"

#include <algorithm>

namespace vurtest {

using namespace vur;
using namespace vur::monitor;

FakeRas* FakeRas::current = nullptr;

namespace {

const char* const kRasApi = "RASAPI32.DLL";

void Version(uint32_t& platformId, uint32_t& major, uint32_t& minor) {
    platformId = FakeRas::current->platformId;
    major = FakeRas::current->major;
    minor = FakeRas::current->minor;
}

uint32_t Tick() {
    return FakeRas::current->now;
}

void Pause(uint32_t ms) {
    FakeRas::current->now += ms;
    ++FakeRas::current->sleeps;
}

void Post(TWindowHandle window, uint32_t message, uint32_t wParam, int32_t) {
    FakeRas::current->posted.push_back({window, message, wParam});
}

// Module handles are the library names' entries in the fake's set, which outlive the test's binding.
TModuleHandle Load(const char* name) {
    FakeRas& f = *FakeRas::current;
    f.loaded.push_back(name);
    const auto it = f.libraries.find(name);
    return it == f.libraries.end() ? nullptr : const_cast<std::string*>(&*it);
}

void Free(TModuleHandle module) {
    FakeRas::current->freed.push_back(*static_cast<std::string*>(module));
}

uint32_t VUR_RASAPI Enum(void* records, uint32_t* size, uint32_t* count) {
    ++FakeRas::current->enumCalls;
    return FakeRas::current->world.EnumConnections(static_cast<uint8_t*>(records), size, count,
                                                   FakeRas::current->now);
}

uint32_t VUR_RASAPI Status(TRasCallHandle handle, void* status) {
    if (FakeRas::current->onStatusQuery) FakeRas::current->onStatusQuery();
    return FakeRas::current->world.GetConnectStatus(handle, static_cast<uint8_t*>(status),
                                                    FakeRas::current->now);
}

uint32_t VUR_RASAPI ErrorString(uint32_t code, char* text, uint32_t size) {
    return FakeRas::current->world.GetErrorString(code, text, size);
}

uint32_t VUR_RASAPI HangUp(TRasCallHandle handle) {
    return FakeRas::current->world.HangUp(handle, FakeRas::current->now);
}

uint32_t VUR_RASAPI EntryProperties(const char*, const char* entry, void* info, uint32_t* size, void* device,
                                    uint32_t* deviceSize) {
    return FakeRas::current->world.GetEntryProperties(entry, static_cast<uint8_t*>(info), size,
                                                      static_cast<uint8_t*>(device), deviceSize);
}

int Dummy() {
    return 0;
}

void* Symbol(TModuleHandle module, const char* name) {
    FakeRas& f = *FakeRas::current;
    const std::string library = *static_cast<std::string*>(module);
    if (f.missingExports.count(name)) return nullptr;
    const std::string n = name;
    if (library == kRasApi) {
        if (n == "RasDialA" || n == "RasGetCountryInfoA") return reinterpret_cast<void*>(&Dummy);
        if (n == "RasEnumConnectionsA") return reinterpret_cast<void*>(&Enum);
        if (n == "RasGetConnectStatusA") return reinterpret_cast<void*>(&Status);
        if (n == "RasGetErrorStringA") return reinterpret_cast<void*>(&ErrorString);
        if (n == "RasHangUpA") return reinterpret_cast<void*>(&HangUp);
    }
    if (n == "RasGetEntryPropertiesA") return reinterpret_cast<void*>(&EntryProperties);
    return nullptr;
}

const TRasSystem kTable = {Version, Tick, Pause, Post, Load, Symbol, Free};

void VersionOf(TSystemClass c, uint32_t& platformId, uint32_t& major, uint32_t& minor) {
    switch (c) {
    case TSystemClass::Win9x:
        platformId = 1, major = 4, minor = 10;
        return;
    case TSystemClass::NT4:
        platformId = 2, major = 4, minor = 0;
        return;
    case TSystemClass::Win2000:
        platformId = 2, major = 5, minor = 0;
        return;
    case TSystemClass::XP:
        platformId = 2, major = 5, minor = 1;
        return;
    }
}

} // namespace

FakeRas::FakeRas(TSystemClass systemClass, TArchitecture architecture) : world(systemClass, architecture) {
    VersionOf(systemClass, platformId, major, minor);
    current = this;
}

FakeRas::~FakeRas() {
    current = nullptr;
}

const TRasSystem& FakeRas::Table() {
    return kTable;
}

void FakeRas::Connect(TRasHandle handle, const std::string& entry, uint32_t subEntry, int dropAfterMs) {
    vurras::TScenario s = world.Scenario();
    vurras::TWorldConnection c;
    c.handle = handle;
    c.entryName = entry;
    c.subEntry = subEntry;
    c.dropAfterMs = dropAfterMs;
    s.connections.push_back(c);
    world.SetScenario(s);
}

void FakeRas::Entry(const std::string& name, uint32_t country, const std::string& area,
                    const std::string& local, uint32_t extraBytes) {
    vurras::TScenario s = world.Scenario();
    s.entries.push_back({name, true, country, area, local, extraBytes});
    world.SetScenario(s);
}

int FakeRas::HangUps(TRasHandle handle) const {
    const auto& log = world.Log();
    return static_cast<int>(std::count(log.begin(), log.end(), "hangup " + std::to_string(handle)));
}

} // namespace vurtest
