// The monitor's own messages beyond its questions.
#pragma once

namespace vur::monitor::texts {

const char* const kCaption = "VUR";
// Shown once at start-up when an engine library or one of its entry points is missing; the list follows.
const char* const kEnginesMissing =
    "VUR kann nicht vollständig prüfen, weil Teile der Dialer-Erkennung fehlen oder beschädigt sind:";
const char* const kEnginesMissingAdvice =
    "Die übrigen Prüfungen laufen weiter. Installiere VUR neu oder suche über das Symbol in der Taskleiste "
    "nach Updates.";
// Shown once at start-up when the system offers no process list (NT 4 without psapi.dll).
const char* const kProcessListMissing =
    "VUR kann laufende Programme nicht prüfen, weil Windows weder ToolHelp32 noch psapi.dll bereitstellt.";
const char* const kProcessListMissingAdvice =
    "Die Prüfung der Verbindungen läuft weiter. Unter Windows NT 4 kopiere psapi.dll von Microsoft in den "
    "Systemordner und melde Dich neu an.";

// Shown once when the monitor could not start in the process that won the start; the error follows.
const char* const kStartFailed = "VUR konnte den Schutz nicht starten:";
const char* const kStartFailedAdvice =
    "Ein anderes Programm, das VUR geladen hat, übernimmt den Schutz, sobald es kann. Bis dahin ist dieser "
    "Rechner nicht geschützt. Starte Windows neu; hilft das nicht, installiere VUR neu.";

} // namespace vur::monitor::texts
