// The application watch's questions, letter for letter, each with the program's path and, for a suspect
// program, the heuristic engine's result.
#pragma once

#include <string>

namespace vur::monitor::questions {

inline std::string AllowDialerQuestion(const std::string& path) {
    return "Die Anwendung " + path + " ist ein 0190 Dialer! Möchtest Du den Dialer erlauben?";
}
const char* const kAllowDialerCaption = "0190 DIALER ENTDECKT!!";
const char* const kTerminateDialerQuestion = "Möchtest Du den Dialer aus dem Speicher entfernen?";
const char* const kTerminateDialerCaption = "0190 Dialer beenden?";
const char* const kIsolateDialerQuestion = "Möchtest Du den Dialer isolieren damit er keinen Schaden mehr anrichten kann?";
const char* const kIsolateDialerCaption = "0190 Dialer isolieren?";

inline std::string AllowSuspectQuestion(const std::string& path, const std::string& analysis) {
    return "Es wurde eine verdächtige Anwendung " + path +
           " entdeckt. Die Analyse ergab dabei folgendes Ergebnis: " + analysis +
           ". Möchtest Du die verdächtige Anwendung erlauben?";
}
const char* const kAllowSuspectCaption = "Verdächtige Anwendung entdeckt";
const char* const kTerminateSuspectQuestion = "Möchtest Du die verdächtige Anwendung beenden?";
const char* const kTerminateSuspectCaption = "Verdächtige Anwendung beenden?";
const char* const kIsolateSuspectQuestion = "Möchtest Du die verdächtige Datei isolieren damit sie keinen Schaden mehr anrichten kann?";
const char* const kIsolateSuspectCaption = "Verdächtige Datei isolieren?";

inline std::string AllowNewProgramQuestion(const std::string& path) {
    return "Es wurde eine neue Anwendung " + path +
           " entdeckt, die prinzipiell eine Nummer wählen kann. Die neue Anwendung ist aber wahrscheinlich kein "
           "Dialer. Möchtest Du die neue Anwendung erlauben?";
}
const char* const kAllowNewProgramCaption = "Neue Anwendung entdeckt";
const char* const kTerminateNewProgramQuestion = "Möchtest Sie die neue Anwendung beenden?";
const char* const kTerminateNewProgramCaption = "Neue Anwendung beenden?";

// MB_YESNO | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST; only IDYES counts as Yes.
constexpr unsigned kQuestionFlags = 0x50014;
constexpr int kAnswerYes = 6;

} // namespace vur::monitor::questions
