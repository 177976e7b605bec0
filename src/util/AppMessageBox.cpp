#include "util/AppMessageBox.h"

#include "res/resource.h"

int AppMessageBox(HWND hOwner, UINT id, UINT style)
{
    char szText[128] = {};
    char szCaption[64] = {};
    HINSTANCE hModule = ::GetModuleHandleA(nullptr);
    ::LoadStringA(hModule, id, szText, sizeof szText);
    ::LoadStringA(hModule, IDR_MAINFRAME, szCaption, sizeof szCaption);
    return ::MessageBoxA(hOwner, szText, szCaption, style);
}
