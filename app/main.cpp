#include <windows.h>

#include "app/ini_settings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Until the main window exists the program only reads its settings.
    CINI settings;
    return 0;
}
