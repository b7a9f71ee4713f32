// The monitor's own messages beyond its questions.
#pragma once

namespace vurmon::texts {

const char* const kCaption = "VUR";
// Shown once at start-up when an engine library or one of its entry points is missing; the list follows.
const char* const kEnginesMissing =
    "VUR kann nicht vollständig prüfen, weil Teile der Dialer-Erkennung fehlen oder beschädigt sind:";
const char* const kEnginesMissingAdvice =
    "Die übrigen Prüfungen laufen weiter. Installiere VUR neu oder suche über das Symbol in der Taskleiste "
    "nach Updates.";
const char* const kUnknownError = "Unbekannter Fehler";

} // namespace vurmon::texts
