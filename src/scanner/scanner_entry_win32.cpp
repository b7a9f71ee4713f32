// scanner.exe: the scanner's program entry.
#include <windows.h>

#include "scanner/main_form_win32.h"
#include "shared/ui/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return vur::ui::RunProgram<vur::scanner::TScan>(vur::scanner::kScannerTitle);
}
