; The setup program of VUR 3.5 and its uninstaller. cmake/Setup.cmake builds it from a dist folder:
;   makensis -INPUTCHARSET UTF8 -DDIST=... -DFILES=... -DOUTFILE=... -DARCH=x86|x64 -DICON=... vur.nsi
;   (BITMAP: the picture of the welcome and finish pages; TITLE_SUFFIX, after the window titles: a test build
;   says so there)
; FILES is the generated list of dist's files (macros VUR_INSTALL_FILES and VUR_REMOVE_FILES), so that the
; uninstaller removes exactly what was installed.
!ifndef DIST | FILES | OUTFILE | ARCH | ICON | BITMAP | TITLE_SUFFIX
  !error "DIST, FILES, OUTFILE, ARCH, ICON, BITMAP and TITLE_SUFFIX must be defined"
!endif

!if "${ARCH}" == "x64"
  Unicode true
  Target amd64-unicode
!else
  ; ANSI, so that the setup program runs on Windows 95, 98 and NT 4, as the suite does.
  Unicode false
  Target x86-ansi
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include /CHARSET=UTF8 "${FILES}"

!define PRODUCT "VUR 3.5"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VUR 3.5"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "VUR starten"
!define MENU_FOLDER "$SMPROGRAMS\VUR 3.5"

Name "${PRODUCT}"
Caption "${PRODUCT} Setup${TITLE_SUFFIX}"
UninstallCaption "${PRODUCT} entfernen${TITLE_SUFFIX}"
BrandingText "${PRODUCT} – Dialer-Schutz"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\VUR"
!else
  InstallDir "$PROGRAMFILES\VUR"
!endif
; A new setup over an older one goes into the same folder.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "3.5.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1031 "FileVersion" "3.5"
VIAddVersionKey /LANG=1031 "ProductVersion" "3.5"
VIAddVersionKey /LANG=1031 "LegalCopyright" "${PRODUCT}"

; The suite says "Du" to its users; the pages' own texts do too, not only the language file's defaults.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${BITMAP}"
!define MUI_ABORTWARNING
!define MUI_ABORTWARNING_TEXT "Willst Du die Installation von VUR 3.5 wirklich abbrechen?"
!define MUI_UNABORTWARNING
!define MUI_UNABORTWARNING_TEXT "Willst Du das Entfernen von VUR 3.5 wirklich abbrechen?"

!define MUI_WELCOMEPAGE_TITLE "Willkommen zur Installation$\r$\nvon VUR 3.5"
!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent richtet VUR 3.5 auf Deinem Rechner ein. VUR schützt Dich vor Dialern: Programmen, die heimlich teure Einwahlverbindungen aufbauen.$\r$\n$\r$\nBeende bitte alle anderen Programme, bevor Du fortfährst.$\r$\n$\r$\nKlicke auf Weiter, um fortzufahren."
!insertmacro MUI_PAGE_WELCOME

!define MUI_PAGE_HEADER_TEXT "Programmordner wählen"
!define MUI_PAGE_HEADER_SUBTEXT "Wähle den Ordner, in den VUR 3.5 installiert werden soll."
!define MUI_DIRECTORYPAGE_TEXT_TOP "VUR 3.5 wird in den folgenden Ordner installiert. Um einen anderen Ordner zu wählen, klicke auf Durchsuchen. Klicke auf Weiter, um fortzufahren."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Programmordner"
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "Einrichtung wählen"
!define MUI_PAGE_HEADER_SUBTEXT "Wähle, wie VUR 3.5 eingerichtet werden soll."
!define MUI_COMPONENTSPAGE_TEXT_TOP "Wähle aus, was eingerichtet werden soll. Klicke auf Installieren, um die Installation zu starten."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Einrichten:"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS

