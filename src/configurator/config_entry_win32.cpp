// config.exe: the configurator's program entry.
#include <windows.h>

#include "configurator/config_texts.h"
#include "configurator/main_form_win32.h"
#include "shared/ui/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return vur::ui::RunProgram<vur::configurator::TKonfigurator>(vur::configurator::texts::kApplicationTitle);
}
