// TRasWorld: RAS answers as RASAPI32.DLL gives them, including its size checks and 603 for a short buffer.
#include "ras_world.h"

#include <cstring>

namespace vurras {

using namespace vur;
using namespace vur::monitor;

const TWorldConnection* TRasWorld::Find(TRasHandle handle) const {
    for (const auto& c : scenario_.connections)
        if (c.handle == handle) return &c;
    return nullptr;
}

bool TRasWorld::Dropped(const TWorldConnection& c, uint32_t now) const {
    const auto h = hangUps_.find(c.handle);
    if (h == hangUps_.end() || c.dropAfterMs < 0) return false;
    return static_cast<uint32_t>(now - h->second.at) >= static_cast<uint32_t>(c.dropAfterMs);
}

uint32_t TRasWorld::EnumConnections(uint8_t* records, uint32_t* size, uint32_t* count, uint32_t now) {
    if (!size || !count) return 87; // ERROR_INVALID_PARAMETER
    if (records && GetU32(records, rasconn::kSize) != sizes_.conn) return raserr::kInvalidSize;
    std::vector<const TWorldConnection*> live;
    for (const auto& c : scenario_.connections)
        if (!Dropped(c, now)) live.push_back(&c);
    const uint32_t needed = static_cast<uint32_t>(live.size()) * sizes_.conn;
    if (!records || *size < needed) {
        *size = needed;
        *count = static_cast<uint32_t>(live.size());
        return live.empty() && records ? 0 : raserr::kBufferTooSmall;
    }
    for (size_t i = 0; i < live.size(); ++i) {
        uint8_t* r = records + i * sizes_.conn;
        std::memset(r, 0, sizes_.conn);
        PutU32(r, rasconn::kSize, sizes_.conn);
        PutHandle(r, layout_, live[i]->handle);
        PutText(r, layout_.entryName, rasconn::kEntryNameLength, live[i]->entryName);
        PutText(r, layout_.deviceType, rasconn::kDeviceTypeLength, "modem");
        PutText(r, layout_.deviceName, rasconn::kDeviceNameLength, "Standardmodem");
        if (sizes_.conn > layout_.subEntry) PutU32(r, layout_.subEntry, live[i]->subEntry);
    }
    *count = static_cast<uint32_t>(live.size());
    *size = needed;
    return 0;
}

uint32_t TRasWorld::GetConnectStatus(TRasHandle handle, uint8_t* status, uint32_t now) {
    if (!status) return 87;
    if (GetU32(status, rasstatus::kSize) != sizes_.status) return raserr::kInvalidSize;
    const TWorldConnection* c = Find(handle);
    if (!c || Dropped(*c, now)) return raserr::kInvalidHandle;
    uint32_t state = rasstate::kConnected;
    const auto h = hangUps_.find(handle);
    if (h != hangUps_.end()) {
        const auto& states = c->hangUpStates;
        if (!states.empty())
            state = states[h->second.queries < states.size() ? h->second.queries : states.size() - 1];
        ++h->second.queries;
    }
    PutU32(status, rasstatus::kState, state);
    PutU32(status, rasstatus::kError, 0);
    PutText(status, rasstatus::kDeviceType, rasstatus::kDeviceTypeLength, "modem");
    PutText(status, rasstatus::kDeviceName, rasstatus::kDeviceNameLength, "Standardmodem");
    if (sizes_.status >= rasstatus::kNtSize) {
        std::string number;
        for (const auto& e : scenario_.entries)
            if (e.name == c->entryName && e.readable) number = e.areaCode + e.localNumber;
        PutText(status, rasstatus::kPhoneNumber, rasstatus::kPhoneNumberLength, number);
    }
    return 0;
}

uint32_t TRasWorld::HangUp(TRasHandle handle, uint32_t now) {
    log_.push_back("hangup " + std::to_string(handle));
    const TWorldConnection* c = Find(handle);
    if (!c || Dropped(*c, now)) return raserr::kInvalidHandle;
    hangUps_.emplace(handle, THangUp{now, 0});
    return 0;
}

uint32_t TRasWorld::GetEntryProperties(const char* entry, uint8_t* entryInfo, uint32_t* entrySize,
                                       uint8_t* deviceInfo, uint32_t* deviceSize) {
    if (!entrySize) return 87;
    const std::string name = entry ? entry : "";
    const TWorldEntry* found = nullptr;
    for (const auto& e : scenario_.entries)
        if (e.name == name) found = &e;
    log_.push_back("entry " + name);
    if (!found || !found->readable) return raserr::kCannotFindEntry;
    const uint32_t deviceNeeded = class_ == TSystemClass::Win9x ? 0 : 32;
    const uint32_t entryNeeded = sizes_.entry + found->extraBytes;
    if (!entryInfo || *entrySize < entryNeeded || (deviceSize && deviceInfo && *deviceSize < deviceNeeded)) {
        *entrySize = entryNeeded;
        if (deviceSize) *deviceSize = deviceNeeded;
        return raserr::kBufferTooSmall;
    }
    if (GetU32(entryInfo, rasentry::kSize) != sizes_.entry) return raserr::kInvalidSize;
    if (class_ == TSystemClass::Win9x && (!deviceInfo || !deviceSize || *deviceSize == 0)) return 87;
    PutU32(entryInfo, rasentry::kCountryCode, found->countryCode);
    PutText(entryInfo, rasentry::kAreaCode, rasentry::kAreaCodeLength, found->areaCode);
    PutText(entryInfo, rasentry::kLocalPhoneNumber, rasentry::kLocalPhoneNumberLength, found->localNumber);
    // Filled to the last byte, so that a caller's buffer shorter than it said shows as a memory fault.
    std::memset(entryInfo + sizes_.entry, 'A', found->extraBytes);
    return 0;
}

uint32_t TRasWorld::GetErrorString(uint32_t code, char* text, uint32_t size) const {
    const std::string message = "RAS-Fehler " + std::to_string(code);
    if (!text || size <= message.size()) return raserr::kBufferTooSmall;
    std::memcpy(text, message.c_str(), message.size() + 1);
    return 0;
}

} // namespace vurras
