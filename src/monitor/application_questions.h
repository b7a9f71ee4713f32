// The application watch's questions, letter for letter; P is the program's path, A the heuristic result.
#pragma once

#include <string>

namespace vurmon::questions {

inline std::string D1(const std::string& path) {
    return "Die Anwendung " + path + " ist ein 0190 Dialer! Möchtest Du den Dialer erlauben?";
}
const char* const kD1Caption = "0190 DIALER ENTDECKT!!";
const char* const kD2 = "Möchtest Du den Dialer aus dem Speicher entfernen?";
const char* const kD2Caption = "0190 Dialer beenden?";
const char* const kD3 = "Möchtest Du den Dialer isolieren damit er keinen Schaden mehr anrichten kann?";
const char* const kD3Caption = "0190 Dialer isolieren?";

inline std::string S1(const std::string& path, const std::string& analysis) {
    return "Es wurde eine verdächtige Anwendung " + path +
           " entdeckt. Die Analyse ergab dabei folgendes Ergebnis: " + analysis +
           ". Möchtest Du die verdächtige Anwendung erlauben?";
}
const char* const kS1Caption = "Verdächtige Anwendung entdeckt";
const char* const kS2 = "Möchtest Du die verdächtige Anwendung beenden?";
const char* const kS2Caption = "Verdächtige Anwendung beenden?";
const char* const kS3 = "Möchtest Du die verdächtige Datei isolieren damit sie keinen Schaden mehr anrichten kann?";
const char* const kS3Caption = "Verdächtige Datei isolieren?";

inline std::string N1(const std::string& path) {
    return "Es wurde eine neue Anwendung " + path +
           " entdeckt, die prinzipiell eine Nummer wählen kann. Die neue Anwendung ist aber wahrscheinlich kein "
           "Dialer. Möchtest Du die neue Anwendung erlauben?";
}
const char* const kN1Caption = "Neue Anwendung entdeckt";
const char* const kN2 = "Möchtest Sie die neue Anwendung beenden?";
const char* const kN2Caption = "Neue Anwendung beenden?";

// MB_YESNO | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST; only IDYES counts as Yes.
constexpr unsigned kQuestionFlags = 0x50014;
constexpr int kAnswerYes = 6;

} // namespace vurmon::questions
