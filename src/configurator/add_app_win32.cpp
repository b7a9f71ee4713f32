// The add-application dialog.
#include "configurator/add_app_win32.h"

#include "configurator/config_texts.h"
#include "configurator/editor_seams_win32.h"
#include "shared/ui/file_dialogs.h"

namespace vur::configurator {

void TForm1::FormCreate(ui::Window& owner) {
    CreateFields(owner, texts::kAddApplicationCaption, texts::kApplicationLabel, texts::kAddApplication, 318);
    SpeedButton1.Create(*this, texts::kBrowse, 414, kSecondLineTop - 1, 76, 23);
    SpeedButton1.onClick = [this] { SpeedButton1Click(); };
}

void TForm1::SpeedButton1Click() {
    const std::string chosen = ui::AskOpenFileName(hwnd(), texts::kOpenFilter, texts::kOpenExtension);
    if (!chosen.empty()) Edit1.SetText(chosen);
}

// The missing file's box keeps to the original's plain look: no icon.
void TForm1::Button1Click() {
    WindowsApplicationFiles files;
    const AddOutcome outcome = AddApplication(AnwListe, Edit2.Text(), Edit1.Text(), files);
    if (outcome.text)
        MessageBoxA(hwnd(), outcome.text, outcome.caption,
                    outcome.text == texts::kFileMissing ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
    if (outcome.added) Close();
}

} // namespace vur::configurator
