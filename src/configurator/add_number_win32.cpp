// The add-number dialog.
#include "configurator/add_number_win32.h"

#include "configurator/config_texts.h"

namespace vur::configurator {

void TForm2::FormCreate(ui::Window& owner) {
    CreateFields(owner, texts::kAddNumberCaption, texts::kNumberLabel, texts::kAddNumber, 402);
}

// The number is kept exactly as typed: the monitor matches it only in its own form.
void TForm2::Button1Click() {
    const std::string name = Edit2.Text(), number = Edit1.Text();
    if (name.empty() || number.empty()) return;
    VerbListe.Append(Row{name, {number}});
    Close();
}

} // namespace vur::configurator
