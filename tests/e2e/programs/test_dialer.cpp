// A harmless program that carries the dialer test marker and stays running, for the monitor's e2e tests.
#include <windows.h>

// The engines find this text in the program file.
extern "C" const volatile char kMarker[] = "VUR-TESTDIALER-0190";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(60000 + (kMarker[0] == 'V' ? 0 : 1));
    return 0;
}
