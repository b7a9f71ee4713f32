// A program that loads rasapi32.dll two seconds after its start and stays running, for the monitor's tests.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(2000);
    LoadLibraryA("rasapi32.dll");
    Sleep(60000);
    return 0;
}
