// Holds the shared record offsets against the system's own RAS headers, for the architecture being built, so
// stand-in and layer cannot agree on a wrong layout.
#include "monitor/magrascon_records.h"

#include <ras.h>
#include <windows.h>

#include <cstddef>

using namespace vur;
using namespace vur::monitor;

namespace {

constexpr const TConnLayout& kConn = ConnLayout(kBuildArchitecture);
constexpr uint32_t kAlign = alignof(RASCONNA);
constexpr uint32_t Padded(size_t end) { return static_cast<uint32_t>((end + kAlign - 1) / kAlign * kAlign); }

static_assert(sizeof(void*) == (kBuildArchitecture == TArchitecture::X64 ? 8 : 4), "build architecture");
static_assert(sizeof(RASCONNA) == RecordSizes(TSystemClass::XP).conn, "XP RASCONN");
static_assert(sizeof(RASCONNA) <= rasconn::kWidest, "widest RASCONN");
static_assert(offsetof(RASCONNA, hrasconn) == kConn.handle && sizeof(HRASCONN) == kConn.handleSize,
              "RASCONN handle");
static_assert(offsetof(RASCONNA, szEntryName) == kConn.entryName, "RASCONN entry name");
static_assert(offsetof(RASCONNA, szDeviceType) == kConn.deviceType, "RASCONN device type");
static_assert(offsetof(RASCONNA, szDeviceName) == kConn.deviceName, "RASCONN device name");
static_assert(offsetof(RASCONNA, szPhonebook) == kConn.phonebook, "RASCONN phonebook");
static_assert(offsetof(RASCONNA, dwSubEntry) == kConn.subEntry, "RASCONN sub-entry");
// Each older revision ends where the next one's first field begins, padded as the header packs.
static_assert(Padded(offsetof(RASCONNA, szPhonebook)) == RecordSizes(TSystemClass::Win9x).conn,
              "Windows 9x RASCONN ends before the phonebook");
static_assert(Padded(offsetof(RASCONNA, guidEntry)) == RecordSizes(TSystemClass::NT4).conn,
              "NT 4 RASCONN ends before the GUID");
static_assert(Padded(offsetof(RASCONNA, dwFlags)) == RecordSizes(TSystemClass::Win2000).conn,
              "Windows 2000 RASCONN ends before the flags");
static_assert(sizeof(RASCONNSTATUSA) == rasstatus::kNtSize, "NT RASCONNSTATUS");
static_assert(offsetof(RASCONNSTATUSA, rasconnstate) == rasstatus::kState, "status state");
static_assert(offsetof(RASCONNSTATUSA, dwError) == rasstatus::kError, "status error");
static_assert(offsetof(RASCONNSTATUSA, szDeviceType) == rasstatus::kDeviceType, "status device type");
static_assert(offsetof(RASCONNSTATUSA, szDeviceName) == rasstatus::kDeviceName, "status device name");
static_assert(offsetof(RASCONNSTATUSA, szPhoneNumber) == rasstatus::kPhoneNumber, "status phone number");
static_assert(sizeof(RASENTRYA) == RecordSizes(TSystemClass::XP).entry, "XP RASENTRY");
static_assert(offsetof(RASENTRYA, dwCountryCode) == rasentry::kCountryCode, "entry country code");
static_assert(offsetof(RASENTRYA, szAreaCode) == rasentry::kAreaCode, "entry area code");
static_assert(offsetof(RASENTRYA, szLocalPhoneNumber) == rasentry::kLocalPhoneNumber, "entry local number");
static_assert(sizeof(((RASENTRYA*)nullptr)->szAreaCode) == rasentry::kAreaCodeLength, "area code length");
static_assert(sizeof(((RASENTRYA*)nullptr)->szLocalPhoneNumber) == rasentry::kLocalPhoneNumberLength,
              "local length");
static_assert(sizeof(RASCONNSTATE) == 4 && RASCS_Connected == rasstate::kConnected &&
                  RASCS_Disconnected == rasstate::kDisconnected,
              "states");

} // namespace
