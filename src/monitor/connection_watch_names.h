// Settings names the connection watch reads and writes; to be replaced by the shared schema in one place.
#pragma once

namespace vur::connwatch {

constexpr const char* kSectionConnections = "Verbindungen";
constexpr const char* kSectionGeneral = "Generell";
constexpr const char* kKeyNewNumber = "Neue Nummer";
constexpr int kNewNumberDefault = 1;

} // namespace vur::connwatch