!define MUI_PAGE_HEADER_TEXT "VUR 3.5 wird installiert"
!define MUI_PAGE_HEADER_SUBTEXT "Bitte warte, bis VUR 3.5 installiert ist."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Installation abgeschlossen"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "VUR 3.5 ist eingerichtet."
!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TITLE "VUR 3.5 ist installiert"
!define MUI_FINISHPAGE_TEXT "VUR 3.5 ist jetzt auf Deinem Rechner eingerichtet. Du erreichst alle Programme über das Startmenü und das Startcenter.$\r$\n$\r$\nKlicke auf Fertigstellen, um den Assistenten zu beenden."
!define MUI_FINISHPAGE_RUN "$INSTDIR\fast.exe"
!define MUI_FINISHPAGE_RUN_TEXT "VUR-Wächter jetzt starten"
!insertmacro MUI_PAGE_FINISH

!define MUI_PAGE_HEADER_TEXT "VUR 3.5 entfernen"
!define MUI_PAGE_HEADER_SUBTEXT "VUR 3.5 wird von Deinem Rechner entfernt."
!define MUI_UNCONFIRMPAGE_TEXT_TOP "VUR 3.5 wird aus dem folgenden Ordner entfernt. Klicke auf Deinstallieren, um fortzufahren."
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "Programmordner:"
!insertmacro MUI_UNPAGE_CONFIRM

!define MUI_PAGE_HEADER_TEXT "VUR 3.5 wird entfernt"
!define MUI_PAGE_HEADER_SUBTEXT "Bitte warte, bis VUR 3.5 entfernt ist."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "VUR 3.5 ist entfernt"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "Das Entfernen ist abgeschlossen."
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"
; The language file's messages for a file that cannot be written, in the suite's "Du".
LangString ^FileError ${LANG_GERMAN} "Die Datei kann nicht geschrieben werden:$\r$\n$\t$\"$0$\"$\r$\nKlicke auf Abbrechen, um abzubrechen,$\r$\nauf Wiederholen, um es noch einmal zu versuchen,$\r$\noder auf Ignorieren, um diese Datei zu überspringen."
LangString ^FileError_NoIgnore ${LANG_GERMAN} "Die Datei kann nicht geschrieben werden:$\r$\n$\t$\"$0$\"$\r$\nKlicke auf Wiederholen, um es noch einmal zu versuchen,$\r$\noder auf Abbrechen, um die Installation zu beenden."

