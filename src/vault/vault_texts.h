// The quarantine manager's texts, as the user reads them.
#pragma once

namespace vur::vault::texts {

constexpr const char* kApplicationTitle = "VUR 3.5 Quarantäne";
constexpr const char* kHeadingTitle = "Quarantäne";
constexpr const char* kHeadingText =
    "Hier findest Du alle Dateien, die VUR isoliert hat, und kannst sie wiederherstellen.";
constexpr const char* kHelp = "Ich brauche Hilfe!";
constexpr const char* kHelpPage = "hilfe\\vault.htm";

constexpr const char* kColumns[] = {"Datei", "Herkunft", "Grund", "Isoliert am", "Größe"};
constexpr const char* kRestore = "Wiederherstellen";
constexpr const char* kDelete = "Endgültig löschen";

// Rows that are not a complete pair.
constexpr const char* kUnknownFolder = "unbekannt";
constexpr const char* kDataMissing = "Datei fehlt";
constexpr const char* kDescriptionMissing = "Beschreibung fehlt";
constexpr const char* kDescriptionUnreadable = "Beschreibung unlesbar";

// The total below the list.
constexpr const char* kEmpty = "Die Quarantäne ist leer.";
constexpr const char* kFolderMissing = "Der Quarantäne-Ordner fehlt im Programmordner. Installiere VUR neu.";
constexpr const char* kOneFile = "1 Datei in Quarantäne, zusammen ";
constexpr const char* kFilesPrefix = " Dateien in Quarantäne, zusammen ";

} // namespace vur::vault::texts
