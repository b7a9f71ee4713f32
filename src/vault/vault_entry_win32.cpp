// vault.exe: the quarantine manager's program entry.
#include <windows.h>

#include "shared/ui/application.h"
#include "vault/main_form_win32.h"
#include "vault/vault_texts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return vur::ui::RunProgram<vur::vault::TVault>(vur::vault::texts::kApplicationTitle);
}
