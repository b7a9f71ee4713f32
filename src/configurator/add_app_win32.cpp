// The add-application dialog.
#include "configurator/add_app_win32.h"

#include "configurator/config_texts.h"
#include "shared/crc.h"
#include "shared/long_path.h"
#include "shared/text_case.h"
#include "shared/ui/file_dialogs.h"

namespace vur::configurator {

namespace {
bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

void TForm1::FormCreate(ui::Window& owner) {
    CreateFields(owner, texts::kAddApplicationCaption, texts::kApplicationLabel, texts::kAddApplication, 318);
    SpeedButton1.Create(*this, texts::kBrowse, 414, kSecondLineTop - 1, 76, 23);
    SpeedButton1.onClick = [this] { SpeedButton1Click(); };
}

void TForm1::SpeedButton1Click() {
    const std::string chosen = ui::AskOpenFileName(hwnd(), texts::kOpenFilter, texts::kOpenExtension);
    if (!chosen.empty()) Edit1.SetText(chosen);
}

// The key is the path as the monitor composes it for the running program: every component long, all lower
// case; the checksum is the one it compares.
void TForm1::Button1Click() {
    if (!FileExists(Edit1.Text())) {
        MessageBoxA(hwnd(), texts::kFileMissing, texts::kFileMissingCaption, MB_OK);
        return;
    }
    const std::string path = LowerCp1252(ExpandLongPath(Edit1.Text()));
    Edit1.SetText(path);
    AnwListe.Append(Row{Edit2.Text(), {path, CrcText(FileCRC32(path, kCrcInitial))}});
    Close();
}

} // namespace vur::configurator
