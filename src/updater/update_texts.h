// The updater's texts: window, status lines and messages.
#pragma once

namespace vur::updater::texts {

constexpr const char* kTitle = "VUR 3.5 Updater";
constexpr const char* kHeadingTitle = "VUR 3.5 updaten";
constexpr const char* kHeadingText = "Halte Dein VUR mit diesem Tool aktuell.";
constexpr const char* kButton = "VUR jetzt updaten";
constexpr const char* kExplanation =
    "Um jetzt automatisch alle für VUR 3.5 verfügbaren Updates herunter zu laden klicke einfach auf \"VUR jetzt "
    "updaten\". Während des Updatevorgangs werden keine system- oder personenspezifische Daten übertragen.";

constexpr const char* kReceiving = "Empfange Updatedaten ...";
constexpr const char* kLoadingBefore = "Lade ";
constexpr const char* kLoadingAfter = " ...";

constexpr const char* kUnreachable =
    "Der Update Server konnte nicht erreicht werden. Dies kann mehrere Ursachen haben. Du wirst deshalb auf die "
    "Update Seite der VUR Homepage weitergeleitet und kannst dann die Updates manuell einspielen.";
constexpr const char* kUnreachableCaption = "Updateserver nicht erreichbar";
constexpr const char* kDownloadFailedBefore = "Fehler beim Download von ";
constexpr const char* kDownloadFailedCaption = "Verbindungsfehler";
constexpr const char* kCorruptAfter = " wurde fehlerhaft übertragen.";
constexpr const char* kCorruptCaption = "CRC Fehler";
constexpr const char* kDoneCaption = "Update abgeschlossen";
constexpr const char* kNothingNew = "Es wurden keine neuen Updates gefunden.";
constexpr const char* kInstalledBefore = "Es wurde(n) ";
constexpr const char* kInstalledAfter = " neue(s) Update(s) installiert.";
constexpr const char* kRestart = " Um den Updatevorgang abzuschließen musst Du Deinen PC neu starten.";
// Our own: what was not put in place is counted apart, so a failure never reads as an installation.
constexpr const char* kNotInstalledAfter = " Update(s) konnten nicht installiert werden.";

// Our own: a listed name that leaves the program folder, and a file in use that cannot even be scheduled.
constexpr const char* kRefusedBefore = "Der Eintrag \"";
constexpr const char* kRefusedAfter = "\" der Updateliste wird nicht übernommen. ";
constexpr const char* kRefusedCaption = "Ungültige Updateliste";
constexpr const char* kNotReplacedAfter =
    " konnte nicht ersetzt werden, weil die Datei gerade benutzt wird. Beende VUR und starte das Update erneut.";
constexpr const char* kNotReplacedCaption = "Update nicht möglich";

// Our own: signatures. A list that is not validly signed, or older than the last one installed, is refused
// before any entry is read; a listed file that the signed manifest does not name, or whose download is not
// the file it names, is not put in place.
constexpr const char* kListUnsigned =
    "Die Updateliste des Update Servers ist nicht gültig signiert und wird nicht verwendet. Es wurde nichts "
    "installiert. Vielleicht wurde die Verbindung manipuliert; versuche es später noch einmal.";
constexpr const char* kListOlderBefore = "Die Updateliste des Update Servers ist älter als die zuletzt installierte (Nummer ";
constexpr const char* kListOlderMiddle = ", installiert ist Nummer ";
constexpr const char* kListOlderAfter = "). Sie wird nicht verwendet, es wurde nichts installiert.";
constexpr const char* kListRefusedCaption = "Updateliste abgelehnt";
constexpr const char* kSignatureBefore = "Die Signatur von ";
constexpr const char* kSignatureAfter = " fehlt oder ist ungültig. Die Datei wurde nicht ersetzt.";
constexpr const char* kSignatureCaption = "Signaturfehler";
constexpr const char* kMismatchAfter =
    " stimmt nicht mit der signierten Updateliste überein. Die Datei wurde nicht ersetzt.";

// Our own: a download that cannot be written ends the run; its file is removed.
constexpr const char* kDiskFullBefore = "Auf Laufwerk ";
constexpr const char* kDiskFullMiddle = " ist nicht genug Platz frei. Die Datei ";
constexpr const char* kDiskFullAfter = " konnte nicht geschrieben werden, das Update wurde abgebrochen.";
constexpr const char* kWriteFailedBefore = "Die Datei ";
constexpr const char* kWriteFailedMiddle = " konnte nicht geschrieben werden (Fehler ";
constexpr const char* kWriteFailedAfter = "). Das Update wurde abgebrochen.";

} // namespace vur::updater::texts
