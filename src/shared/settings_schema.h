// Everything the suite keeps between runs, written once: sections, keys, defaults and value forms of
// "vur.conf", the Run-key value that starts the monitor with Windows, and the forms of the allow-list values.
#pragma once

#include "shared/ini_file.h"

#include <string>

namespace vur {
namespace schema {

constexpr char kSettingsFileName[] = "vur.conf";

// A "Generell" reaction or start mode: the index of the chosen line in the configurator's drop-down list.
struct IntegerSetting {
    const char* section;
    const char* key;
    int defaultValue;
};
struct BoolSetting {
    const char* section;
    const char* key;
    bool defaultValue;
};

constexpr char kGeneral[] = "Generell";
constexpr char kNumbers[] = "Verbindungen";
constexpr char kApplications[] = "Anwendungen";
constexpr char kScanner[] = "Scanner";

// Connection to a number not in "Verbindungen".
constexpr IntegerSetting kNewNumber{kGeneral, "Neue Nummer", 1};
enum NewNumberReaction { kNumberReportOnly = 0, kNumberReportAndHangUp = 1, kNumberHangUpAtOnce = 2, kNumberIgnore = 3 };

// New application that can dial and is not in "Anwendungen".
constexpr IntegerSetting kNewApplication{kGeneral, "Neue Anwendung", 0};
// Application whose program file a dialer signature matches.
constexpr IntegerSetting kInfectedApplication{kGeneral, "Infizierte Anwendung", 1};
// Application the heuristic check finds suspicious.
constexpr IntegerSetting kSuspiciousApplication{kGeneral, "Verdächtige Anwendung", 1};
// "Neue Anwendung" and "Verdächtige Anwendung" use 0..3; "Infizierte Anwendung" has the quarantine as 3.
enum ApplicationReaction {
    kAppReportOnly = 0,
    kAppReportAndTerminate = 1,
    kAppTerminateAtOnce = 2,
    kAppIgnore = 3, // "Neue Anwendung", "Verdächtige Anwendung"
};
enum InfectedReaction {
    kInfectedReportOnly = 0,
    kInfectedReportAndTerminate = 1,
    kInfectedTerminateAtOnce = 2,
    kInfectedQuarantineAtOnce = 3,
    kInfectedIgnore = 4,
};

// 0 starts the monitor with Windows, 1 leaves the start to the user.
constexpr IntegerSetting kAutoStart{kGeneral, "AutoStart", 0};
enum AutoStartMode { kStartWithWindows = 0, kStartByHand = 1 };

// Scanner options, read when its window opens and written back when it closes.
constexpr BoolSetting kReportOnly{kScanner, "Nur melden", false};
constexpr BoolSetting kIsolateFound{kScanner, "Löschen", false};
constexpr BoolSetting kHeuristic{kScanner, "Heuristik", false};

inline int Read(TCustomIniFile& ini, const IntegerSetting& s) { return ini.ReadInteger(s.section, s.key, s.defaultValue); }
inline void Write(TCustomIniFile& ini, const IntegerSetting& s, int v) { ini.WriteInteger(s.section, s.key, v); }
inline bool Read(TCustomIniFile& ini, const BoolSetting& s) { return ini.ReadBool(s.section, s.key, s.defaultValue); }
inline void Write(TCustomIniFile& ini, const BoolSetting& s, bool v) { ini.WriteBool(s.section, s.key, v); }

// The updater's server (the update list is its "/updates.dat") and the web page opened when the server
// cannot be reached; read with the updater's build defaults, so one installation can point at a mirror.
constexpr char kUpdate[] = "Update";
constexpr char kUpdateServerKey[] = "Server";
constexpr char kUpdatePageKey[] = "Seite";
// The serial of the last signed update list the updater accepted (decimal); an older list is refused.
constexpr char kUpdateSerialKey[] = "Serie";

// The Run value under HKEY_CURRENT_USER (opened, created when missing). The key is given from the root, so
// it has no leading backslash here.
constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValueName[] = "VUR starten";
// A double quote, the suite's folder with its trailing backslash, "fast.exe", a double quote.
std::string RunValueData(const std::string& suiteFolder);

// A name is read back as the text before the first bar of its value, so a name holding one would hand its
// rest to the next field (and, in the configurator, to the key). A number or checksum ends its value and may.
bool IsStorableName(const std::string& name);
// The name the monitor gives an entry it allows, made from the number or path: each bar as a broken bar.
std::string StorableName(const std::string& text);

// "Verbindungen": key is the number as the monitor composes it from the dial-up entry, value name|number.
std::string NumberKey(unsigned long countryCode, const std::string& areaCode, const std::string& localNumber);
// A name with a bar raises EIniFileError: the entry it would make reads back as another number.
std::string NumberValue(const std::string& name, const std::string& number);
struct NumberEntry {
    std::string name;
    std::string number;
};
NumberEntry SplitNumberValue(const std::string& value);
// A number is allowed when its entry reads as not empty.
bool IsNumberAllowed(TCustomIniFile& ini, const std::string& numberKey);

// "Anwendungen": key is the lower-cased long path, value name|path|crc (crc as 8 upper-case hex digits).
// A bar in the name or the path raises EIniFileError (no Windows file name holds one).
std::string ApplicationValue(const std::string& name, const std::string& path, const std::string& crcText);
struct ApplicationEntry {
    std::string name;
    std::string path;
    std::string crc;
};
// A value without a bar gives an empty name and path, and the whole value as the checksum.
ApplicationEntry SplitApplicationValue(const std::string& value);
// Allowed only while the entry holds "|" followed by the file's current checksum: a changed file is new.
bool IsApplicationAllowed(TCustomIniFile& ini, const std::string& path, const std::string& crcText);

} // namespace schema
} // namespace vur
