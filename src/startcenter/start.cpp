// start.exe: the start center's program entry.
#include <windows.h>

#include <exception>

#include "shared/ui/application.h"
#include "startcenter/main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        vur::ui::InitApplication("VUR 3.5 Startcenter");
        vur::startcenter::TStartcenter form;
        form.FormCreate();
        return vur::ui::RunMessageLoop(form);
    } catch (const std::exception& e) {
        // Only a window that cannot be created at all gets here.
        vur::ui::ShowErrorBox(e.what());
        return 1;
    }
}
