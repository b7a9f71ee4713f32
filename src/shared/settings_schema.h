// What the suite keeps between runs: the sections, keys and defaults of "vur.conf", and the Run value.
#pragma once

#include <string>

namespace vur::schema {

// Section "Generell": reactions and start mode, each the index of the line chosen in the configurator.
const char* const kGenerell = "Generell";
const char* const kNeueNummer = "Neue Nummer";
const char* const kNeueAnwendung = "Neue Anwendung";
const char* const kInfizierteAnwendung = "Infizierte Anwendung";
const char* const kVerdaechtigeAnwendung = "Verdächtige Anwendung";
const char* const kAutoStart = "AutoStart";
constexpr int kNeueNummerDefault = 1;
constexpr int kNeueAnwendungDefault = 0;
constexpr int kInfizierteAnwendungDefault = 1;
constexpr int kVerdaechtigeAnwendungDefault = 1;
constexpr int kAutoStartDefault = 0; // 0 start with Windows, 1 start by hand

// Allowed numbers ("49 190 123456" = "name|number") and allowed applications ("path" = "name|path|crc").
const char* const kVerbindungen = "Verbindungen";
const char* const kAnwendungen = "Anwendungen";

// Section "Scanner": the scanner's three options, booleans stored as "1"/"0", all off by default.
const char* const kScanner = "Scanner";
const char* const kNurMelden = "Nur melden";
const char* const kLoeschen = "Löschen";
const char* const kHeuristik = "Heuristik";

const char* const kSettingsFileName = "vur.conf";

// The start with Windows: a value under the current user's Run key.
const char* const kRunKeyPath = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValueName = "VUR starten";
const char* const kStarterFileName = "fast.exe";

// The quoted full path of the starter in the program folder (which ends with a backslash).
inline std::string RunValueData(const std::string& programFolder) {
    return "\"" + programFolder + kStarterFileName + "\"";
}

} // namespace vur::schema
