// Holds the shared record offsets against the system's own RAS headers, so stand-in and layer cannot agree
// on a wrong layout.
#include "monitor/magrascon_records.h"

#include <ras.h>
#include <windows.h>

#include <cstddef>

using namespace vur;

static_assert(sizeof(RASCONNA) == rasconn::kWidest, "XP RASCONN");
static_assert(offsetof(RASCONNA, hrasconn) == rasconn::kHandle, "RASCONN handle");
static_assert(offsetof(RASCONNA, szEntryName) == rasconn::kEntryName, "RASCONN entry name");
static_assert(offsetof(RASCONNA, szDeviceType) == rasconn::kDeviceType, "RASCONN device type");
static_assert(offsetof(RASCONNA, szDeviceName) == rasconn::kDeviceName, "RASCONN device name");
static_assert(offsetof(RASCONNA, dwSubEntry) == rasconn::kSubEntry, "RASCONN sub-entry");
static_assert(offsetof(RASCONNA, szPhonebook) == 411,
              "RASCONN ends its Windows 9x part before the phonebook");
static_assert(offsetof(RASCONNA, guidEntry) == 676 && offsetof(RASCONNA, dwFlags) == 692,
              "NT 4 and 2000 parts");
static_assert(sizeof(RASCONNSTATUSA) == rasstatus::kNtSize, "NT RASCONNSTATUS");
static_assert(offsetof(RASCONNSTATUSA, rasconnstate) == rasstatus::kState, "status state");
static_assert(offsetof(RASCONNSTATUSA, dwError) == rasstatus::kError, "status error");
static_assert(offsetof(RASCONNSTATUSA, szDeviceType) == rasstatus::kDeviceType, "status device type");
static_assert(offsetof(RASCONNSTATUSA, szDeviceName) == rasstatus::kDeviceName, "status device name");
static_assert(offsetof(RASCONNSTATUSA, szPhoneNumber) == rasstatus::kPhoneNumber, "status phone number");
static_assert(offsetof(RASENTRYA, dwCountryCode) == rasentry::kCountryCode, "entry country code");
static_assert(offsetof(RASENTRYA, szAreaCode) == rasentry::kAreaCode, "entry area code");
static_assert(offsetof(RASENTRYA, szLocalPhoneNumber) == rasentry::kLocalPhoneNumber, "entry local number");
static_assert(sizeof(((RASENTRYA*)nullptr)->szAreaCode) == rasentry::kAreaCodeLength, "area code length");
static_assert(sizeof(((RASENTRYA*)nullptr)->szLocalPhoneNumber) == rasentry::kLocalPhoneNumberLength,
              "local length");
static_assert(sizeof(RASCONNSTATE) == 4 && RASCS_Connected == rasstate::kConnected &&
                  RASCS_Disconnected == rasstate::kDisconnected,
              "states");