; A running monitor holds watch.dll: the folder's hosts are ended after a question (in a silent run without
; one). $R9 is 1 afterwards when a monitor was running and has been ended.
!macro END_MONITOR CONSEQUENCE
  StrCpy $R9 0
  ${If} ${FileExists} "$INSTDIR\vurconf.exe"
    nsExec::Exec '"$INSTDIR\vurconf.exe" stop-monitor --list "$INSTDIR"'
    Pop $0
    ${If} $0 == 1
    ${AndIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "Der VUR-Wächter läuft noch. Soll er jetzt beendet werden?$\r$\n$\r$\n${CONSEQUENCE}" /SD IDYES IDYES`
      nsExec::Exec '"$INSTDIR\vurconf.exe" stop-monitor "$INSTDIR"'
      Pop $0
      StrCpy $R9 1
    ${EndIf}
  ${EndIf}
!macroend

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "-VUR 3.5" SecProgram
  ; Over an earlier installation: its monitor is ended first, and started again at the end.
  !insertmacro END_MONITOR "Wenn nicht, können seine Dateien nicht ersetzt werden."
  StrCpy $R8 $R9
  SetOutPath "$INSTDIR"
  !insertmacro VUR_INSTALL_FILES
  CreateDirectory "$INSTDIR\quarantäne"
  CreateDirectory "$INSTDIR\signaturen"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} – Dialer-Schutz"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "3.5"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\start.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "VUR beim Start von Windows aktivieren" SecAutoStart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\fast.exe"'
SectionEnd

Section "Einträge im Startmenü" SecMenu
  CreateDirectory "${MENU_FOLDER}"
  CreateShortCut "${MENU_FOLDER}\VUR Startcenter.lnk" "$INSTDIR\start.exe"
  CreateShortCut "${MENU_FOLDER}\VUR-Wächter starten.lnk" "$INSTDIR\fast.exe"
  CreateShortCut "${MENU_FOLDER}\Nach Dialern scannen.lnk" "$INSTDIR\scanner.exe"
  CreateShortCut "${MENU_FOLDER}\Einstellungen bearbeiten.lnk" "$INSTDIR\config.exe"
  CreateShortCut "${MENU_FOLDER}\Quarantäne.lnk" "$INSTDIR\vault.exe"
  CreateShortCut "${MENU_FOLDER}\VUR updaten.lnk" "$INSTDIR\update.exe"
  CreateShortCut "${MENU_FOLDER}\Hilfe.lnk" "$INSTDIR\hilfe\index.htm"
  CreateShortCut "${MENU_FOLDER}\VUR entfernen.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

; The settings file says what the page chose, so that the monitor and the configurator agree with the Run
; value: "AutoStart" 0 starts with Windows, 1 by hand. A file kept from an earlier installation keeps the
; rest of its rules.
Section "-Einstellungen"
  ${If} ${SectionIsSelected} ${SecAutoStart}
    StrCpy $0 0
  ${Else}
    StrCpy $0 1
  ${EndIf}
  nsExec::Exec '"$INSTDIR\vurconf.exe" set "$INSTDIR\vur.conf" Generell AutoStart $0'
  Pop $1
  ${If} $1 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Die Einstellung für den Start mit Windows konnte nicht in vur.conf geschrieben werden. Stelle sie bitte im Konfigurator ein." /SD IDOK
  ${EndIf}
  ; A monitor ended for the update runs again; the finish page of an interactive run offers it anyway.
  ${If} $R8 == 1
  ${AndIf} ${Silent}
    Exec '"$INSTDIR\fast.exe"'
  ${EndIf}
SectionEnd

; Over an earlier installation the page starts from its settings file: "AutoStart" 1 means "start by hand",
; and a silent update keeps that.
Function .onInit
  SetShellVarContext all
  ${If} ${FileExists} "$INSTDIR\vur.conf"
  ${AndIf} ${FileExists} "$INSTDIR\vurconf.exe"
    nsExec::ExecToStack '"$INSTDIR\vurconf.exe" get "$INSTDIR\vur.conf" Generell AutoStart'
    Pop $0
    Pop $1
    StrCpy $1 $1 1
    ${If} $0 == 0
    ${AndIf} $1 == 1
      !insertmacro UnselectSection ${SecAutoStart}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro END_MONITOR "Wenn nicht, werden seine Dateien erst beim nächsten Neustart von Windows entfernt."

  !insertmacro VUR_REMOVE_FILES
  ; What updates and the updater may have added beside the installed files.
  Delete /REBOOTOK "$INSTDIR\signaturen\*.dat"
  Delete "$INSTDIR\*update.tmp"
  Delete "$INSTDIR\updates.dat"
  Delete "$INSTDIR\update.dat"
  Delete "$INSTDIR\uninstall.exe"

  MessageBox MB_YESNO|MB_ICONQUESTION "Sollen Deine Einstellungen (vur.conf) und die Dateien in der Quarantäne erhalten bleiben?$\r$\n$\r$\nWähle Nein, um auch sie zu löschen." /SD IDYES IDYES keep_data
    Delete "$INSTDIR\vur.conf"
    Delete "$INSTDIR\quarantäne\*.*"
  keep_data:
  RMDir "$INSTDIR\quarantäne"
  RMDir "$INSTDIR\signaturen"
  RMDir "$INSTDIR\hilfe"
  RMDir /REBOOTOK "$INSTDIR"

  Delete "${MENU_FOLDER}\*.lnk"
  RMDir "${MENU_FOLDER}"
  ; Only the value that starts this folder's monitor.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\fast.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  IfRebootFlag 0 +2
    MessageBox MB_OK|MB_ICONINFORMATION "Einige Dateien von VUR sind noch in Gebrauch. Sie werden beim nächsten Neustart von Windows entfernt." /SD IDOK
SectionEnd
