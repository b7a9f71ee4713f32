// TForm2: adds one allowed number to the connections list of the main window.
#pragma once

#include "configurator/add_dialog_win32.h"
#include "configurator/rule_editor.h"

namespace vur::configurator {

class TForm2 : public AddDialog {
public:
    explicit TForm2(RowList& numbers) : VerbListe(numbers) {}
    void FormCreate(ui::Window& owner);

private:
    void Button1Click() override;
    RowList& VerbListe;
};

} // namespace vur::configurator
