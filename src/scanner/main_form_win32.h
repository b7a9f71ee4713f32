// TScan: the scanner's window. The user picks a folder or all drives, sets the options kept in section
// "Scanner", starts and cancels runs, and reads, clears and saves the colour-coded report.
#pragma once

#include <memory>
#include <string>

#include "scanner/folder_tree_win32.h"
#include "scanner/scan_host.h"
#include "scanner/scan_run.h"
#include "shared/securityunit.h"
#include "shared/settings_schema.h"
#include "shared/ui/controls.h"
#include "shared/ui/heading.h"
#include "shared/ui/rich_text.h"
#include "shared/ui/window.h"

namespace vur::scanner {

// The application title and the window caption.
constexpr const char* kScannerTitle = "VUR 3.5 Scannermodul";

class TScan : public ui::Window, private ScanHost {
public:
    TScan();
    ~TScan() override;

    // Creates the window with every component, reads the options, loads the signatures.
    void FormCreate();

private:
    void CreateComponents();
    bool ReadOption(const schema::BoolSetting& setting);
    void FormDestroy();
    bool FormCloseQuery();
    void CheckBox2Click();
    void CheckBox3Click();
    void ScanAllClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Label3Click();

    // ScanHost: the run's view of this window, the engines, the quarantine and the file system.
    void AddReportLine(const std::string& text, Colour colour) override;
    void SetStatus(const std::string& folder) override;
    void ClearStatus() override;
    bool Ask(const std::string& text) override;
    void ProcessMessages() override;
    void SetRunning(bool running) override;
    bool MayContinue() override;
    ScanOptions Options() override;
    bool HasSelectedFolder() override;
    std::string SelectedFolderPath() override;
    std::string ScanDialers(const std::string& path, std::uint32_t& readError) override;
    std::string CheckHeuristically(const std::string& path) override;
    bool IsolateFile(const std::string& path, const std::string& reason) override;
    std::string ProgramFolder() override;
    ScanFileSystem& FileSystem() override;

    std::unique_ptr<TSECURITYINI> settings_;
    int Tag = 0; // the created flag: 1 once start-up is done
    ScanRun run_;
    bool running_ = false;
    bool closeRequested_ = false;

    ui::Heading Panel1;
    ShellFolderTree Auswahl;
    ui::Label Label5;
    ui::CheckBox CheckBox2; // "Dialer nur melden"
    ui::CheckBox CheckBox1; // "Gefundene Dialer automatisch isolieren"
    ui::CheckBox CheckBox3; // "Heuristik während des Scans aktivieren"
    ui::Button Button1;     // "Scannen"
    ui::Button Button2;     // "Abbrechen"
    ui::Button Button3;     // "Report löschen"
    ui::Button Button4;     // "Report speichern"
    ui::CheckBox ScanAll;
    ui::RichText Report;
    ui::Label Label6; // status line
    ui::LinkLabel Label3; // help link
};

} // namespace vur::scanner
