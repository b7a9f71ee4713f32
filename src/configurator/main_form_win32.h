// TKonfigurator: the configurator's window. The user sets the monitor's reactions and its start with Windows
// on the first page and keeps the lists of allowed numbers and applications on the other two; every change is
// saved at once, and the file is re-read on every page switch.
#pragma once

#include <memory>

#include "configurator/add_app_win32.h"
#include "configurator/add_number_win32.h"
#include "configurator/editor_seams_win32.h"
#include "configurator/rule_editor.h"
#include "shared/securityunit.h"
#include "shared/ui/controls.h"
#include "shared/ui/heading.h"
#include "shared/ui/lists.h"
#include "shared/ui/window.h"

namespace vur::configurator {

class TKonfigurator : public ui::Window {
public:
    TKonfigurator();
    ~TKonfigurator() override;

    // Creates the window with every component, loads the rules, then creates the two add dialogs.
    void FormCreate();

private:
    void CreateComponents();
    void Layout();
    void FitColumns();
    void LoadRules();
    void FormDestroy();
    void PageControl1Change();
    // The in-place edit of a name as it ends; false keeps the old name.
    bool Renamed(RowList& rows, int row, const std::string& caption);
    void Button2Click();
    void Button4Click();
    void Label3Click();

    std::unique_ptr<TSECURITYINI> settings_;

    ui::Heading Panel1;
    ui::TabPages PageControl1;
    ui::Window* TabSheet3 = nullptr; // "Allgemeine Eintellungen"
    ui::Window* TabSheet1 = nullptr; // "Erlaubte Verbindungen"
    ui::Window* TabSheet2 = nullptr; // "Erlaubte Anwendungen"
    // Top to bottom: start with Windows, new number, new application, recognised dialer, suspicious application.
    ui::Frame Frames[5];
    ui::DropDownList ComboBox5, ComboBox2, ComboBox1, ComboBox3, ComboBox4;
    ui::ListView VerbListe;
    ui::Button Button2; // "Hinzufügen"
    ui::Button Button1; // "Entfernen"
    ui::ListView AnwListe;
    ui::Button Button4; // "Hinzufügen"
    ui::Button Button5; // "Entfernen"
    ui::LinkLabel Label3;   // help link

    ListViewRows numberRows_{VerbListe, 1};
    ListViewRows applicationRows_{AnwListe, 2};
    DropDownChoice choice5_{ComboBox5}, choice2_{ComboBox2}, choice1_{ComboBox1}, choice3_{ComboBox3},
        choice4_{ComboBox4};
    RegistryStartValue startValue_;
    std::unique_ptr<RuleEditor> editor_;

    TForm1 Form1{applicationRows_};
    TForm2 Form2{numberRows_};
};

} // namespace vur::configurator
