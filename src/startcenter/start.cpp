// start.exe: the start center's program entry.
#include <windows.h>

#include "shared/ui/application.h"
#include "startcenter/main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return vur::ui::RunProgram<vur::startcenter::TStartcenter>("VUR 3.5 Startcenter");
}
