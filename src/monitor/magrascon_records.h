// Layouts of the RAS records (RASCONN, RASENTRY, RASCONNSTATUS) per system class, shared by the RAS layer
// and the test stand-in so both read and write the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vur::monitor {

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

// ras.h packs its records to 4 bytes. On 64-bit Windows the connection handle is 8 bytes at offset 4, so every
// later RASCONN field lies 4 bytes further on; RASENTRY and RASCONNSTATUS hold no pointer and are the same.
// A 64-bit program runs only on 64-bit Windows; there the system class still names the record revision (and
// the class's RAS quirks), and the architecture gives that revision's 64-bit layout.
enum class TArchitecture { X86, X64 };

#if defined(_WIN64)
constexpr TArchitecture kBuildArchitecture = TArchitecture::X64;
#else
// The shipped suite is 32-bit: portable code that models RAS does so with its layout unless told otherwise.
constexpr TArchitecture kBuildArchitecture = TArchitecture::X86;
#endif

// RASCONN: the widest (XP) revision; older ones are prefixes of it.
struct TConnLayout {
    size_t handle;
    size_t handleSize;
    size_t entryName;
    size_t deviceType;
    size_t deviceName;
    size_t phonebook;
    size_t subEntry;
};

namespace rasconn {
constexpr size_t kSize = 0;
constexpr size_t kEntryNameLength = 257;
constexpr size_t kDeviceTypeLength = 17;
constexpr size_t kDeviceNameLength = 129;
constexpr TConnLayout kX86 = {4, 4, 8, 265, 282, 411, 672};
constexpr TConnLayout kX64 = {4, 8, 12, 269, 286, 415, 676};
constexpr size_t kWidest = 708; // the 64-bit XP record; the 32-bit one is 704
} // namespace rasconn

constexpr const TConnLayout& ConnLayout(TArchitecture a) {
    return a == TArchitecture::X64 ? rasconn::kX64 : rasconn::kX86;
}

constexpr TRecordSizes RecordSizes(TSystemClass c, TArchitecture a = kBuildArchitecture) {
    // Each later revision appends to the RASCONN record: 4 bytes more on 64-bit Windows, from the handle.
    const uint32_t wide = a == TArchitecture::X64 ? 4 : 0;
    switch (c) {
    case TSystemClass::Win9x:
        return {412 + wide, 1768, 160};
    case TSystemClass::NT4:
        return {676 + wide, 1796, 288};
    case TSystemClass::Win2000:
        return {692 + wide, 2088, 288};
    case TSystemClass::XP:
        break;
    }
    return {704 + wide, 2884, 288};
}

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

// The connection handle, 4 or 8 bytes as the layout says (little-endian, as on every Windows of the suite).
inline uint64_t GetHandle(const uint8_t* record, const TConnLayout& layout) {
    uint64_t v = 0;
    std::memcpy(&v, record + layout.handle, layout.handleSize);
    return v;
}

inline void PutHandle(uint8_t* record, const TConnLayout& layout, uint64_t v) {
    std::memcpy(record + layout.handle, &v, layout.handleSize);
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

} // namespace vur::monitor
