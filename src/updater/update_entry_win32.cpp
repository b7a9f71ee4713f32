// update.exe: the updater's program entry.
#include <windows.h>

#include "shared/ui/application.h"
#include "updater/main_form_win32.h"
#include "updater/update_texts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return vur::ui::RunProgram<vur::updater::TUpdater>(vur::updater::texts::kTitle);
}
