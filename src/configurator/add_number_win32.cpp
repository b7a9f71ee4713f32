// The add-number dialog.
#include "configurator/add_number_win32.h"

#include "configurator/config_texts.h"

namespace vur::configurator {

void TForm2::FormCreate(ui::Window& owner) {
    CreateFields(owner, texts::kAddNumberCaption, texts::kNumberLabel, texts::kAddNumber, 402);
}

void TForm2::Button1Click() {
    const AddOutcome outcome = AddNumber(VerbListe, Edit2.Text(), Edit1.Text());
    if (outcome.text) MessageBoxA(hwnd(), outcome.text, outcome.caption, MB_OK | MB_ICONEXCLAMATION);
    if (outcome.added) Close();
}

} // namespace vur::configurator
