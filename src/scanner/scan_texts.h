// The scan run's report lines and questions, letter for letter.
#pragma once

namespace vur::scanner::texts {

const char* const kScanAllDrives = "Scanne alle verfügbaren Laufwerke";
const char* const kScanFolder = "Scanne das Verzeichnis ";
const char* const kFilesScanned = "Gescannte Dateien:\t\t";
const char* const kDialersFound = "Gefundene Dialer:\t\t";
const char* const kSuspiciousFiles = "Verdächtige Dateien:\t";
const char* const kUncheckedFiles = "Nicht prüfbare Dateien:\t";
const char* const kRunFinished = "Scanvorgang erfolgreich abgeschlossen.";
const char* const kFound = " - Gefunden: ";
const char* const kSuspicious = " - Verdächtig: ";
const char* const kDialerIsolated = "Dialer erfolgreich isoliert.";
const char* const kDialerNotIsolated = "Dialer NICHT erfolgreich isoliert.";
const char* const kFileIsolated = "Datei erfolgreich isoliert.";
const char* const kFileNotIsolated = "Datei NICHT erfolgreich isoliert.";
const char* const kAskDialerStart = "Es wurde ein Dialer in der Datei \"";
const char* const kAskDialerEnd = "\" gefunden. Soll er isoliert werden?";
const char* const kAskSuspiciousStart = "Es wurde eine verdächtige Datei \"";
const char* const kAskSuspiciousMiddle = "\" gefunden. Die Analyse ergab folgendes Ergebnis: ";
const char* const kAskSuspiciousEnd = ". Soll die Datei isoliert werden?";
const char* const kSignaturesLoaded = " Dialersignaturen geladen.";

// A file or folder the run could not check, and why.
const char* const kFileNotChecked = "Datei konnte nicht geprüft werden: ";
const char* const kFolderNotChecked = "Ordner konnte nicht geprüft werden: ";
const char* const kReasonLocked = "gesperrt";
const char* const kReasonDenied = "Zugriff verweigert";
const char* const kReasonTooLong = "Pfad zu lang";
const char* const kReasonDevice = "Gerätename";
const char* const kReasonNameNotRepresentable = "Name im Zeichensatz nicht darstellbar";
const char* const kReasonGone = "nicht mehr vorhanden";
const char* const kReasonReadError = "Lesefehler ";  // followed by the system's error code

} // namespace vur::scanner::texts
