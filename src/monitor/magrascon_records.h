// Layouts of the RAS records (RASCONN, RASENTRY, RASCONNSTATUS) per system class, shared by the RAS layer
// and the test stand-in so both read and write the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vur {

// The record sizes RAS accepts differ per Windows release; the size field must match the running one.
enum class TSystemClass { Win9x, NT4, Win2000, XP };

struct TRecordSizes {
    uint32_t conn;
    uint32_t entry;
    uint32_t status;
};

constexpr uint32_t kPlatformNT = 2; // VER_PLATFORM_WIN32_NT

// Applied literally: minor 0 on 5 or later is Windows 2000, any minor above 0 on 5 or later is XP.
inline TSystemClass ClassifySystem(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId != kPlatformNT) return TSystemClass::Win9x;
    if (major < 5) return TSystemClass::NT4;
    return minor == 0 ? TSystemClass::Win2000 : TSystemClass::XP;
}

inline TRecordSizes RecordSizes(TSystemClass c) {
    switch (c) {
    case TSystemClass::Win9x:
        return {412, 1768, 160};
    case TSystemClass::NT4:
        return {676, 1796, 288};
    case TSystemClass::Win2000:
        return {692, 2088, 288};
    case TSystemClass::XP:
        break;
    }
    return {704, 2884, 288};
}

// RASCONN: the widest (XP) layout; older ones are prefixes of it.
namespace rasconn {
constexpr size_t kWidest = 704;
constexpr size_t kSize = 0;
constexpr size_t kHandle = 4;
constexpr size_t kEntryName = 8;
constexpr size_t kEntryNameLength = 257;
constexpr size_t kDeviceType = 265;
constexpr size_t kDeviceTypeLength = 17;
constexpr size_t kDeviceName = 282;
constexpr size_t kDeviceNameLength = 129;
constexpr size_t kSubEntry = 672;
} // namespace rasconn

// RASENTRY: only the leading fields the layer reads.
namespace rasentry {
constexpr size_t kSize = 0;
constexpr size_t kCountryCode = 12;
constexpr size_t kAreaCode = 16;
constexpr size_t kAreaCodeLength = 11;
constexpr size_t kLocalPhoneNumber = 27;
constexpr size_t kLocalPhoneNumberLength = 129;
} // namespace rasentry

// RASCONNSTATUS: the phone number exists only in the NT family's 288-byte record.
namespace rasstatus {
constexpr size_t kSize = 0;
constexpr size_t kState = 4;
constexpr size_t kError = 8;
constexpr size_t kDeviceType = 12;
constexpr size_t kDeviceTypeLength = 17;
constexpr size_t kDeviceName = 29;
constexpr size_t kDeviceNameLength = 129;
constexpr size_t kPhoneNumber = 158;
constexpr size_t kPhoneNumberLength = 129;
constexpr size_t kNtSize = 288;
} // namespace rasstatus

namespace rasstate {
constexpr uint32_t kConnected = 8192;
constexpr uint32_t kDisconnected = 8193;
} // namespace rasstate

inline uint32_t GetU32(const uint8_t* record, size_t offset) {
    uint32_t v;
    std::memcpy(&v, record + offset, 4);
    return v;
}

inline void PutU32(uint8_t* record, size_t offset, uint32_t v) {
    std::memcpy(record + offset, &v, 4);
}

// A fixed text field: up to its first NUL, never beyond the field.
inline std::string GetText(const uint8_t* record, size_t offset, size_t length) {
    const char* p = reinterpret_cast<const char*>(record + offset);
    size_t n = 0;
    while (n < length && p[n] != '\0')
        ++n;
    return std::string(p, n);
}

// Writes the text cut to the field with its NUL.
inline void PutText(uint8_t* record, size_t offset, size_t length, const std::string& text) {
    const size_t n = text.size() < length ? text.size() : length - 1;
    std::memcpy(record + offset, text.data(), n);
    record[offset + n] = 0;
}

} // namespace vur
