// TForm1: adds one allowed application, keyed by its lower-cased long path and recognised by its checksum.
#pragma once

#include "configurator/add_dialog_win32.h"
#include "configurator/rule_editor.h"

namespace vur::configurator {

class TForm1 : public AddDialog {
public:
    explicit TForm1(RowList& applications) : AnwListe(applications) {}
    void FormCreate(ui::Window& owner);

private:
    void Button1Click() override;
    void SpeedButton1Click();
    RowList& AnwListe;
    ui::Button SpeedButton1; // "Durchsuchen"
};

} // namespace vur::configurator
