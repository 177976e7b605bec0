#include <windows.h>

#include "app/AppMain.h"

// The command line is read by LumigrabMain, in the system's own wide form.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int showCmd)
{
    return LumigrabMain(hInstance, showCmd);
}
