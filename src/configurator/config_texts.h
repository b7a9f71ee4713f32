// The configurator's texts: titles, pages, the five reaction lists with their lines, columns and dialogs.
#pragma once

namespace vur::configurator::texts {

constexpr const char* kApplicationTitle = "VUR 3.5 Konfigurator";
constexpr const char* kCaption = "VUR 3.5 Regelkonfigurator";
constexpr const char* kHeadingTitle = "VUR 3.5 einstellen";
constexpr const char* kHeadingText = "In diesem Menü kannst Du alle Einstellungen und Freigaben bearbeiten.";
constexpr const char* kHelp = "Ich brauche Hilfe!";
constexpr const char* kHelpPage = "hilfe\\config.htm";

constexpr const char* kGeneralPage = "Allgemeine Eintellungen";
constexpr const char* kNumbersPage = "Erlaubte Verbindungen";
constexpr const char* kApplicationsPage = "Erlaubte Anwendungen";

// One frame of the first page: its caption and the lines of its drop-down list, index 0 first.
struct ReactionFrame {
    const char* caption;
    const char* lines[5];
    int lineCount;
};

constexpr const char* kReportOnly = "... gemeldet, aber nicht beendet werden.";
constexpr const char* kReportAndEnd = "... gemeldet, aber vorerst einmal beendet werden.";
constexpr const char* kReportAndEndRecommended = "... gemeldet, aber vorerst einmal beendet werden. (empfohlen)";
constexpr const char* kEndAtOnce = "... sofort beendet werden.";
constexpr const char* kDoNotReport = "... nicht gemeldet werden.";

// Top to bottom: ComboBox5, ComboBox2, ComboBox1, ComboBox3, ComboBox4.
constexpr ReactionFrame kAutoStartFrame{
    "VUR soll ...",
    {"... automatisch beim Start von Windows aktiviert werden. (empfohlen)", "... manuell per Hand aktiviert werden."},
    2};
constexpr ReactionFrame kNewNumberFrame{"Verbindungen zu nicht erlaubten Telefonnummern sollen ...",
                                        {kReportOnly, kReportAndEndRecommended, kEndAtOnce, kDoNotReport},
                                        4};
constexpr ReactionFrame kNewApplicationFrame{"Nicht erlaubte Anwendungen sollen ...",
                                             {"... gemeldet, aber nicht beendet werden. (empfohlen)", kReportAndEnd,
                                              kEndAtOnce, kDoNotReport},
                                             4};
constexpr ReactionFrame kInfectedFrame{"Eindeutig erkannte Dialer sollen ...",
                                       {kReportOnly, kReportAndEndRecommended, kEndAtOnce,
                                        "... sofort in Quarantäne genommen werden.", kDoNotReport},
                                       5};
constexpr ReactionFrame kSuspiciousFrame{"Verdächtige Anwendungen sollen ...",
                                         {kReportOnly, kReportAndEndRecommended, kEndAtOnce, kDoNotReport},
                                         4};

constexpr const char* kNameColumn = "Name";
constexpr const char* kNumberColumn = "Telefonnummer";
constexpr const char* kPathColumn = "Anwendung";
constexpr const char* kCrcColumn = "CRC32";
constexpr const char* kAdd = "Hinzufügen";
constexpr const char* kRemove = "Entfernen";

constexpr const char* kAddNumberCaption = "Erlaubte Nummer hinzufügen ...";
constexpr const char* kAddApplicationCaption = "Erlaubte Anwendung hinzufügen ...";
constexpr const char* kNameLabel = "Name:";
constexpr const char* kNumberLabel = "Nummer:";
constexpr const char* kApplicationLabel = "Anwendung:";
constexpr const char* kBrowse = "Durchsuchen";
constexpr const char* kAddNumber = "Nummer hinzufügen";
constexpr const char* kAddApplication = "Anwendung hinzufügen";
constexpr const char* kCancel = "Abbrechen";
constexpr const char* kOpenFilter = "Anwendungen|*.exe|Alle Dateien|*.*";
constexpr const char* kOpenExtension = "exe";
constexpr const char* kFileMissing = "Die angegebene Datei konnte nicht gefunden werden!";
constexpr const char* kFileMissingCaption = "Datei nicht gefunden";
// The bar separates the fields of an allow entry.
constexpr const char* kNameHasBar = "Der Name darf kein | enthalten.";
constexpr const char* kNameHasBarCaption = "Ungültiger Name";

} // namespace vur::configurator::texts
