// The start center's five tiles, top to bottom: texts, picture resource and what each starts.
#pragma once

namespace vur::startcenter {

struct TileSpec {
    const char* name; // the tile panel's component name
    const char* title;
    const char* description;
    const char* picture; // RCDATA resource name
    const char* path;    // relative to the program folder
};

constexpr TileSpec kTiles[] = {
    {"Panel12", "Nach Dialern scannen",
     "Mit dieser Funktionen kannst Du Deine Datenträger und Festplatten, aber auch Dein Netzwerk auf Dialerbefall "
     "hin untersuchen und entsprechend reinigen.",
     "TILE_SCANNER", "scanner.exe"},
    {"Panel8", "Einstellungen bearbeiten",
     "Hier kannst Du einfach und bequem alle Einstellungen von VUR 3.5 kontrollieren und ändern, sowie Verbindungen "
     "oder Anwendungen freigeben.",
     "TILE_CONFIG", "config.exe"},
    {"Panel9", "Quarantäne",
     "Diese Funktion ermöglicht Dir, alle von VUR gefundenen Dialer zu isolieren und zu verwalten.",
     "TILE_QUARANTINE", "vault.exe"},
    {"Panel10", "Ich brauche Hilfe",
     "Hier findest Du kompetente Hilfe und Anleitung zum effektiven Einsatz und zur richtigen Bedienung von VUR 3.5.",
     "TILE_HELP", "hilfe\\index.htm"},
    {"Panel11", "VUR updaten",
     "Diese Funktion ermöglicht Dir, Dein VUR 3.5 auf den neuesten Stand zu bringen und Signaturen zur "
     "Dialer-Erkennung herunterzuladen.",
     "TILE_UPDATE", "update.exe"},
};

} // namespace vur::startcenter
