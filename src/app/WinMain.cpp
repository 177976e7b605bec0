#include <windows.h>

#include "app/AppMain.h"

// The command line is ignored.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int showCmd)
{
    return LumigrabMain(hInstance, showCmd);
}
